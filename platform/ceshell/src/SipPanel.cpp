#include "SipPanel.h"


#include "Module.h"
#include "PanelWindow.h"
#include "ScreenAreas.h"
#include "ShellPanels.h"
#include "SipKeyboardLayout.h"

namespace ceshell {

namespace {

constexpr const wchar_t* kPanelClass = L"CeShellInputPanel";
constexpr COLORREF kKeyFace = RGB(248, 248, 248);
constexpr COLORREF kKeyPressed = RGB(0, 0, 128);
constexpr COLORREF kKeyLatched = RGB(192, 192, 224);
constexpr COLORREF kPanelBack = RGB(160, 160, 160);
// A key held down types again, as a hardware keyboard does. (Timer 1 of the
// panel belongs to ShellPanels.)
constexpr UINT_PTR kRepeatTimer = 2;
constexpr UINT kRepeatDelayMs = 500;
constexpr UINT kRepeatIntervalMs = 100;

LPARAM KeyLParam(UINT virtualKey, bool release)
{
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    LPARAM flags = release ? static_cast<LPARAM>(0xC0000000u) : 0;
    return 1 | scan | flags;
}

}  // namespace

SipPanel::SipPanel() : InputPanelWindow(kPanelClass) {}

bool SipPanel::Create(HINSTANCE instance)
{
    font_ = CreateFontW(-10, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    return InputPanelWindow::Create(instance);
}

void SipPanel::WithdrawClass()
{
    InputPanelWindow::WithdrawClass(kPanelClass);
}

void SipPanel::Destroy()
{
    InputPanelWindow::Destroy();
    if (font_ != nullptr)
        DeleteObject(font_);
    font_ = nullptr;
}

RECT SipPanel::Area() const
{
    return InputPanelRect();
}

LRESULT SipPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnStylusDown(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        OnStylusUp();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        if (wParam == kRepeatTimer)
            OnRepeat();
        else
            ShellPanels::RefreshOnTimer();
        return 0;
    case WM_SETTINGCHANGE:
        ShellPanels::Refresh();
        return 0;
    case WM_ACTIVATEAPP:
        ShellPanels::RefreshAfterActivation();
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void SipPanel::OnStylusDown(POINT point)
{
    RECT client;
    GetClientRect(window_, &client);
    int index = SipKeyboardLayout::KeyAt(point, client.right, client.bottom);
    if (index < 0)
        return;
    pressed_ = index;
    // Keys type on the way down, as the handheld's do; the capture only
    // keeps the key drawn pressed until the stylus lifts.
    SetCapture(window_);
    repeatShift_ = shift_;
    PressKey(index);
    SipKeyKind kind = SipKeyboardLayout::Key(index).kind;
    if (kind == SipKeyKind::Character || kind == SipKeyKind::VirtualKey)
        SetTimer(window_, kRepeatTimer, kRepeatDelayMs, nullptr);
    InvalidateRect(window_, nullptr, FALSE);
}

void SipPanel::OnRepeat()
{
    if (pressed_ < 0) {
        KillTimer(window_, kRepeatTimer);
        return;
    }
    SetTimer(window_, kRepeatTimer, kRepeatIntervalMs, nullptr);
    shift_ = repeatShift_;
    PressKey(pressed_);
}

void SipPanel::OnStylusUp()
{
    if (pressed_ < 0)
        return;
    pressed_ = -1;
    KillTimer(window_, kRepeatTimer);
    if (GetCapture() == window_)
        ReleaseCapture();
    InvalidateRect(window_, nullptr, FALSE);
}

HWND SipPanel::TypingTarget()
{
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(foreground, &process);
    if (foreground == nullptr || process != GetCurrentProcessId())
        return nullptr;
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr)
        return info.hwndFocus;
    return foreground;
}

void SipPanel::PressKey(int index)
{
    if (index < 0 || index >= SipKeyboardLayout::KeyCount())
        return;
    const SipKey& key = SipKeyboardLayout::Key(index);
    switch (key.kind) {
    case SipKeyKind::Shift:
        shift_ = !shift_;
        break;
    case SipKeyKind::CapsLock:
        capsLock_ = !capsLock_;
        break;
    case SipKeyKind::VirtualKey:
        if (HWND target = TypingTarget()) {
            // The target's message loop translates these into the
            // characters of Backspace, Tab and Enter, as for a real key.
            PostMessageW(target, WM_KEYDOWN, key.virtualKey, KeyLParam(key.virtualKey, false));
            PostMessageW(target, WM_KEYUP, key.virtualKey, KeyLParam(key.virtualKey, true));
        }
        shift_ = false;
        break;
    case SipKeyKind::Character: {
        bool letter = IsCharAlphaW(key.character) != FALSE;
        bool upper = letter ? (shift_ != capsLock_) : shift_;
        wchar_t typed = upper ? key.shifted : key.character;
        if (HWND target = TypingTarget())
            PostMessageW(target, WM_CHAR, typed, 1);
        shift_ = false;
        break;
    }
    }
    if (window_ != nullptr)
        InvalidateRect(window_, nullptr, FALSE);
}

void SipPanel::DrawKey(HDC dc, int index, const RECT& rect)
{
    const SipKey& key = SipKeyboardLayout::Key(index);
    bool latched = (key.kind == SipKeyKind::Shift && shift_) || (key.kind == SipKeyKind::CapsLock && capsLock_);
    COLORREF face = index == pressed_ ? kKeyPressed : (latched ? kKeyLatched : kKeyFace);
    RECT inner = {rect.left + 1, rect.top + 1, rect.right, rect.bottom};
    HBRUSH brush = CreateSolidBrush(face);
    FillRect(dc, &inner, brush);
    DeleteObject(brush);

    wchar_t text[2] = {0, 0};
    const wchar_t* label = key.label;
    if (key.kind == SipKeyKind::Character) {
        bool letter = IsCharAlphaW(key.character) != FALSE;
        bool upper = letter ? (shift_ != capsLock_) : shift_;
        text[0] = upper ? key.shifted : key.character;
        label = text;
    }
    if (label == nullptr)
        return;
    SetTextColor(dc, index == pressed_ ? RGB(255, 255, 255) : RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, label, -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void SipPanel::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    // Drawn off-screen first, so that a key press does not flicker.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    HGDIOBJ oldFont = font_ != nullptr ? SelectObject(memory, font_) : nullptr;
    HBRUSH back = CreateSolidBrush(kPanelBack);
    FillRect(memory, &client, back);
    DeleteObject(back);
    for (int i = 0; i < SipKeyboardLayout::KeyCount(); ++i)
        DrawKey(memory, i, SipKeyboardLayout::KeyRect(i, client.right, client.bottom));
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    if (oldFont != nullptr)
        SelectObject(memory, oldFont);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(window_, &paint);
}

}  // namespace ceshell
