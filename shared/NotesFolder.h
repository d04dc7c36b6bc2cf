// Where the program keeps its notes: "My Jotlings" in the device's
// documents folder. The program makes it; the Today item reads the same
// folder, whatever the setting "Jotlings" says.
#pragma once

#include <stddef.h>

// documents: the documents folder, or null for the device's own
// (SHGetSpecialFolderPath, CSIDL_PERSONAL). False when there is none or the
// path does not fit.
bool ProgramNotesFolder(const wchar_t* documents, wchar_t* out, size_t count);
