#include "shared/ProgramWindow.h"

#include "platform/common/Text.h"

namespace {

// The full, long form of a path, so that "\Program Files" (the handheld's
// spelling, without a drive), "PROGRA~1" and "C:\Program Files" compare
// equal; what the system cannot expand is kept as it is.
void LongForm(const wchar_t* path, wchar_t* out, size_t count)
{
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        CopyText(full, MAX_PATH, path);
    length = GetLongPathNameW(full, out, DWORD(count));
    if (length == 0 || length >= count)
        CopyText(out, count, full);
}

}  // namespace

bool SamePath(const wchar_t* a, const wchar_t* b)
{
    if (CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL)
        return true;
    wchar_t longA[MAX_PATH], longB[MAX_PATH];
    LongForm(a, longA, MAX_PATH);
    LongForm(b, longB, MAX_PATH);
    return CompareStringOrdinal(longA, -1, longB, -1, TRUE) == CSTR_EQUAL;
}

bool ProgramOfWindowProcess(HWND window, wchar_t* path, size_t count)
{
    DWORD processId = 0;
    if (count == 0 || GetWindowThreadProcessId(window, &processId) == 0 || processId == 0)
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return false;
    DWORD length = DWORD(count);
    bool known = QueryFullProcessImageNameW(process, 0, path, &length) && length > 0 && length < count;
    CloseHandle(process);
    return known;
}

WindowProgramFunction g_windowProgram = ProgramOfWindowProcess;

bool WindowRunsProgram(HWND window, const wchar_t* program)
{
    wchar_t image[MAX_PATH] = L"";
    if (window == nullptr || program == nullptr || program[0] == L'\0' || !g_windowProgram(window, image, MAX_PATH))
        return false;
    return SamePath(image, program);
}

HWND FindProgramWindow(const wchar_t* className, const wchar_t* title, const wchar_t* program)
{
    for (HWND window = FindWindowExW(nullptr, nullptr, className, title); window != nullptr;
         window = FindWindowExW(nullptr, window, className, title)) {
        if (WindowRunsProgram(window, program))
            return window;
    }
    return nullptr;
}
