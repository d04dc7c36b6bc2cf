#include "platform/peghelp/src/HelpWindow.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

namespace peghelp {

namespace {

const wchar_t kClass[] = L"PegHelpWindow";
// The navigation bar shows its ok button for a window with this property.
const wchar_t kDoneButtonProperty[] = L"CeShell.DoneButton";
const int kButtonWidth = 64;

}  // namespace

HelpWindow::HelpWindow(const HelpDocument& document)
    : view_(document), window_(nullptr), doneButton_(nullptr), instance_(nullptr),
      endsProgram_(false)
{
}

HelpWindow::~HelpWindow()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

bool HelpWindow::Create(HINSTANCE instance, bool endsProgram)
{
    instance_ = instance;
    endsProgram_ = endsProgram;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClass;
    if (!RegisterClassOnce(windowClass)) {
        return false;
    }
    window_ = CreateWindowExW(0, kClass, L"Help", WS_POPUP | WS_CLIPCHILDREN, 0, kTop, kWidth,
                              kHeight, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        return false;
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    SetFocus(view_.Window());
    return true;
}

LRESULT CALLBACK HelpWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<HelpWindow, &HelpWindow::window_, &HelpWindow::HandleMessage>(window, message, wParam, lParam);
}

LRESULT HelpWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(window_);
        }
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && view_.Window() != nullptr) {
            SetFocus(view_.Window());
        }
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void HelpWindow::OnCreate()
{
    SetPropW(window_, kDoneButtonProperty, reinterpret_cast<HANDLE>(1));
    view_.Create(window_, 0, 0, kWidth, kHeight - kButtonStrip, instance_);
    doneButton_ = CreateWindowExW(0, L"BUTTON", L"Done", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                  kWidth - kButtonWidth - 4, kHeight - kButtonStrip + 3,
                                  kButtonWidth, kButtonStrip - 6, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance_,
                                  nullptr);
    SendMessageW(doneButton_, WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void HelpWindow::OnDestroy()
{
    RemovePropW(window_, kDoneButtonProperty);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
    if (endsProgram_) {
        PostQuitMessage(0);
    }
}

}  // namespace peghelp
