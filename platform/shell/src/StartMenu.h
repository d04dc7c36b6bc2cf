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
};

class StartMenu {
public:
    explicit StartMenu(HWND today, ProgramStarter starter = StartProgram);

    // The entries in menu order; programs that are not on the device are left out.
    std::vector<StartMenuEntry> Entries() const;
    // Drops the menu below the navigation bar and does what was picked.
    // False when nothing was picked.
    bool Show(HWND owner);
    // Does what entry index stands for.
    bool Choose(size_t index);

private:
    HWND today_;
    ProgramStarter starter_;
};

}  // namespace shell
