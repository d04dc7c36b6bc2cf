// Program windows that reach over the navigation bar are fitted below it.
#include "platform/shell/src/ShellConstants.h"
#include "platform/shell/src/WindowFitter.h"

#include <gtest/gtest.h>

namespace {

HWND MakeWindow(const wchar_t* className, DWORD style, int y, int height)
{
    return CreateWindowExW(0, className, L"Program", style | WS_VISIBLE, 0, y, 240, height,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

RECT RectOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

TEST(WindowFitter, ACaptionedWindowLosesItsCaptionAndFillsTheWorkArea)
{
    HWND window = MakeWindow(L"STATIC", WS_OVERLAPPEDWINDOW, 0, 200);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(shell::WindowFitter::Fit(window));
    RECT rect = RectOf(window);
    EXPECT_EQ(shell::kWorkTop, rect.top);
    EXPECT_EQ(shell::kWorkBottom, rect.bottom);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(shell::kScreenWidth, rect.right);
    EXPECT_EQ(0, GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(shell::kScreenWidth, client.right);
    // Already in place: nothing more happens.
    EXPECT_FALSE(shell::WindowFitter::Fit(window));
    DestroyWindow(window);
}

TEST(WindowFitter, ADialogOverTheBarMovesDownKeepingItsCaption)
{
    HWND dialog = MakeWindow(L"#32770", WS_POPUP | WS_CAPTION, 10, 120);
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(shell::WindowFitter::Fit(dialog));
    RECT rect = RectOf(dialog);
    EXPECT_EQ(shell::kWorkTop, rect.top);
    EXPECT_EQ(120, rect.bottom - rect.top);
    EXPECT_EQ(WS_CAPTION, GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CAPTION);
    DestroyWindow(dialog);
}

TEST(WindowFitter, LeavesFullScreenCaptionlessAndLowerWindowsAlone)
{
    HWND full = MakeWindow(L"STATIC", WS_OVERLAPPEDWINDOW, 0, 320);
    SetPropW(full, shell::kFullScreenProperty,
             reinterpret_cast<HANDLE>(shell::kFullScreenTaskBarHidden));
    EXPECT_FALSE(shell::WindowFitter::Fit(full));
    EXPECT_EQ(0, RectOf(full).top);

    HWND bare = MakeWindow(L"STATIC", WS_POPUP, 0, 320);
    EXPECT_FALSE(shell::WindowFitter::Fit(bare));
    EXPECT_EQ(0, RectOf(bare).top);

    HWND lower = MakeWindow(L"STATIC", WS_OVERLAPPEDWINDOW, 100, 80);
    EXPECT_FALSE(shell::WindowFitter::Fit(lower));
    EXPECT_EQ(100, RectOf(lower).top);

    EXPECT_FALSE(shell::WindowFitter::Fit(nullptr));
    RemovePropW(full, shell::kFullScreenProperty);
    DestroyWindow(full);
    DestroyWindow(bare);
    DestroyWindow(lower);
}

}  // namespace
