// Where SHInitDialog puts a window, by its flags: the work area, less the
// input panel for SHIDIF_SIZEDLG while the panel is up, plus the menu bar's
// band for SHIDIF_FULLSCREENNOMENUBAR. False when the flags ask for no size.
#pragma once

#include <windows.h>

namespace ceshell {

bool DialogRect(DWORD flags, bool sipUp, RECT* out);

// Makes a top-level window captionless and borderless, as the shell shows
// every program window (its title goes to the navigation bar).
void RemoveCaption(HWND window);

}  // namespace ceshell
