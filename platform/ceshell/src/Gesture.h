// Tap-and-hold. A held stylus is recognised by watching the thread's mouse
// messages for half a second; a right-click is a held stylus too, for
// desktop users: a hook turns the right button into the left one and marks
// the press as already held.
#pragma once

#include <windows.h>

#include "aygshell.h"

namespace ceshell {

// How long the stylus must stay down, and how far it may wander.
constexpr DWORD kHoldDelayMs = 500;
constexpr DWORD kLongHoldDelayMs = 1000;
constexpr int kHoldSlackPixels = 5;

// Puts the right-click hook on the calling thread (once per thread).
void EnsureGestureHook();

// Takes every thread's hook off (the module is unloading).
void RemoveGestureHooks();

DWORD RecognizeGesture(const SHRGINFO& info);

}  // namespace ceshell
