// What a test steers in the loaded Today item library, through its one
// export for tests. The shell never calls it, so the system's own calls are
// what ships.
#pragma once

#include "shared/ProgramWindow.h"
#include "today/MainProgram.h"

#include <stddef.h>

// The program's notes folder; false when it cannot be known.
using NotesFolderFunction = bool (*)(wchar_t* out, size_t count);

struct TodayTestSeams {
    WindowProgramFunction windowProgram;    // the executable behind a window
    ProgramStarter startProgram;            // a start of the program
    NotesFolderFunction programNotesFolder; // where the program keeps its notes
};

// Null, or a null field, puts the system's own call back.
extern "C" void SetTodayTestSeams(const TodayTestSeams* seams);
using SetTodayTestSeamsFunction = void (*)(const TodayTestSeams* seams);
