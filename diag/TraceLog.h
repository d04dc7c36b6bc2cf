// A diagnostics log: formatted text appended to a file in the device's root.
#pragma once

#include <windows.h>
#include <stdarg.h>
#include <stdio.h>

class TraceLog {
public:
    explicit TraceLog(const wchar_t* fileName = nullptr);
    virtual ~TraceLog();

    void DeleteLog();
    void OpenLog();
    void CloseLog();
    // Writes text unchanged, or as a format over args when args is given.
    void WriteLog(const wchar_t* text, va_list* args = nullptr);

    const wchar_t* FileName() const { return fileName; }

    // While set, the next Trace starts the log afresh; so each run of the
    // program has a log of its own.
    static bool freshLog;

private:
    CRITICAL_SECTION lock;
    wchar_t fileName[MAX_PATH];
    FILE* file = nullptr;
};

// Appends a formatted line (no line break is added) to "\Trace.log".
void Trace(const wchar_t* format, ...);
