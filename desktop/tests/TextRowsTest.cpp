#include "formats/PageStyle.h"
#include "formats/TextRows.h"

#include <gtest/gtest.h>

namespace {

TEST(TextRowsTest, LinesStepOverEveryRowAnIconReachesInto)
{
    const int top = formats::kPageTopMarginY;  // rows begin below a top margin
    const int pitch = formats::kPageLinePitch;
    const int icon = formats::kInkRecordingIconUnits;
    // Given out of order: one that ends where row 0 begins, two whose rows
    // touch, and one that ends where row 10 begins.
    formats::TextRows rows(top, {top + 5 * pitch, top - icon, top + 3 * pitch + 8,
                                 top + 10 * pitch - icon});
    std::vector<size_t> got;
    for (int i = 0; i < 5; ++i)
        got.push_back(rows.Next());
    EXPECT_EQ(got, (std::vector<size_t>{0, 1, 2, 7, 10}));
}

}  // namespace
