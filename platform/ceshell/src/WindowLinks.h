// The windows whose procedure a menu bar stands in front of (its owner, and
// the toolbar it is made of), with the procedure each had before.
// comctl32's SetWindowSubclass would do the same, but Wine keeps its chain
// in a window property and reads it, a round trip to the server, at every
// message the window gets: an all-notes window whose list of a thousand
// rows is filled again takes thousands of notifications, and paid more for
// that than for the fill itself; a toolbar is built and asked by dozens of
// messages while its window opens. This list is the process's own and costs
// a look in memory.
#pragma once

#include <windows.h>

namespace ceshell {

class MenuBar;

class WindowLinks {
public:
    // Puts proc in front of window's procedure, serving bar; a window that
    // has proc there already (from a bar before) keeps it and serves bar.
    static bool Link(HWND window, WNDPROC proc, MenuBar* bar);
    // For a message to window: the bar it serves (null while none does) and
    // the procedure to pass the message on to. False for a window not linked.
    static bool Find(HWND window, MenuBar** bar, WNDPROC* previous);
    // The bar no longer serves window. proc leaves the chain when it is the
    // window's procedure; when a later subclass stands in front of it, it
    // stays, passing every message on, until the window goes.
    static void Unlink(HWND window, WNDPROC proc);
    // window is gone (its WM_NCDESTROY): forgotten.
    static void Forget(HWND window);
};

}  // namespace ceshell
