// Opens the platform's help viewer on a topic of the program's help file.
#pragma once

#include <windows.h>

extern const wchar_t kHelpFile[];   // "Jotlings.htm"

// Starts "PegHelp.exe" with "file:FILE#ANCHOR" ("file:FILE" without an
// anchor) and returns at once; a viewer that cannot start is not reported.
void ShowHelp(const wchar_t* file, const wchar_t* anchor);

// How the viewer is started: CreateProcessW(program, commandLine, ...) by
// default. Tests point it elsewhere; null puts the default back.
typedef BOOL (*StartProgramFunction)(const wchar_t* program, wchar_t* commandLine);
void SetStartProgramFunction(StartProgramFunction function);
