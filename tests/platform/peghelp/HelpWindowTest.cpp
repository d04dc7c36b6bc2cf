// PegHelp's window: the Done button and the scrolling of a long topic.
#include "platform/peghelp/src/HelpWindow.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

namespace {

std::wstring LongTopic()
{
    std::wstring html = L"<a name=\"Long\"></a><h2>Long topic</h2>";
    for (int i = 0; i < 40; ++i) {
        html += L"<p>A paragraph of help text that wraps over more than one line of the "
                L"screen.</p>";
    }
    return html;
}

TEST(HelpWindow, ScrollsALongTopicWithinItsLength)
{
    peghelp::HelpDocument document;
    ASSERT_TRUE(document.LoadText(LongTopic(), L"long.htm", L"Long"));
    peghelp::HelpWindow window(document);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr), false));
    peghelp::HelpView& view = window.View();
    EXPECT_GT(view.ContentHeight(), 3 * view.PageHeight());
    EXPECT_EQ(0, view.ScrollPosition());

    SendMessageW(view.Window(), WM_VSCROLL, SB_PAGEDOWN, 0);
    int afterPage = view.ScrollPosition();
    EXPECT_GT(afterPage, view.PageHeight() / 2);
    SendMessageW(view.Window(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(afterPage + peghelp::HelpView::kLineStep, view.ScrollPosition());

    SendMessageW(view.Window(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(view.ContentHeight() - view.PageHeight(), view.ScrollPosition());
    SendMessageW(view.Window(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(view.ContentHeight() - view.PageHeight(), view.ScrollPosition());
    SendMessageW(view.Window(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(0, view.ScrollPosition());
    SendMessageW(view.Window(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(0, view.ScrollPosition());
}

TEST(HelpWindow, ShowsOneMegabyteParagraphInLinesThatFitTheScreen)
{
    std::wstring paragraph;
    while (paragraph.size() < 1024 * 1024) {
        paragraph += L"A paragraph that never ends, with words of every length: "
                     L"Pneumonoultramicroscopicsilicovolcanoconiosis. ";
    }
    // A word wider than the screen is cut where the line ends.
    paragraph += std::wstring(500, L'W');
    peghelp::HelpDocument document;
    ASSERT_TRUE(document.LoadText(L"<p>" + paragraph + L"</p>", L"long.htm", L""));
    const std::wstring& text = document.Blocks()[0].text;
    peghelp::HelpWindow window(document);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr), false));
    peghelp::HelpView& view = window.View();

    RECT client;
    GetClientRect(view.Window(), &client);
    int width = client.right - 2 * peghelp::HelpView::kMargin;
    HDC dc = GetDC(view.Window());
    HGDIOBJ old = SelectObject(dc, view.FontOf(peghelp::BlockKind::Paragraph));
    // In order, the lines hold the whole text but the spaces they break at,
    // and each fits the width.
    const std::vector<peghelp::HelpLine>& lines = view.Layout().Lines();
    ASSERT_GT(lines.size(), text.size() / 200);
    size_t covered = 0;
    int overflowing = 0;
    for (const peghelp::HelpLine& line : lines) {
        ASSERT_EQ(0u, line.block);
        ASSERT_GE(line.start, covered);
        ASSERT_EQ(std::wstring::npos, text.substr(covered, line.start - covered).find_first_not_of(L' '));
        ASSERT_GT(line.length, 0u);
        SIZE size;
        GetTextExtentPoint32W(dc, text.c_str() + line.start, static_cast<int>(line.length), &size);
        overflowing += size.cx > width ? 1 : 0;
        covered = line.start + line.length;
    }
    SelectObject(dc, old);
    ReleaseDC(view.Window(), dc);
    EXPECT_EQ(text.size(), covered);
    EXPECT_EQ(0, overflowing);
    EXPECT_EQ(lines.back().top + lines.back().height, view.ContentHeight() - 6);

    // The far end scrolls into view and paints.
    SendMessageW(view.Window(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(view.ContentHeight() - view.PageHeight(), view.ScrollPosition());
    EXPECT_TRUE(RedrawWindow(view.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW));
}

TEST(HelpWindow, AShortTopicDoesNotScroll)
{
    peghelp::HelpDocument document;
    ASSERT_TRUE(document.LoadText(L"<h2>Short</h2><p>One line.</p>", L"s.htm", L""));
    peghelp::HelpWindow window(document);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr), false));
    SendMessageW(window.View().Window(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(0, window.View().ScrollPosition());
}

TEST(HelpWindow, AsksForTheOkButtonAndClosesOnIt)
{
    peghelp::HelpDocument document;
    document.LoadText(L"<p>x</p>", L"x.htm", L"");
    peghelp::HelpWindow window(document);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr), false));
    HWND frame = window.Window();
    EXPECT_NE(nullptr, GetPropW(frame, L"CeShell.DoneButton"));
    RECT rect;
    GetWindowRect(frame, &rect);
    EXPECT_EQ(26, rect.top);
    EXPECT_EQ(240, rect.right - rect.left);
    HWND done = GetDlgItem(frame, IDOK);
    ASSERT_NE(nullptr, done);
    // What the navigation bar's ok sends; the Done button does the same.
    PostMessageW(frame, WM_COMMAND, IDOK, 0);
    Pump();
    EXPECT_FALSE(IsWindow(frame));
}

}  // namespace
