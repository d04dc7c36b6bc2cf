// A window with a menu bar, tool buttons, the input panel and a tap-and-hold
// area, to look at the shell library on the device. "/sip" on the command
// line raises the input panel at the start.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "DemoIds.h"
#include "aygshell.h"
#include "platform/common/RegisterClassOnce.h"
#include "platform/common/Text.h"

namespace {

constexpr const wchar_t* kWindowClass = L"CeShellMenuBarDemo";
constexpr const wchar_t* kHoldClass = L"CeShellDemoHoldArea";
constexpr int kEditId = 10;
constexpr int kHoldId = 11;
constexpr int kHoldHeight = 36;
constexpr int kToolImages = 4;

class DemoWindow {
public:
    bool Create(HINSTANCE instance, bool raisePanel);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HoldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnCommand(int command);
    LRESULT OnNotify(const NMHDR* header);
    void OnSettingChange(WPARAM action);
    void Layout();
    void AddToolButtons();
    void SetStatus(const wchar_t* text);

    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
    HWND hold_ = nullptr;
    HWND menuBar_ = nullptr;
    bool penMode_ = false;
    wchar_t status_[128] = L"Tap and hold here (or right-click)";
};

const wchar_t* const kToolTips[] = {
    nullptr, nullptr,  // New, Tools
    nullptr,           // separator
    L"Zoom out", L"Zoom in", L"Record", L"Pen mode",
};

bool DemoWindow::Create(HINSTANCE instance, bool raisePanel)
{
    instance_ = instance;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = kWindowClass;
    WNDCLASSW hold = {};
    hold.lpfnWndProc = HoldProc;
    hold.hInstance = instance;
    hold.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    hold.hbrBackground = CreateSolidBrush(RGB(255, 255, 192));
    hold.lpszClassName = kHoldClass;
    if (!RegisterClassOnce(wc) || !RegisterClassOnce(hold))
        return false;

    window_ = CreateWindowExW(0, kWindowClass, L"Menu bar demo", WS_POPUP | WS_CAPTION, 0, 0, 240, 320, nullptr,
                              nullptr, instance, this);
    if (window_ == nullptr)
        return false;
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    SHINITDLGINFO init = {SHIDIM_FLAGS, window_, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
    SHInitDialog(&init);
    SetFocus(edit_);
    if (raisePanel)
        SipShowIM(SIPF_ON);
    return true;
}

LRESULT CALLBACK DemoWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        reinterpret_cast<DemoWindow*>(create->lpCreateParams)->window_ = window;
    }
    DemoWindow* self = reinterpret_cast<DemoWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        self->OnCreate();
        return 0;
    case WM_SIZE:
        self->Layout();
        return 0;
    case WM_COMMAND:
        self->OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return self->OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_SETTINGCHANGE:
        self->OnSettingChange(wParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK DemoWindow::HoldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN: {
        SHRGINFO gesture = {};
        gesture.cbSize = sizeof(gesture);
        gesture.hwndClient = window;
        gesture.ptDown = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        gesture.dwFlags = SHRG_NOTIFYPARENT;
        if (SHRecognizeGesture(&gesture) == 0)
            SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(kHoldId, 0), 0);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        wchar_t text[128];
        GetWindowTextW(window, text, 128);
        SetBkMode(dc, TRANSPARENT);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void DemoWindow::OnCreate()
{
    edit_ = CreateWindowExW(0, L"EDIT", L"Type here with the input panel.",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, 10, 10,
                            window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance_, nullptr);
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    hold_ = CreateWindowExW(WS_EX_CLIENTEDGE, kHoldClass, status_, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHoldId)), instance_, nullptr);

    SHMENUBARINFO bar = {};
    bar.cbSize = sizeof(bar);
    bar.hwndParent = window_;
    bar.nToolBarId = IDR_DEMO_MENUBAR;
    bar.hInstRes = instance_;
    if (SHCreateMenuBar(&bar)) {
        menuBar_ = bar.hwndMB;
        AddToolButtons();
    }
    Layout();
}

void DemoWindow::AddToolButtons()
{
    CommandBar_AddBitmap(menuBar_, instance_, IDB_DEMO_TOOLS, kToolImages, 16, 16);
    TBBUTTON buttons[5] = {};
    buttons[0].idCommand = -1;
    buttons[0].fsStyle = TBSTYLE_SEP;
    const int commands[4] = {IDM_DEMO_ZOOM_OUT, IDM_DEMO_ZOOM_IN, IDM_DEMO_RECORD, IDM_DEMO_PEN};
    for (int i = 0; i < 4; ++i) {
        buttons[i + 1].iBitmap = i;
        buttons[i + 1].idCommand = commands[i];
        buttons[i + 1].fsState = TBSTATE_ENABLED;
        buttons[i + 1].fsStyle = TBSTYLE_BUTTON;
    }
    SendMessageW(menuBar_, TB_ADDBUTTONSW, 5, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(menuBar_, TB_SETTOOLTIPS, sizeof(kToolTips) / sizeof(kToolTips[0]),
                 reinterpret_cast<LPARAM>(kToolTips));
}

void DemoWindow::Layout()
{
    RECT client;
    GetClientRect(window_, &client);
    SIPINFO sip = {};
    sip.cbSize = sizeof(sip);
    int bottom = client.bottom;
    if (SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0) && (sip.fdwFlags & SIPF_ON)) {
        POINT top = {0, sip.rcSipRect.top};
        ScreenToClient(window_, &top);
        if (top.y < bottom)
            bottom = top.y;
    }
    MoveWindow(hold_, 0, bottom - kHoldHeight, client.right, kHoldHeight, TRUE);
    MoveWindow(edit_, 0, 0, client.right, bottom - kHoldHeight, TRUE);
}

void DemoWindow::SetStatus(const wchar_t* text)
{
    CopyText(status_, 128, text);
    SetWindowTextW(hold_, status_);
    InvalidateRect(hold_, nullptr, TRUE);
}

void DemoWindow::OnCommand(int command)
{
    switch (command) {
    case IDOK:
        DestroyWindow(window_);
        break;
    case IDM_DEMO_NEW:
    case IDM_DEMO_CLEAR:
        SetWindowTextW(edit_, L"");
        SetFocus(edit_);
        SetStatus(L"Cleared");
        break;
    case IDM_DEMO_KEYBOARD:
        SipShowIM(SIPF_ON);
        SetFocus(edit_);
        break;
    case IDM_DEMO_ABOUT:
        MessageBoxW(window_, L"The shell library's menu bar, input panel and gestures.", L"Menu bar demo", MB_OK);
        break;
    case IDM_DEMO_PEN:
        penMode_ = !penMode_;
        SendMessageW(menuBar_, TB_SETSTATE, IDM_DEMO_PEN, penMode_ ? (TBSTATE_ENABLED | TBSTATE_PRESSED) : TBSTATE_ENABLED);
        SetStatus(penMode_ ? L"Pen mode on" : L"Pen mode off");
        break;
    case IDM_DEMO_ZOOM_IN:
    case IDM_DEMO_ZOOM_OUT:
    case IDM_DEMO_RECORD: {
        wchar_t text[64];
        FormatText(text, 64, L"Tool button %d", command);
        SetStatus(text);
        break;
    }
    case kHoldId:
        SetStatus(L"Tapped");
        break;
    }
}

LRESULT DemoWindow::OnNotify(const NMHDR* header)
{
    if (header == nullptr || header->code != GN_CONTEXTMENU)
        return 0;
    SetStatus(L"Held: context menu");
    return 1;
}

void DemoWindow::OnSettingChange(WPARAM action)
{
    if (action == SPI_SETSIPINFO)
        Layout();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    DemoWindow demo;
    if (!demo.Create(instance, commandLine != nullptr && wcsstr(commandLine, L"/sip") != nullptr))
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
