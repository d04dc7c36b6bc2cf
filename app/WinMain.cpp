// The entry of Jotlings.exe.
#include "app/MainWindow.h"
#include "app/MessageLoop.h"
#include "app/StartInstance.h"
#include "dialogs/AboutBox.h"
#include "notestore/NoteStore.h"
#include "process/Application.h"

#include <cecompat.h>
#include <commctrl.h>
#include <inkx.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    g_application = new Application();
    NoteStore* notes =
        new NoteStore(g_application->NotesFolder(), g_application->NoteExtension(), g_application->HeadCachePath());
    g_aboutBox = new AboutBox();
    g_application->SetInstance(instance);
    MainWindow* mainWindow = new MainWindow(*notes, *g_aboutBox);

    INITCOMMONCONTROLSEX controls = {8, ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    InitInkX();

    // A second start ends here without destroying its objects: it made no
    // window and wrote nothing, and the process's end frees what it took.
    if (!StartInstance(instance, commandLine, *mainWindow))
        return 0;
    int exitCode = RunMessageLoop(mainWindow->Window());

    delete mainWindow;
    delete g_aboutBox;
    g_aboutBox = nullptr;
    delete notes;
    delete g_application;
    g_application = nullptr;
    return exitCode;
}
