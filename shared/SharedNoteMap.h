// "JotlingsMap": 520 bytes of shared memory through which the Today item
// hands the running program the path of the note the user tapped, for the
// length of one sent message (1125).
#pragma once

#include <windows.h>

#include <stddef.h>

extern const wchar_t kSharedNoteMapName[];   // "JotlingsMap"
const DWORD kSharedNoteMapSize = 520;

// The Today item's side: writes path into the map, sends 1125 to
// mainWindow and waits for it (at most timeoutMs), then lets the map go.
// False when the map could not be made, stood already (another program's)
// or the path does not fit (nothing is sent then), or when the program did
// not answer in time.
bool HandOverNotePath(HWND mainWindow, const wchar_t* path, UINT timeoutMs = INFINITE);

// The program's side, while it handles 1125: copies the path in the map
// into out (count characters, always terminated). False when there is no
// map or no path in it.
bool ReadSharedNotePath(wchar_t* out, size_t count);
