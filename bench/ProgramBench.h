// What the benchmarks that run the program's own windows in their process
// share: the message pump and the program's hidden main window.
#pragma once

#include <windows.h>

class MainWindow;
class NoteStore;

namespace bench {

// Dispatches everything queued now.
void Pump();

// Dispatches what is queued, gives the device a moment and dispatches again:
// a window that went has set off work in other processes (the desktop
// repaints what it uncovered, the shell's panels look again), which would
// otherwise land on whatever is timed next.
void Settle();

// Waits for object, answering meanwhile what other threads and processes
// send to this thread's windows (the program tells every top-level window
// of changes to the input panel and waits for each). False on timeout.
bool WaitAnswering(HANDLE object, DWORD timeoutMs);

// Ends the benchmark's process with code, its output flushed, without the
// static teardown at exit: the menu bar library's teardown walks its list
// of gesture hooks after that list was destroyed, which crashes now and
// then, and Wine's debugger then keeps the run waiting for good.
[[noreturn]] void EndProcess(int code);

// The program's hidden main window serving notes, made as the program
// makes it: its creation runs the store's start-up.
MainWindow* MakeMainWindow(NoteStore& notes);

// A floor's window is a plain window, which on the handheld has no input
// panel button over it. The device's panels serve every window of a process
// that uses the shell library, so they are told to leave this one without.
// Call before the window shows.
void LeaveWithoutPanelButton(HWND window);

// A hidden window that takes a note window's reports and does nothing with
// them, for notes opened without a store.
HWND MakeReportSink();

}  // namespace bench
