#include "platform/shell/src/WindowFitter.h"

#include "platform/shell/src/ShellConstants.h"

namespace shell {

namespace {

bool IsDialog(HWND window)
{
    wchar_t className[16];
    return GetClassNameW(window, className, 16) > 0 && wcscmp(className, L"#32770") == 0;
}

}  // namespace

bool WindowFitter::Fit(HWND window)
{
    if (window == nullptr || !IsWindow(window) || !IsWindowVisible(window)) {
        return false;
    }
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if ((style & WS_CHILD) != 0 || IsIconic(window)) {
        return false;
    }
    UINT_PTR fullScreen = reinterpret_cast<UINT_PTR>(GetPropW(window, kFullScreenProperty));
    if ((fullScreen & kFullScreenTaskBarHidden) != 0) {
        return false;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    if (rect.top >= kWorkTop) {
        return false;
    }
    if (IsDialog(window)) {
        int height = rect.bottom - rect.top;
        if (height > kWorkBottom - kWorkTop) {
            height = kWorkBottom - kWorkTop;
        }
        int left = rect.left < 0 ? 0 : rect.left;
        SetWindowPos(window, nullptr, left, kWorkTop, rect.right - rect.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    }
    if ((style & WS_CAPTION) != WS_CAPTION) {
        // A captionless window placed itself; it is its program's to size.
        return false;
    }
    SetWindowLongPtrW(window, GWL_STYLE, style & ~(WS_CAPTION | WS_THICKFRAME | WS_SYSMENU));
    SetWindowPos(window, nullptr, 0, kWorkTop, kScreenWidth, kWorkBottom - kWorkTop,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

}  // namespace shell
