// The device's message box: the screen's width, wrapped text, buttons below.
#include "cecompat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const wchar_t kCaption[] = L"MessageBoxTest";
const wchar_t kLongText[] =
    L"All 1000 jotlings are in use. Delete some in the list of all jotlings, then tap ok again "
    L"to keep this one.";

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// What the box showed while it was up, in screen coordinates.
struct SeenBox {
    RECT window = {}, client = {}, text = {}, icon = {};
    int lines = 0;
    std::vector<RECT> buttons;
    bool controlsInside = true;
};

SeenBox g_seen;
int g_tap = IDOK;

RECT PlaceOf(HWND window)
{
    RECT place = {};
    GetWindowRect(window, &place);
    return place;
}

// Run by the box's own modal loop: looks at the box, then taps a button.
void CALLBACK LookAndTap(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = FindWindowW(L"#32770", kCaption);
    if (box == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_seen.window = PlaceOf(box);
    GetClientRect(box, &g_seen.client);
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&g_seen.client), 2);
    EnumChildWindows(box, [](HWND control, LPARAM) -> BOOL {
        g_seen.controlsInside &= !IsWindowVisible(control) || Inside(PlaceOf(control), g_seen.client);
        return TRUE;
    }, 0);
    HWND text = GetDlgItem(box, 0xFFFF);
    g_seen.text = PlaceOf(text);
    g_seen.icon = PlaceOf(GetDlgItem(box, 1088));
    HDC dc = GetDC(text);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(text, dc);
    g_seen.lines = (g_seen.text.bottom - g_seen.text.top) / (metrics.tmHeight > 0 ? metrics.tmHeight : 1);
    for (int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
        if (IsWindowVisible(GetDlgItem(box, id)))
            g_seen.buttons.push_back(PlaceOf(GetDlgItem(box, id)));
    }
    SendMessageW(GetDlgItem(box, g_tap), BM_CLICK, 0, 0);
}

int Show(const wchar_t* text, UINT type, int tap)
{
    g_seen = SeenBox();
    g_tap = tap;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAndTap);
    int answer = MessageBoxW(nullptr, text, kCaption, type);
    KillTimer(nullptr, timer);
    return answer;
}

// Across the screen, within the work area, every control inside, the
// buttons under the text.
void ExpectWholeOnScreen()
{
    RECT work = {0, CE_NAVBAR_HEIGHT, GetSystemMetrics(SM_CXSCREEN),
                 GetSystemMetrics(SM_CYSCREEN) - CE_MENUBAR_HEIGHT};
    EXPECT_TRUE(Inside(g_seen.window, work));
    EXPECT_EQ(work.right, g_seen.window.right - g_seen.window.left);
    EXPECT_TRUE(g_seen.controlsInside);
    for (const RECT& button : g_seen.buttons)
        EXPECT_GE(button.top, g_seen.text.bottom);
}

TEST(DeviceMessageBox, WrapsALongTextBesideTheIconAcrossTheScreenWithTheButtonsBelow)
{
    EXPECT_EQ(IDNO, Show(kLongText, MB_YESNO | MB_ICONWARNING, IDNO));
    ExpectWholeOnScreen();
    EXPECT_GE(g_seen.lines, 3);
    EXPECT_GT(g_seen.text.right - g_seen.text.left, g_seen.text.bottom - g_seen.text.top);
    EXPECT_LE(g_seen.icon.right, g_seen.text.left);
    ASSERT_EQ(2u, g_seen.buttons.size());
    EXPECT_EQ(g_seen.buttons[0].top, g_seen.buttons[1].top);
}

TEST(DeviceMessageBox, KeepsAShortTextOnOneLineAndATooLongOneOnScreen)
{
    EXPECT_EQ(IDOK, Show(L"Saved.", MB_OK, IDOK));
    ExpectWholeOnScreen();
    EXPECT_EQ(1, g_seen.lines);
    EXPECT_EQ(1u, g_seen.buttons.size());

    std::wstring tooLong;
    for (int i = 0; i < 20; ++i)
        tooLong += kLongText;
    EXPECT_EQ(IDCANCEL, Show(tooLong.c_str(), MB_OKCANCEL | MB_ICONWARNING, IDCANCEL));
    ExpectWholeOnScreen();
    EXPECT_EQ(2u, g_seen.buttons.size());
}

}  // namespace
