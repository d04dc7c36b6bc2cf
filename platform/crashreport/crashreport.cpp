// crashreport PID EVENT
// The device's debugger (the prefix's AeDebug "Debugger"), started by the
// system for a process that crashed. It writes C:\crashes\NAME-PID.txt: the
// process's path, then Wine's own account of the crash (the fault, the
// backtrace with the functions' names, the modules and the threads), and
// lets Wine's debugger end the process. On a headless device nobody answers
// a crash dialog: without this, the crashed process waits for ever and
// nothing says where it crashed.
#include <windows.h>

#include <cwchar>

namespace {

const wchar_t kReportFolder[] = L"C:\\crashes";

// The crashed process's full path; "unknown" when it cannot be asked.
void ProcessPath(DWORD pid, wchar_t* path, DWORD count)
{
    wcscpy(path, L"unknown");
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (process == nullptr)
        return;
    DWORD size = count;
    if (!QueryFullProcessImageNameW(process, 0, path, &size))
        wcscpy(path, L"unknown");
    CloseHandle(process);
}

const wchar_t* BaseName(const wchar_t* path)
{
    const wchar_t* slash = wcsrchr(path, L'\\');
    return slash != nullptr ? slash + 1 : path;
}

HANDLE CreateReport(const wchar_t* processPath, DWORD pid)
{
    CreateDirectoryW(kReportFolder, nullptr);
    wchar_t name[MAX_PATH + 64];
    _snwprintf(name, MAX_PATH + 63, L"%ls\\%ls-%lu.txt", kReportFolder, BaseName(processPath),
               static_cast<unsigned long>(pid));
    name[MAX_PATH + 63] = L'\0';
    // Inherited by Wine's debugger, which writes its account into it.
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    return CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void WriteLine(HANDLE file, const wchar_t* text)
{
    char bytes[2 * MAX_PATH + 64];
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof(bytes) - 2, nullptr, nullptr);
    if (length <= 0)
        return;
    bytes[length - 1] = '\n';  // over the terminator
    DWORD written = 0;
    WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr);
}

// Wine's debugger in its automatic mode, given the system's process id and
// event as they came; true when it ran to its end.
bool RunWineDebugger(const wchar_t* pid, const wchar_t* event, HANDLE report)
{
    wchar_t commandLine[128];
    _snwprintf(commandLine, 127, L"winedbg.exe --auto %ls %ls", pid, event);
    commandLine[127] = L'\0';
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = report;
    startup.hStdError = report;
    PROCESS_INFORMATION started = {};
    // Handles are inherited: the event the system gave this process is the
    // one the debugger sets once it is attached.
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &started))
        return false;
    CloseHandle(started.hThread);
    WaitForSingleObject(started.hProcess, INFINITE);
    CloseHandle(started.hProcess);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 3)
        return 2;
    DWORD pid = wcstoul(argv[1], nullptr, 10);
    wchar_t path[MAX_PATH];
    ProcessPath(pid, path, MAX_PATH);
    HANDLE report = CreateReport(path, pid);
    if (report == INVALID_HANDLE_VALUE)
        return 1;
    wchar_t line[MAX_PATH + 64];
    _snwprintf(line, MAX_PATH + 63, L"Crashed process: %ls (process id %lu)", path,
               static_cast<unsigned long>(pid));
    line[MAX_PATH + 63] = L'\0';
    WriteLine(report, line);
    if (!RunWineDebugger(argv[1], argv[2], report))
        WriteLine(report, L"Wine's debugger could not be started: no backtrace.");
    CloseHandle(report);
    LocalFree(argv);
    return 0;
}
