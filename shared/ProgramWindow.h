// Finding the program's main window among the windows of every program on
// the device. Class and title are names any program can take: a window
// counts only when the process behind it runs the program's own executable.
#pragma once

#include <windows.h>

#include <stddef.h>

// The first top-level window of the class and title whose process runs
// program (a full path; any case, short or long form); null when none does.
// A foreign window of the same names is passed over, so it cannot hide the
// real one.
HWND FindProgramWindow(const wchar_t* className, const wchar_t* title, const wchar_t* program);

// Whether two paths name the same file: any case, short or long form, with
// or without the drive.
bool SamePath(const wchar_t* a, const wchar_t* b);

// Whether window's process runs program.
bool WindowRunsProgram(HWND window, const wchar_t* program);

// The executable of the process that owns window, as a full path; false
// when that process cannot be asked. Tests that stand in for the program
// with a window of their own process answer for that window here; every
// other window is left to the default, which asks the system.
using WindowProgramFunction = bool (*)(HWND window, wchar_t* path, size_t count);
extern WindowProgramFunction g_windowProgram;
bool ProgramOfWindowProcess(HWND window, wchar_t* path, size_t count);
