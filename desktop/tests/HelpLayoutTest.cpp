#include "platform/peghelp/src/HelpLayout.h"

#include <gtest/gtest.h>

namespace {

using peghelp::BlockKind;

// Every character one pixel wide; headings 20 rows high, the rest 10.
class OnePixelMeasure : public peghelp::HelpTextMeasure {
public:
    explicit OnePixelMeasure(int width) : width_(width) {}
    void Begin(BlockKind kind, int* lineHeight, int* width) override
    {
        *lineHeight = kind == BlockKind::Heading ? 20 : 10;
        *width = width_;
        ++begun;
    }
    size_t Fit(const wchar_t*, size_t count, int width) override
    {
        return width < 0 ? 0 : std::min(count, static_cast<size_t>(width));
    }
    void End() override { ++ended; }

    int begun = 0;
    int ended = 0;

private:
    int width_;
};

TEST(HelpLayoutTest, BreaksAtSpacesAndCutsWordsWiderThanALine)
{
    OnePixelMeasure measure(10);
    peghelp::HelpLayout layout;
    layout.Build(measure, {{BlockKind::Heading, L"Title"}, {BlockKind::Paragraph, L"  one two three  abcdefghijklmno"}},
                 5, 3);
    const std::vector<peghelp::HelpLine>& lines = layout.Lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].top, 5);
    EXPECT_EQ(lines[1].top, 5 + 20 + 3);
    std::wstring text = L"  one two three  abcdefghijklmno";
    EXPECT_EQ(text.substr(lines[1].start, lines[1].length), L"one two");
    EXPECT_EQ(text.substr(lines[2].start, lines[2].length), L"three");
    EXPECT_EQ(text.substr(lines[3].start, lines[3].length), L"abcdefghij");
    EXPECT_EQ(text.substr(lines[4].start, lines[4].length), L"klmno");
    EXPECT_EQ(layout.Bottom(), 5 + 20 + 3 + 4 * 10 + 3);
    EXPECT_EQ(measure.begun, 2);
    EXPECT_EQ(measure.ended, 2);
    EXPECT_EQ(layout.FirstLineBelow(5 + 20 + 3 + 10), 2u);
}

TEST(HelpLayoutTest, NeverCutsBetweenTheHalvesOfASurrogatePair)
{
    OnePixelMeasure measure(3);
    std::wstring text = L"ab";
    text += static_cast<wchar_t>(0xD83D);
    text += static_cast<wchar_t>(0xDE00);
    text += L"cd";
    size_t next = 0;
    size_t shown = peghelp::HelpLayout::BreakLine(measure, text.c_str(), text.size(), 3, next);
    EXPECT_EQ(shown, 2u);
    EXPECT_EQ(next, 2u);
    // A line too narrow for one character still shows one.
    shown = peghelp::HelpLayout::BreakLine(measure, text.c_str(), text.size(), 0, next);
    EXPECT_EQ(shown, 1u);
}

}  // namespace
