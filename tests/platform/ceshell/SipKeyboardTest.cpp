#include <gtest/gtest.h>

#include "SipKeyboardLayout.h"

using ceshell::SipKeyboardLayout;

TEST(SipKeyboardTest, KeysTileThePanelWithoutGapsOrOverlaps)
{
    const int width = 240, height = 80;
    int covered[SipKeyboardLayout::kRows] = {};
    for (int i = 0; i < SipKeyboardLayout::KeyCount(); ++i) {
        RECT key = SipKeyboardLayout::KeyRect(i, width, height);
        covered[SipKeyboardLayout::Key(i).row] += key.right - key.left;
        POINT middle = {(key.left + key.right) / 2, (key.top + key.bottom) / 2};
        EXPECT_EQ(i, SipKeyboardLayout::KeyAt(middle, width, height)) << "key " << i;
    }
    for (int row = 0; row < SipKeyboardLayout::kRows; ++row)
        EXPECT_EQ(width, covered[row]) << "row " << row;
    EXPECT_EQ(-1, SipKeyboardLayout::KeyAt(POINT{width + 1, 10}, width, height));
    EXPECT_EQ(-1, SipKeyboardLayout::KeyAt(POINT{10, height}, width, height));
}

TEST(SipKeyboardTest, EveryPrintableCharacterHasAKey)
{
    for (wchar_t c = 0x20; c < 0x7F; ++c) {
        bool shifted = false;
        int key = SipKeyboardLayout::KeyFor(c, &shifted);
        EXPECT_GE(key, 0) << "character " << static_cast<int>(c);
        if (c >= L'A' && c <= L'Z') {
            EXPECT_TRUE(shifted);
        } else if (c >= L'a' && c <= L'z') {
            EXPECT_FALSE(shifted);
        }
    }
}

TEST(SipKeyboardTest, OutOfRangeIndexesAreHarmless)
{
    RECT none = SipKeyboardLayout::KeyRect(-1, 240, 80);
    EXPECT_TRUE(IsRectEmpty(&none));
    none = SipKeyboardLayout::KeyRect(SipKeyboardLayout::KeyCount(), 240, 80);
    EXPECT_TRUE(IsRectEmpty(&none));
    EXPECT_EQ(SipKeyboardLayout::Key(0).row, SipKeyboardLayout::Key(100000).row);
}
