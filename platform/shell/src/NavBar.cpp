#include "platform/shell/src/NavBar.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"
#include "platform/common/RestackTopmost.h"

#include "platform/common/Text.h"
#include "platform/shell/src/MinuteClock.h"
#include "platform/shell/src/ShellConstants.h"
#include "platform/shell/src/WindowFitter.h"

#include <windowsx.h>

namespace shell {

namespace {

const UINT_PTR kPollTimer = 1;
const UINT_PTR kClockTimer = 2;
const UINT kHotKeyStart = 1;
const COLORREF kBarColour = RGB(16, 52, 140);
const COLORREF kTextColour = RGB(255, 255, 255);

}  // namespace

NavBar::NavBar(StartMenu& startMenu)
    : startMenu_(startMenu),
      window_(nullptr),
      target_(nullptr),
      doneShown_(false),
      startHidden_(false),
      hidden_(false),
      font_(nullptr)
{
    title_[0] = L'\0';
    clock_[0] = L'\0';
}

NavBar::~NavBar()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

bool NavBar::Create(HINSTANCE instance)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kNavBarClass;
    if (!RegisterClassOnce(windowClass)) {
        return false;
    }
    font_ = CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    // Never activated by a tap: the window in front keeps the focus, and
    // the ok button still knows whom it is for.
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kNavBarClass,
                              L"", WS_POPUP, 0, kNavBarTop, kScreenWidth, kNavBarHeight, nullptr,
                              nullptr, instance, this);
    if (window_ == nullptr) {
        return false;
    }
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    // Ctrl+Esc opens the Start menu from the keyboard, as on the desktop.
    RegisterHotKey(window_, kHotKeyStart, MOD_CONTROL, VK_ESCAPE);
    SetTimer(window_, kClockTimer, MsToNextMinute(), nullptr);
    Wake();
    return true;
}

void NavBar::Wake()
{
    if (window_ == nullptr)
        return;
    Poll();
    wakePolls_ = kWakePolls;
    SetTimer(window_, kPollTimer, kPollMs, nullptr);
}

// Quick looks while a window comes up, then slower ones while a program
// that is still loading may show its window late; then the bar rests.
void NavBar::AfterWakePoll()
{
    --wakePolls_;
    if (settlePolls_ > 0)
        return;
    if (wakePolls_ <= -kLatePolls)
        KillTimer(window_, kPollTimer);
    else if (wakePolls_ <= 0)
        SetTimer(window_, kPollTimer, kLatePollMs, nullptr);
}

void NavBar::KeepLooking()
{
    keepLooking_ = true;
    Wake();
}

LRESULT CALLBACK NavBar::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<NavBar, &NavBar::window_, &NavBar::HandleMessage>(window, message, wParam, lParam);
}

LRESULT NavBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONUP:
        Tap(GET_X_LPARAM(lParam));
        return 0;
    case WM_HOTKEY:
        if (wParam == kHotKeyStart) {
            Tap(0);
        }
        return 0;
    case WM_TIMER:
        Poll();
        if (wParam == kClockTimer) {
            SetTimer(window_, kClockTimer, MsToNextMinute(), nullptr);
            // Something changed in front since the last look: restack as
            // after a wake.
            if (settlePolls_ > 0)
                SetTimer(window_, kPollTimer, kPollMs, nullptr);
        }
        else if (!keepLooking_)
            AfterWakePoll();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        KillTimer(window_, kPollTimer);
        KillTimer(window_, kClockTimer);
        UnregisterHotKey(window_, kHotKeyStart);
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

bool NavBar::IsOwnWindow(HWND window) const
{
    if (window == window_) {
        return true;
    }
    // An open menu (the Start menu or any program's) is not a window the
    // title or the ok button could be for.
    wchar_t className[16];
    return GetClassNameW(window, className, 16) > 0 && wcscmp(className, L"#32768") == 0;
}

void NavBar::Poll()
{
    if (window_ == nullptr) {
        return;
    }
    HWND front = GetForegroundWindow();
    bool changed = false;
    if (front != nullptr && !IsOwnWindow(front)) {
        if (front != target_) {
            target_ = front;
            changed = true;
        }
    } else if (target_ != nullptr && !IsWindow(target_)) {
        target_ = nullptr;
        changed = true;
    }

    wchar_t title[256] = L"";
    bool done = false;
    bool fullScreen = false;
    bool startHidden = false;
    if (target_ != nullptr) {
        // A window without a title (a pop-up, a box) is titled by the
        // window it belongs to, as on the handheld.
        for (HWND titled = target_; titled != nullptr && title[0] == L'\0';
             titled = GetWindow(titled, GW_OWNER))
            GetWindowTextW(titled, title, 256);
        done = GetPropW(target_, kDoneButtonProperty) != nullptr;
        UINT_PTR bits = reinterpret_cast<UINT_PTR>(GetPropW(target_, kFullScreenProperty));
        fullScreen = (bits & kFullScreenTaskBarHidden) != 0;
        startHidden = (bits & kFullScreenStartIconHidden) != 0;
        WindowFitter::Fit(target_);
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t clock[16];
    FormatText(clock, 16, L"%d:%02d", now.wHour, now.wMinute);

    if (wcscmp(title, title_) != 0 || done != doneShown_ || startHidden != startHidden_) {
        CopyText(title_, 256, title);
        doneShown_ = done;
        startHidden_ = startHidden;
        changed = true;
    }
    // A new minute is drawn; it moves no window.
    bool clockTurned = wcscmp(clock, clock_) != 0;
    CopyText(clock_, 16, clock);
    // A window that hides the task bar but asked for a Done button keeps
    // the bar: its "ok" is the only way a person can close it by tapping
    // (the note window hides the task bar whenever it comes forward).
    bool hide = fullScreen && !done;
    if (hide != hidden_) {
        hidden_ = hide;
        ShowWindow(window_, hidden_ ? SW_HIDE : SW_SHOWNOACTIVATE);
        changed = true;
    }
    // Other programs' windows come and go; the bar stays on top of them,
    // also over a window the screen raises a moment after it came forward.
    if (changed)
        settlePolls_ = kSettlePolls;
    if (!hidden_ && settlePolls_ > 0) {
        --settlePolls_;
        RestackTopmost(window_);
    }
    if ((changed || clockTurned) && !hidden_)
        InvalidateRect(window_, nullptr, FALSE);
}

void NavBar::Tap(int x)
{
    // The window in front may have changed since the last poll (a window
    // just closed): the tap is for the one in front now.
    Poll();
    if (x < kStartWidth && !startHidden_) {
        HWND before = target_;
        // Nothing picked: the window the menu opened over comes back, unless
        // another program (an alarm) took the front while the menu was open.
        if (!startMenu_.Show(window_, before) && before != nullptr && IsWindow(before) &&
            GetForegroundWindow() == window_) {
            SetForegroundWindow(before);
        }
        Poll();
        return;
    }
    if (x >= kDoneLeft && doneShown_ && target_ != nullptr && IsWindow(target_)) {
        // Posted, so that a window busy with its own dialog cannot stall the bar.
        PostMessageW(target_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

void NavBar::DrawStartFlag(HDC dc) const
{
    // The four-coloured flag of the Start button.
    const COLORREF colours[4] = {RGB(230, 60, 30), RGB(70, 190, 50), RGB(40, 120, 230),
                                 RGB(250, 200, 20)};
    const int left = 5;
    const int top = 6;
    const int size = 7;
    for (int i = 0; i < 4; ++i) {
        RECT square = {left + (i % 2) * (size + 1), top + (i / 2) * (size + 1),
                       left + (i % 2) * (size + 1) + size, top + (i / 2) * (size + 1) + size};
        HBRUSH brush = CreateSolidBrush(colours[i]);
        FillRect(dc, &square, brush);
        DeleteObject(brush);
    }
}

void NavBar::DrawDoneButton(HDC dc) const
{
    HBRUSH fill = CreateSolidBrush(RGB(255, 255, 255));
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, kDoneLeft + 2, 3, kDoneLeft + 24, kNavBarHeight - 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(fill);
    SetTextColor(dc, kBarColour);
    RECT label = {kDoneLeft + 2, 0, kDoneLeft + 24, kNavBarHeight};
    DrawTextW(dc, L"ok", -1, &label, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void NavBar::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    HBRUSH background = CreateSolidBrush(kBarColour);
    FillRect(dc, &client, background);
    DeleteObject(background);
    if (!startHidden_) {
        DrawStartFlag(dc);
    }

    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColour);
    int clockRight = doneShown_ ? kDoneLeft - 2 : client.right - 4;
    RECT clockRect = {clockRight - 44, 0, clockRight, kNavBarHeight};
    DrawTextW(dc, clock_, -1, &clockRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    RECT titleRect = {24, 0, clockRect.left - 2, kNavBarHeight};
    DrawTextW(dc, title_[0] != L'\0' ? title_ : L"Start", -1, &titleRect,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (doneShown_) {
        DrawDoneButton(dc);
    }
    SelectObject(dc, oldFont);
    EndPaint(window_, &paint);
}

}  // namespace shell
