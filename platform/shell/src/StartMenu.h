// The Start menu: the device's programs, the Today screen and its settings.
#pragma once

#include "platform/shell/src/ProcessStarter.h"

#include <windows.h>

#include <string>
#include <vector>

namespace shell {

struct StartMenuEntry {
    std::wstring label;
    std::wstring program;  // empty for the shell's own entries
    UINT shellMessage;     // posted to the Today screen when program is empty
    bool help = false;     // opens the help of the program in front
};

class StartMenu {
public:
    explicit StartMenu(HWND today, ProgramStarter starter = StartProgram);

    // The entries in menu order; programs that are not on the device are left
    // out, and "Help" is there while a program's window is in front.
    std::vector<StartMenuEntry> Entries(HWND front = nullptr) const;
    // Drops the menu below the navigation bar and does what was picked;
    // front is the window the menu opened over. False when nothing was picked.
    bool Show(HWND owner, HWND front = nullptr);
    // Does what entry index stands for.
    bool Choose(size_t index, HWND front = nullptr);

private:
    static bool OpenHelp(HWND front);

    HWND today_;
    ProgramStarter starter_;
};

}  // namespace shell
