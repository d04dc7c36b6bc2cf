#include "platform/shell/src/ProcessStarter.h"

#include "platform/common/ProgramStartLimits.h"

#include <windows.h>

#include <vector>

namespace shell {

bool StartProgram(const std::wstring& program, const std::wstring& arguments)
{
    if (!FitsProgramStart(program.c_str(), arguments.c_str())) {
        return false;
    }
    std::wstring line = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        line += L" " + arguments;
    }
    std::vector<wchar_t> writable(line.begin(), line.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        L"C:\\", &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace shell
