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

void RemoveCaption(HWND window)
{
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    if (style & WS_CHILD)
        return;
    LONG_PTR frame = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
    LONG_PTR exFrame = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if ((style & frame) == 0 && (exStyle & exFrame) == 0)
        return;
    SetWindowLongPtrW(window, GWL_STYLE, style & ~frame);
    SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle & ~exFrame);
}

}  // namespace ceshell
