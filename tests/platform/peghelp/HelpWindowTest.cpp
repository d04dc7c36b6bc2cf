// PegHelp's window: the Done button and the scrolling of a long topic.
#include "platform/peghelp/src/HelpWindow.h"

#include <gtest/gtest.h>

namespace {

void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

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
