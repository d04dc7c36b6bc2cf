// PegHelp.exe file:NAME#ANCHOR
// Shows the topic ANCHOR of the help file NAME (found in the Windows folder).
// A second start replaces the topic shown by the first.
#include "platform/peghelp/src/HelpRequest.h"
#include "platform/peghelp/src/HelpWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    HWND previous = FindWindowW(L"PegHelpWindow", nullptr);
    if (previous != nullptr) {
        PostMessageW(previous, WM_COMMAND, IDOK, 0);
    }
    wchar_t windows[MAX_PATH] = L"C:\\windows";
    UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        lstrcpynW(windows, L"C:\\windows", MAX_PATH);
    }
    peghelp::HelpRequest request = peghelp::HelpRequest::Parse(commandLine, windows);
    peghelp::HelpDocument document;
    document.Load(request.path, request.name, request.anchor);

    peghelp::HelpWindow window(document);
    if (!window.Create(instance, true)) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return document.Found() ? 0 : 2;
}
