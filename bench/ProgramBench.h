// What the benchmarks that run the program's own windows in their process
// share: the message pump and the program's hidden main window.
#pragma once

#include <windows.h>

namespace bench {

// Dispatches everything queued now.
void Pump();

// The program's hidden main window, made as the program makes it, which
// note windows and the all-notes window report to.
HWND MakeMainWindow();

}  // namespace bench
