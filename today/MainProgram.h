// The Today item's way to the main program: the running one gets a
// message, otherwise the program is started with a command word.
#pragma once

#include <windows.h>

enum class MainCommand {
    AddNew,     // 1328 posted, or "addnew"
    ShowAll,    // 1326 posted, or "showall"
    OpenNote,   // the path handed over with 1125, or the path as command
    CheckDue,   // 1327 posted, or an empty command line
};

// The running main window of program, looked up afresh at each use; a
// window of another program under the same names is never it.
HWND FindMainWindow(const wchar_t* program);

// program: the main program's path (the setting "Path"); notePath only for
// OpenNote. instance goes into the start request.
void StartMain(MainCommand command, const wchar_t* program, const wchar_t* notePath, HINSTANCE instance);

// How a program is started; tests put a recorder here. The default is
// ShellExecuteExW with the handheld's request.
using ProgramStarter = void (*)(const wchar_t* program, const wchar_t* arguments, HINSTANCE instance);
extern ProgramStarter g_startProgram;
void ShellStart(const wchar_t* program, const wchar_t* arguments, HINSTANCE instance);
