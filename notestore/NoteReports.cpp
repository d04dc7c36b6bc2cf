#include "notestore/NoteReports.h"

namespace {

// The path being reported by ReportNoteSaved while its message is sent.
const wchar_t* g_reportingPath = nullptr;

}  // namespace

void ReportNoteSaved(HWND mainWindow, const wchar_t* path, bool isNew)
{
    const wchar_t* previous = g_reportingPath;
    g_reportingPath = path;
    SendMessageW(mainWindow, kMsgNoteSaved, isNew ? 1 : 0, reinterpret_cast<LPARAM>(path));
    g_reportingPath = previous;
}

bool IsPathBeingReported(const wchar_t* path)
{
    return path != nullptr && path == g_reportingPath;
}
