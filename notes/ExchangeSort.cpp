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

    // Every position's key again.
    void Rebuild(const std::vector<uint64_t>& keys)
    {
        std::copy(keys.begin(), keys.end(), least.begin() + long(leaves));
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

// The items by position, with their keys and thresholds beside them: a
// step reads them in a row.
struct Positions {
    std::vector<size_t> items;
    std::vector<uint64_t> keys;
    std::vector<uint64_t> thresholds;

    // The item at position k is taken into the hand; what is exchanged with
    // it passes through the hand, and what is left there goes back to k.
    struct Hand {
        size_t item;
        uint64_t key, threshold;
    };
    Hand Take(size_t k) const { return {items[k], keys[k], thresholds[k]}; }
    void Exchange(Hand& hand, size_t at)
    {
        std::swap(hand.item, items[at]);
        std::swap(hand.key, keys[at]);
        std::swap(hand.threshold, thresholds[at]);
    }
    void Put(const Hand& hand, size_t k)
    {
        items[k] = hand.item;
        keys[k] = hand.key;
        thresholds[k] = hand.threshold;
    }
};

// One step of the pass as it is defined; returns how many exchanges it made.
size_t PlainStep(Positions& at, size_t k)
{
    size_t exchanges = 0;
    Positions::Hand hand = at.Take(k);
    for (size_t m = k + 1; m < at.items.size(); ++m) {
        if (at.keys[m] < hand.threshold) {
            at.Exchange(hand, m);
            ++exchanges;
        }
    }
    at.Put(hand, k);
    return exchanges;
}

// The pass followed by the chains it moves.
std::vector<size_t> PassOrder(const std::vector<uint64_t>& keys, const std::vector<uint64_t>& thresholds)
{
    size_t count = keys.size();
    Positions at{std::vector<size_t>(count), keys, thresholds};
    std::iota(at.items.begin(), at.items.end(), size_t(0));
    if (count < 2)
        return at.items;

    KeyTree tree(count);
    tree.Rebuild(keys);
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
            if (at.keys[k] < at.thresholds[k])
                std::reverse(at.items.begin() + long(k), at.items.end());
            return at.items;
        }
        if (lastChain * kTreeCost > count - k - 1) {
            lastChain = PlainStep(at, k);
            treeStale = true;
        } else {
            if (treeStale)
                tree.Rebuild(at.keys);
            treeStale = false;
            chain.clear();
            uint64_t threshold = at.thresholds[k];
            for (size_t next = tree.FirstBelow(k + 1, threshold); next != kNone;
                 next = tree.FirstBelow(next + 1, threshold)) {
                chain.push_back(next);
                threshold = at.thresholds[next];
            }
            lastChain = chain.size();
            Positions::Hand hand = at.Take(k);
            for (size_t next : chain) {
                at.Exchange(hand, next);
                tree.Set(next, at.keys[next]);
            }
            at.Put(hand, k);
        }
        if (--left[rankOf(at.keys[k])] == 0)
            --keysLeft;
    }
    return at.items;
}

// The items of the greatest key, when they exchange with their equals and
// no other item's threshold is above that key, take no part in the order
// of the others. No other item exchanges with them. One of them holding a
// position carries along the run of them after it, the others' order
// unchanged, and hands over to the first other item, which is where that
// item's own step would begin. So the others come first, in the order the
// pass gives them alone, and those items follow in their order as given,
// turned round as every such run is. A quarter of the notes never expire,
// and carrying them along was most of the pass's work.
bool StandsApart(const std::vector<uint64_t>& keys, const std::vector<uint64_t>& thresholds, uint64_t top)
{
    bool others = false;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == top ? thresholds[i] <= top : thresholds[i] > top)
            return false;
        others = others || keys[i] != top;
    }
    return others;
}

}  // namespace

std::vector<size_t> ExchangeSortOrder(const std::vector<uint64_t>& keys, const std::vector<uint64_t>& thresholds)
{
    if (keys.size() < 2)
        return PassOrder(keys, thresholds);
    uint64_t top = *std::max_element(keys.begin(), keys.end());
    if (!StandsApart(keys, thresholds, top))
        return PassOrder(keys, thresholds);
    std::vector<size_t> others, tops;
    std::vector<uint64_t> otherKeys, otherThresholds;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == top) {
            tops.push_back(i);
        } else {
            others.push_back(i);
            otherKeys.push_back(keys[i]);
            otherThresholds.push_back(thresholds[i]);
        }
    }
    std::vector<size_t> order;
    order.reserve(keys.size());
    for (size_t placed : PassOrder(otherKeys, otherThresholds))
        order.push_back(others[placed]);
    order.insert(order.end(), tops.rbegin(), tops.rend());
    return order;
}
