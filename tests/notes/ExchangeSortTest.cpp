// The list's order is defined by a plain exchange pass, ties and all. The
// quick pass must give exactly its order: checked against the pass itself,
// written out as defined, on orders with many ties, orders already sorted,
// reversed, and groups whose items exchange with their equals.
#include "notes/ExchangeSort.h"
#include "notes/ExpiryRules.h"
#include "notes/NoteEntryList.h"
#include "notes/NoteSort.h"
#include "tests/support/TestTimes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<size_t> PlainOrder(const std::vector<uint64_t>& keys, const std::vector<uint64_t>& thresholds)
{
    std::vector<size_t> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    for (size_t k = 0; k + 1 < order.size(); ++k) {
        for (size_t m = k + 1; m < order.size(); ++m) {
            if (keys[order[m]] < thresholds[order[k]])
                std::swap(order[k], order[m]);
        }
    }
    return order;
}

// The comparison of the list's rules, entry by entry, as the pass applies it.
bool Exchanges(const NoteEntry& k, const NoteEntry& m, int column, bool descending)
{
    if (column == kSortByTitle) {
        int order = wcscmp(k.title.c_str(), m.title.c_str());
        return descending ? order < 0 : order > 0;
    }
    bool kNever = NeverExpires(k.expiry), mNever = NeverExpires(m.expiry);
    ULONGLONG kTime = TimeKey(k.expiry), mTime = TimeKey(m.expiry);
    if (!descending)
        return kNever || (!mNever && kTime > mTime);
    return mNever || (!kNever && kTime < mTime);
}

}  // namespace

TEST(ExchangeSortTest, GivesThePlainPassOrderWhateverTheKeys)
{
    std::mt19937 random(20261211);
    for (int round = 0; round < 600; ++round) {
        size_t count = 1 + random() % (round < 500 ? 60 : 900);
        uint64_t spread = 1 + random() % 12;   // few keys: many ties
        std::vector<uint64_t> keys(count), thresholds(count);
        for (size_t i = 0; i < count; ++i) {
            keys[i] = random() % spread;
            // Odd keys stand for notes that never expire: each exchanges
            // with its equals.
            thresholds[i] = keys[i] + (keys[i] % 2 == 1 && round % 3 != 0 ? 1 : 0);
        }
        if (round % 5 == 1)
            std::sort(keys.begin(), keys.end());
        if (round % 5 == 2)
            std::sort(keys.rbegin(), keys.rend());   // the chains at their longest
        if (round % 5 == 4)
            std::sort(keys.rbegin(), keys.rbegin() + count / 2);   // long chains, then short ones
        if (round % 5 == 1 || round % 5 == 2 || round % 5 == 4) {
            for (size_t i = 0; i < count; ++i)
                thresholds[i] = keys[i] + (keys[i] % 2 == 1 ? 1 : 0);
        }
        if (round % 7 == 3)
            std::fill(keys.begin(), keys.end(), 5), std::fill(thresholds.begin(), thresholds.end(), 6);
        if (round % 11 == 6) {
            // One item that exchanges with the greatest keys too: they no
            // longer stand apart from the others.
            uint64_t top = *std::max_element(keys.begin(), keys.end());
            size_t i = random() % count;
            if (keys[i] != top)
                thresholds[i] = top + 1;
        }
        ASSERT_EQ(PlainOrder(keys, thresholds), ExchangeSortOrder(keys, thresholds))
            << "round " << round << ", " << count << " items";
    }
}

// The notes' own rules through SortNotes: by time both ways with notes that
// never expire among them (their block then ordered by creation), and by
// title both ways, against the pass over the same entries.
TEST(ExchangeSortTest, SortNotesOrdersAsThePassOverTheEntries)
{
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        NoteEntryList entries;
        for (int n = 0; n < 300; ++n) {
            NoteHead head = {};
            bool never = random() % 4 == 0;
            head.expiry = never ? NeverExpiring() : SYSTEMTIME{2031, 5, 0, WORD(1 + random() % 3), WORD(random() % 3), 0, 0, 0};
            std::wstring title = L"t" + std::to_wstring(random() % 20);
            wcsncpy(head.title, title.c_str(), kTitleLength - 1);
            NoteEntry* e = entries.Append((L"\\n" + std::to_wstring(n)).c_str(), head);
            ASSERT_NE(e, nullptr);
            e->created = SYSTEMTIME{2030, 1, 0, WORD(1 + random() % 2), 0, 0, 0, 0};
        }
        int column = round % 2 == 0 ? kSortByTime : kSortByTitle;
        NoteOrder order;
        order.column = column;
        order.descending = round % 4 < 2 ? 1 : 0;   // the request turns it round
        bool descending = order.descending == 0;

        std::vector<NoteEntry*> expected;
        for (NoteEntry* e = entries.First(); e != nullptr; e = e->next)
            expected.push_back(e);
        for (size_t k = 0; k + 1 < expected.size(); ++k) {
            for (size_t m = k + 1; m < expected.size(); ++m) {
                if (Exchanges(*expected[k], *expected[m], column, descending))
                    std::swap(expected[k], expected[m]);
            }
        }
        if (column == kSortByTime) {
            // The never-expiring block, by creation: newest first at the
            // end, oldest first at the front.
            auto never = [](NoteEntry* e) { return NeverExpires(e->expiry); };
            auto first = descending ? expected.begin() : std::find_if(expected.begin(), expected.end(), never);
            auto last = descending ? std::find_if_not(expected.begin(), expected.end(), never) : expected.end();
            std::stable_sort(first, last, [descending](NoteEntry* a, NoteEntry* b) {
                return descending ? TimeKey(a->created) < TimeKey(b->created) : TimeKey(a->created) > TimeKey(b->created);
            });
        }

        SortNotes(entries, column, &order);
        ASSERT_EQ(order.descending, descending ? 1 : 0);
        std::vector<NoteEntry*> sorted;
        for (NoteEntry* e = entries.First(); e != nullptr; e = e->next)
            sorted.push_back(e);
        ASSERT_EQ(expected, sorted) << "round " << round;
    }
}
