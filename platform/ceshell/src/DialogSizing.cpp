#include "DialogSizing.h"

#include "ScreenAreas.h"
#include "aygshell.h"

namespace ceshell {

bool DialogRect(DWORD flags, bool sipUp, RECT* out)
{
    RECT area = WorkArea();
    if (flags & SHIDIF_FULLSCREENNOMENUBAR) {
        area.bottom = ScreenHeight();
    } else if (flags & SHIDIF_SIZEDLGFULLSCREEN) {
        // the work area as it is
    } else if (flags & SHIDIF_SIZEDLG) {
        if (sipUp)
            area.bottom = InputPanelRect().top;
    } else {
        return false;
    }
    *out = area;
    return true;
}

bool RemoveCaption(HWND window)
{
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (style & WS_CHILD)
        return false;
    // A caption and the frames that go with it are taken off; a window that
    // asked only for a thin border keeps it, as the handheld's does.
    LONG_PTR frame = WS_DLGFRAME | WS_THICKFRAME | WS_SYSMENU;
    LONG_PTR exFrame = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if ((style & frame) == 0 && (exStyle & exFrame) == 0)
        return false;
    if (style & WS_DLGFRAME)
        frame |= WS_BORDER;
    if (style & frame)
        SetWindowLongPtrW(window, GWL_STYLE, style & ~frame);
    if (exStyle & exFrame)
        SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle & ~exFrame);
    return true;
}

void FitDialog(HWND window, const RECT& area)
{
    bool framed = RemoveCaption(window);
    RECT now = {};
    GetWindowRect(window, &now);
    if (!framed && EqualRect(&now, &area))
        return;
    SetWindowPos(window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOREDRAW | SWP_NOCOPYBITS);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace ceshell
