#include "cecompat.h"

// The real call of user32; cecompat.h sends the program's calls here.
#undef CreateWindowExW

HWND WINAPI CeCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                              int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    // Desktop Win32 makes every top-level window that is neither a child nor
    // a pop-up an overlapped one and gives it a caption whatever its style
    // says. The handheld gives a window only the frame its style asks for, so
    // such a window is made as a pop-up, which desktop Win32 leaves as asked.
    // A message-only window has no frame to speak of and is left be.
    bool topLevel = (style & (WS_CHILD | WS_POPUP)) == 0 && parent != HWND_MESSAGE;
    if (topLevel && (style & WS_CAPTION) != WS_CAPTION)
        style |= WS_POPUP;
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu, instance, param);
}
