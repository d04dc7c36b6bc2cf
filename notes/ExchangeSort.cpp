#include "notes/ExchangeSort.h"

#include <algorithm>
#include <numeric>

namespace {

const size_t kNone = size_t(-1);

// The least key of each range of positions, for the first position from
// a given one whose key is below a threshold.
class KeyTree {
public:
    explicit KeyTree(size_t count)
    {
        while (leaves < count)
            leaves *= 2;
        least.assign(2 * leaves, UINT64_MAX);
    }

    void Set(size_t position, uint64_t key)
    {
        size_t node = leaves + position;
        least[node] = key;
        for (node /= 2; node >= 1; node /= 2)
            least[node] = std::min(least[2 * node], least[2 * node + 1]);
    }

    // Every position's key again, from the items in their order.
    void Rebuild(const std::vector<size_t>& order, const std::vector<uint64_t>& keys)
    {
        for (size_t position = 0; position < order.size(); ++position)
            least[leaves + position] = keys[order[position]];
        for (size_t node = leaves - 1; node >= 1; --node)
            least[node] = std::min(least[2 * node], least[2 * node + 1]);
    }

    size_t FirstBelow(size_t from, uint64_t threshold) const { return FirstBelow(1, 0, leaves, from, threshold); }

private:
    size_t FirstBelow(size_t node, size_t low, size_t high, size_t from, uint64_t threshold) const
    {
        if (high <= from || least[node] >= threshold)
            return kNone;
        if (node >= leaves)
            return low;
        size_t middle = (low + high) / 2;
        size_t found = FirstBelow(2 * node, low, middle, from, threshold);
        return found != kNone ? found : FirstBelow(2 * node + 1, middle, high, from, threshold);
    }

    size_t leaves = 1;
    std::vector<uint64_t> least;
};

// One step of the pass as it is defined; returns how many exchanges it made.
size_t PlainStep(const std::vector<uint64_t>& keys, const std::vector<uint64_t>& thresholds,
                 std::vector<size_t>& order, size_t k)
{
    size_t exchanges = 0;
    for (size_t m = k + 1; m < order.size(); ++m) {
        if (keys[order[m]] < thresholds[order[k]]) {
            std::swap(order[k], order[m]);
            ++exchanges;
        }
    }
    return exchanges;
}

}  // namespace

std::vector<size_t> ExchangeSortOrder(const std::vector<uint64_t>& keys, const std::vector<uint64_t>& thresholds)
{
    size_t count = keys.size();
    std::vector<size_t> order(count);
    std::iota(order.begin(), order.end(), size_t(0));
    if (count < 2)
        return order;

    KeyTree tree(count);
    for (size_t position = 0; position < count; ++position)
        tree.Set(position, keys[position]);
    // How many items of each key are still to be placed: once one key is
    // left, the rest of the pass is known without walking it.
    std::vector<uint64_t> distinct(keys);
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    std::vector<size_t> left(distinct.size(), 0);
    auto rankOf = [&distinct](uint64_t key) {
        return size_t(std::lower_bound(distinct.begin(), distinct.end(), key) - distinct.begin());
    };
    for (uint64_t key : keys)
        ++left[rankOf(key)];
    size_t keysLeft = distinct.size();

    // Each chain item costs the tree about as much as sixty-four
    // comparisons of the plain step: after a long chain (an order turned
    // round) the next step is taken the plain way, and the tree is built
    // again when chains are short once more.
    const size_t kTreeCost = 64;
    size_t lastChain = 0;
    bool treeStale = false;
    std::vector<size_t> chain;
    for (size_t k = 0; k + 1 < count; ++k) {
        if (keysLeft == 1) {
            // Equal keys: the pass leaves them as they are, or, where each
            // exchanges with the next, turns them round.
            size_t item = order[k];
            if (keys[item] < thresholds[item])
                std::reverse(order.begin() + k, order.end());
            return order;
        }
        if (lastChain * kTreeCost > count - k - 1) {
            lastChain = PlainStep(keys, thresholds, order, k);
            treeStale = true;
        } else {
            if (treeStale)
                tree.Rebuild(order, keys);
            treeStale = false;
            chain.clear();
            uint64_t threshold = thresholds[order[k]];
            for (size_t at = tree.FirstBelow(k + 1, threshold); at != kNone; at = tree.FirstBelow(at + 1, threshold)) {
                chain.push_back(at);
                threshold = thresholds[order[at]];
            }
            lastChain = chain.size();
            size_t carried = order[k];
            for (size_t at : chain) {
                std::swap(carried, order[at]);
                tree.Set(at, keys[order[at]]);
            }
            order[k] = carried;
        }
        size_t carried = order[k];
        if (--left[rankOf(keys[carried])] == 0)
            --keysLeft;
    }
    return order;
}
