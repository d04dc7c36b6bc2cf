#include "tests/support/TestWindow.h"

namespace {

const wchar_t kClass[] = L"JotlingsTestWindow";

void RegisterOnce(const wchar_t* name, WNDPROC procedure)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW existing;
    if (GetClassInfoW(instance, name, &existing))
        return;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

}  // namespace

TestWindow::TestWindow(HWND parent, DWORD style, int id) : log(ownLog_), name_("window")
{
    if (style == 0)
        style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_CAPTION;
    Create(kClass, style, RECT{0, 0, 240, 320}, parent, id, L"Test window");
}

TestWindow::TestWindow(MessageLog& shared, const char* name, DWORD style, RECT place, HWND parent,
                       const wchar_t* title, const wchar_t* windowClass)
    : log(shared), name_(name)
{
    Create(windowClass != nullptr ? windowClass : kClass, style, place, parent, 0, title);
}

void TestWindow::Create(const wchar_t* windowClass, DWORD style, RECT place, HWND parent, int id,
                        const wchar_t* title)
{
    RegisterOnce(windowClass, Proc);
    window_ = CreateWindowExW(0, windowClass, title, style, place.left, place.top, place.right - place.left,
                              place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), this);
}

TestWindow::~TestWindow()
{
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK TestWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    TestWindow* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    self->log.Record(self->name_, window, message, wParam, lParam);
    if (self->onMessage)
        self->onMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        self->window_ = nullptr;
    LRESULT result = 0;
    if (self->answer && self->answer(message, wParam, lParam, &result))
        return result;
    return DefWindowProcW(window, message, wParam, lParam);
}
