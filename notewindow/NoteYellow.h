// The yellow of a note's paper: the note window, its ink control, the
// all-notes window and its list all paint with it.
#pragma once

#include <windows.h>

const COLORREF kNoteYellow = RGB(255, 255, 0);
