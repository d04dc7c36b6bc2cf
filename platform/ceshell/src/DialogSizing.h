// Where SHInitDialog puts a window, by its flags: the work area, less the
// input panel for SHIDIF_SIZEDLG while the panel is up, plus the menu bar's
// band for SHIDIF_FULLSCREENNOMENUBAR. False when the flags ask for no size.
#pragma once

#include <windows.h>

namespace ceshell {

bool DialogRect(DWORD flags, bool sipUp, RECT* out);

// Takes a top-level window's caption and heavy frame off, as the shell shows
// every program window (its title goes to the navigation bar). A thin border
// the window asked for stays.
bool RemoveCaption(HWND window);

// Takes the caption off and puts the window at area. A window already so
// is left alone; the one that changes is painted once, in the next paint
// rather than in the middle of the move (under Wine, each synchronous
// repaint of a shown window and its children costs milliseconds).
void FitDialog(HWND window, const RECT& area);

}  // namespace ceshell
