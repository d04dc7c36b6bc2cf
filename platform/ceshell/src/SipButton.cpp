#include "SipButton.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

#include "Module.h"
#include "ScreenAreas.h"
#include "ShellPanels.h"
#include "SipState.h"

namespace ceshell {

namespace {

constexpr const wchar_t* kButtonClass = L"CeShellSipButton";

void DrawKeyboardIcon(HDC dc, const RECT& area, bool up)
{
    // A small keyboard: a frame with three rows of keys, and an arrow that
    // tells which way a tap moves the panel.
    int left = (area.left + area.right) / 2 - 8;
    int top = (area.top + area.bottom) / 2 - 7;
    HBRUSH ink = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT frame = {left, top + 4, left + 17, top + 15};
    FrameRect(dc, &frame, ink);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column) {
            RECT key = {left + 2 + column * 3, top + 6 + row * 3, left + 4 + column * 3, top + 7 + row * 3};
            FillRect(dc, &key, ink);
        }
    }
    POINT arrow[3];
    if (up) {
        arrow[0] = POINT{left + 5, top + 3};
        arrow[1] = POINT{left + 12, top + 3};
        arrow[2] = POINT{left + 8, top - 1};
    } else {
        arrow[0] = POINT{left + 5, top - 1};
        arrow[1] = POINT{left + 12, top - 1};
        arrow[2] = POINT{left + 8, top + 3};
    }
    HGDIOBJ oldBrush = SelectObject(dc, ink);
    Polygon(dc, arrow, 3);
    SelectObject(dc, oldBrush);
}

}  // namespace

bool SipButton::Create(HINSTANCE instance)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kButtonClass;
    if (!RegisterClassOnce(wc))
        return false;
    RECT area = SipButtonRect();
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kButtonClass, L"Input Panel",
                              WS_POPUP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                              nullptr, nullptr, instance, this);
    return window_ != nullptr;
}

void SipButton::WithdrawClass()
{
    UnregisterClassW(kButtonClass, ModuleInstance());
}

void SipButton::Destroy()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
    window_ = nullptr;
}

LRESULT CALLBACK SipButton::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(window, message, wParam, lParam);
    Creation creation = CheckCreation(window, message, GetWindowLongPtrW(window, GWLP_USERDATA) != 0);
    if (creation == Creation::Repeated)
        return 0;
    if (creation == Creation::Own && message == WM_NCCREATE) {
        auto create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    SipButton* self = reinterpret_cast<SipButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        SipShowIM((ReadSipFlags() & SIPF_ON) ? SIPF_OFF : SIPF_ON);
        return 0;
    case WM_PAINT:
        self->OnPaint();
        return 0;
    case WM_SETTINGCHANGE:
        ShellPanels::Refresh();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void SipButton::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    bool up = (ReadSipFlags() & SIPF_ON) != 0;
    FillRect(dc, &client, GetSysColorBrush(up ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    RECT line = {client.left, client.top, client.right, client.top + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    // Up means the next tap lowers the panel, so the arrow points down.
    DrawKeyboardIcon(dc, client, !up);
    EndPaint(window_, &paint);
}

}  // namespace ceshell
