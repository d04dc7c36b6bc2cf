// shell.exe          the device's shell, the first program on the screen
// shell.exe -quit    ends the running shell (for the device driver and tests)
#include "platform/shell/src/ShellApp.h"

#include <commctrl.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    if (commandLine != nullptr && wcscmp(commandLine, L"-quit") == 0) {
        return shell::ShellApp::QuitRunning(20000) ? 0 : 1;
    }
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    shell::ShellApp app;
    if (!app.Start(instance)) {
        return 1;
    }
    return app.Run();
}
