#include "cecompat.h"

#include <commctrl.h>

#include <vector>

// The real call of user32; cecompat.h sends the program's calls here.
#undef MessageBoxW

namespace {

// The hook that waits for this thread's next message box, on only from the
// call until the box is made: under Wine every hook call is a round trip to
// the server.
thread_local HHOOK t_hook = nullptr;

const int kMaxButtons = 8;

struct BoxControls {
    HWND icon = nullptr;
    HWND text = nullptr;
    HWND buttons[kMaxButtons] = {};
    int buttonCount = 0;
};

bool IsClass(HWND window, const wchar_t* name)
{
    wchar_t found[16];
    return GetClassNameW(window, found, 16) > 0 && lstrcmpiW(found, name) == 0;
}

// Where a control sits in its box's client area.
RECT PlaceOf(HWND control)
{
    RECT place = {};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

BOOL CALLBACK CollectControl(HWND child, LPARAM param)
{
    BoxControls* controls = reinterpret_cast<BoxControls*>(param);
    if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
        return TRUE;
    if (IsClass(child, L"Static")) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            controls->icon = child;
        else
            controls->text = child;
    } else if (IsClass(child, L"Button") && controls->buttonCount < kMaxButtons) {
        // Kept in the order the box shows them, left to right.
        int at = controls->buttonCount++;
        LONG left = PlaceOf(child).left;
        for (; at > 0 && PlaceOf(controls->buttons[at - 1]).left > left; --at)
            controls->buttons[at] = controls->buttons[at - 1];
        controls->buttons[at] = child;
    }
    return TRUE;
}

// The text's height when it wraps at width, in the control's own font.
int WrappedHeight(HWND text, int width)
{
    int length = GetWindowTextLengthW(text);
    std::vector<wchar_t> words(length + 1, L'\0');
    GetWindowTextW(text, words.data(), length + 1);
    UINT format = DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_CALCRECT;
    if (GetWindowLongW(text, GWL_STYLE) & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    HDC dc = GetDC(text);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    RECT measured = {0, 0, width, 0};
    DrawTextW(dc, words.data(), -1, &measured, format);
    SelectObject(dc, oldFont);
    ReleaseDC(text, dc);
    return measured.bottom;
}

void Move(HWND window, int x, int y, int width, int height)
{
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Wine wraps the text at the width its own template gives it and sizes the
// box around that: 329 pixels for a sentence or two. The handheld's box takes
// the screen's width, wraps the text beside the icon onto as many lines as it
// needs, puts the buttons in a row below and stays in the work area between
// the navigation bar and the menu bar. Wine's margins, icon and button sizes
// are kept.
void LayOut(HWND box)
{
    BoxControls controls;
    EnumChildWindows(box, CollectControl, reinterpret_cast<LPARAM>(&controls));
    if (controls.text == nullptr || controls.buttonCount == 0)
        return;

    RECT frame = {};
    RECT client = {};
    GetWindowRect(box, &frame);
    GetClientRect(box, &client);
    int frameWidth = (frame.right - frame.left) - client.right;
    int frameHeight = (frame.bottom - frame.top) - client.bottom;
    int boxWidth = GetSystemMetrics(SM_CXSCREEN);
    int workTop = CE_NAVBAR_HEIGHT;
    int workHeight = GetSystemMetrics(SM_CYSCREEN) - CE_MENUBAR_HEIGHT - workTop;
    int width = boxWidth - frameWidth;

    RECT icon = controls.icon != nullptr ? PlaceOf(controls.icon) : RECT{};
    bool hasIcon = controls.icon != nullptr && SendMessageW(controls.icon, STM_GETICON, 0, 0) != 0;
    int margin = icon.left > 0 ? icon.left : 8;
    int iconWidth = hasIcon ? icon.right - icon.left : 0;
    int iconHeight = hasIcon ? icon.bottom - icon.top : 0;
    int textLeft = hasIcon ? margin + iconWidth + margin : margin;
    int textWidth = width - textLeft - margin;

    RECT button = PlaceOf(controls.buttons[0]);
    int buttonWidth = button.right - button.left;
    int buttonHeight = button.bottom - button.top;
    int gap = buttonWidth / 3;
    int count = controls.buttonCount;
    if (count * buttonWidth + (count - 1) * gap > width - 2 * margin) {
        gap = margin;
        buttonWidth = (width - 2 * margin - (count - 1) * gap) / count;
    }

    // A text taller than the work area is cut, so the buttons stay on screen.
    int textHeight = WrappedHeight(controls.text, textWidth);
    int textRoom = workHeight - frameHeight - buttonHeight - 3 * margin;
    if (textHeight > textRoom)
        textHeight = textRoom;
    int rowHeight = textHeight > iconHeight ? textHeight : iconHeight;
    int buttonTop = margin + rowHeight + margin;
    int boxHeight = buttonTop + buttonHeight + margin + frameHeight;

    Move(box, 0, workTop + (workHeight - boxHeight) / 2, boxWidth, boxHeight);
    // Wine keeps an empty icon control where the text now starts.
    if (controls.icon != nullptr)
        Move(controls.icon, margin, margin + (rowHeight - iconHeight) / 2, iconWidth, iconHeight);
    Move(controls.text, textLeft, margin + (rowHeight - textHeight) / 2, textWidth, textHeight);
    int buttonLeft = (width - count * buttonWidth - (count - 1) * gap) / 2;
    for (int i = 0; i < count; ++i)
        Move(controls.buttons[i], buttonLeft + i * (buttonWidth + gap), buttonTop, buttonWidth,
             buttonHeight);
}

void StopWatching()
{
    if (t_hook != nullptr)
        UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
}

// Wine lays the box out in its WM_INITDIALOG and focuses the default button
// there, which activates the box halfway through; once the message is
// answered the box is whole and not yet shown.
LRESULT CALLBACK LayOutAfterInit(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR)
{
    if (message == WM_INITDIALOG) {
        LRESULT result = DefSubclassProc(box, message, wParam, lParam);
        RemoveWindowSubclass(box, LayOutAfterInit, id);
        LayOut(box);
        return result;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(box, LayOutAfterInit, id);
    return DefSubclassProc(box, message, wParam, lParam);
}

// The first dialog made after the call is the box.
LRESULT CALLBACK WatchForBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        HWND window = reinterpret_cast<HWND>(wParam);
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
        if (!(create->style & WS_CHILD) && IsClass(window, L"#32770")) {
            SetWindowSubclass(window, LayOutAfterInit, 1, 0);
            StopWatching();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int WINAPI CeMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    bool watching = t_hook == nullptr;
    if (watching)
        t_hook = SetWindowsHookExW(WH_CBT, WatchForBox, nullptr, GetCurrentThreadId());
    int answer = MessageBoxW(owner, text, caption, type);
    if (watching)
        StopWatching();
    return answer;
}
