#include "PanelWindow.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

#include "Module.h"

namespace ceshell {

bool RegisterPanelClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    return RegisterClassOnce(windowClass);
}

bool InputPanelWindow::Create(HINSTANCE instance)
{
    if (!RegisterPanelClass(instance, className_, Proc))
        return false;
    RECT area = Area();
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className_, L"Input Panel",
                              WS_POPUP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                              nullptr, nullptr, instance, this);
    return window_ != nullptr;
}

void InputPanelWindow::Destroy()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
    window_ = nullptr;
}

void InputPanelWindow::WithdrawClass(const wchar_t* className)
{
    UnregisterClassW(className, ModuleInstance());
}

LRESULT CALLBACK InputPanelWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<InputPanelWindow, &InputPanelWindow::window_, &InputPanelWindow::Dispatch>(
        window, message, wParam, lParam);
}

LRESULT InputPanelWindow::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCDESTROY:
        return LetObjectWindowGo(window_, message, wParam, lParam);
    default:
        return HandleMessage(message, wParam, lParam);
    }
}

}  // namespace ceshell
