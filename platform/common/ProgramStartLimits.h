// What a program start can take, checked before anything is started. A path
// of MAX_PATH characters or more, or a command line past CreateProcessW's
// 32,767 characters, is refused by the handheld with an error; Wine's
// process creation instead crashes the caller on a path of some thousand
// characters. Everything that starts a program from a path it did not make
// itself (the shell's timed runs, the Today item) asks here first, and
// treats a refusal as a program that cannot start.
#pragma once

#include <windows.h>

#include <wchar.h>

// The longest program path, terminator not counted.
const size_t kMaxProgramPath = MAX_PATH - 1;
// The longest command line, terminator counted, as CreateProcessW has it.
const size_t kMaxCommandLine = 32767;

// Characters of the command line "program" arguments (the program quoted,
// as it is passed), terminator counted. Stops counting past the limits.
inline size_t CommandLineLength(const wchar_t* program, const wchar_t* arguments)
{
    size_t length = wcsnlen(program != nullptr ? program : L"", kMaxCommandLine + 1) + 3;
    if (arguments != nullptr && arguments[0] != L'\0') {
        length += 1 + wcsnlen(arguments, kMaxCommandLine + 1);
    }
    return length;
}

// True when program (not empty, shorter than MAX_PATH) and arguments (may be
// null) make a command line that can be started.
inline bool FitsProgramStart(const wchar_t* program, const wchar_t* arguments)
{
    if (program == nullptr || program[0] == L'\0') {
        return false;
    }
    if (wcsnlen(program, kMaxProgramPath + 1) > kMaxProgramPath) {
        return false;
    }
    return CommandLineLength(program, arguments) <= kMaxCommandLine;
}
