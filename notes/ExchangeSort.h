// The order of a plain exchange sort, found without its n²/2 comparisons:
//   for each position k, for each later position m in turn, exchange the
//   items at k and m when the key at m is below the threshold of the item
//   at k (each comparison with the items as they stand by then).
// The list's order is defined by that pass, ties and all, and ten thousand
// notes took it 70 ms. Seen from position k, the pass moves only the items
// that in turn come below the one held at k: each moves one place along
// that chain and the last comes to k. Those chains are found by a search
// tree of the keys. Where the chains grow long, as they do in most orders
// once the pass is under way, steps are taken the plain way. The items of
// the greatest key that exchange only with each other (the notes that never
// expire) are set apart, since they cannot change the others' order.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

// An item whose threshold is its key exchanges only with smaller keys; one
// whose threshold is above its key also with its equals, in turn.
// Returns the items' indices in their new order.
std::vector<size_t> ExchangeSortOrder(const std::vector<uint64_t>& keys, const std::vector<uint64_t>& thresholds);
