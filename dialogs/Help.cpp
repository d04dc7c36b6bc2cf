#include "dialogs/Help.h"

#include "platform/common/Text.h"

const wchar_t kHelpFile[] = L"Jotlings.htm";

namespace {

const wchar_t kHelpViewer[] = L"PegHelp.exe";

// The handheld's CreateProcessW finds a bare program name in \Windows and
// hands the child commandLine as its arguments. The desktop looks for a named
// program only in the current folder and gives the child the command line
// as it is, program name included, so the name goes in front of the
// arguments and the search (which covers the Windows folder) does the rest.
BOOL StartWithCreateProcess(const wchar_t* program, wchar_t* commandLine)
{
    wchar_t line[2 * MAX_PATH];
    FormatText(line, 2 * MAX_PATH, L"\"%s\" %s", program, commandLine != nullptr ? commandLine : L"");
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return FALSE;
    // The launcher does not wait for the viewer.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return TRUE;
}

StartProgramFunction g_startProgram = StartWithCreateProcess;

}  // namespace

void SetStartProgramFunction(StartProgramFunction function)
{
    g_startProgram = function != nullptr ? function : StartWithCreateProcess;
}

void ShowHelp(const wchar_t* file, const wchar_t* anchor)
{
    if (file == nullptr)
        return;
    // The name goes on without a folder: the viewer looks in \Windows.
    wchar_t path[MAX_PATH] = L"";
    CopyText(path, MAX_PATH, file);
    wchar_t commandLine[MAX_PATH];
    if (anchor != nullptr)
        FormatText(commandLine, MAX_PATH, L"file:%s#%s", path, anchor);
    else
        FormatText(commandLine, MAX_PATH, L"file:%s", path);
    g_startProgram(kHelpViewer, commandLine);
}
