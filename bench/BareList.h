// The floors' list: a bare report list view with the all-notes list's two
// columns at its place, and its rows filled the plainest way.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace bench {

HWND MakeBareList(HWND parent);

// The floors' menu bar band, as the handheld's is: a plain top-level window
// of its own along the screen's bottom, owned by the window it serves and
// shown at once, with a toolbar filling it. Returns the toolbar.
HWND MakeBareBand(HWND owner);

// Empties the list and fills it with rows of {time text, title}, with
// redrawing held off, then draws it.
void RefillBareList(HWND list, const std::vector<std::pair<std::wstring, std::wstring>>& rows);

}  // namespace bench
