#include "diag/TraceLog.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

bool TraceLog::freshLog = true;

namespace {
const wchar_t kDefaultLogFile[] = L"\\Trace.log";
}

TraceLog::TraceLog(const wchar_t* name)
{
    InitializeCriticalSection(&lock);
    if (name == nullptr)
        name = kDefaultLogFile;
    // A name that does not fit the buffer is refused rather than cut: a cut
    // name could point at another file.
    if (wcslen(name) < MAX_PATH)
        wcscpy(fileName, name);
    else
        fileName[0] = L'\0';
}

TraceLog::~TraceLog()
{
    CloseLog();
    DeleteCriticalSection(&lock);
}

void TraceLog::DeleteLog()
{
    if (fileName[0] != L'\0')
        DeleteFileW(fileName);
}

void TraceLog::OpenLog()
{
    if (file != nullptr)
        CloseLog();
    if (fileName[0] == L'\0')
        return;
    EnterCriticalSection(&lock);
    file = _wfopen(fileName, L"a");
    // The lock is held only while a file is open; CloseLog leaves it.
    if (file == nullptr)
        LeaveCriticalSection(&lock);
}

void TraceLog::CloseLog()
{
    if (file == nullptr)
        return;
    fclose(file);
    file = nullptr;
    LeaveCriticalSection(&lock);
}

void TraceLog::WriteLog(const wchar_t* text, va_list* args)
{
    bool openedHere = false;
    if (file == nullptr) {
        OpenLog();
        openedHere = true;
    }
    if (file != nullptr && text != nullptr && text[0] != L'\0') {
        if (args != nullptr) {
            // Formatted through the Windows runtime, where "%s" is a wide
            // string as on the handheld.
            va_list count;
            va_copy(count, *args);
            int length = _vscwprintf(text, count);
            va_end(count);
            if (length > 0) {
                wchar_t* line = static_cast<wchar_t*>(malloc((length + 1) * sizeof(wchar_t)));
                if (line != nullptr) {
                    _vsnwprintf(line, length + 1, text, *args);
                    line[length] = L'\0';
                    fputws(line, file);
                    free(line);
                }
            }
        } else {
            fputws(text, file);
        }
    }
    if (openedHere)
        CloseLog();
}

void Trace(const wchar_t* format, ...)
{
    TraceLog log;
    if (TraceLog::freshLog) {
        log.DeleteLog();
        TraceLog::freshLog = false;
    }
    va_list args;
    va_start(args, format);
    log.WriteLog(format, &args);
    va_end(args);
}
