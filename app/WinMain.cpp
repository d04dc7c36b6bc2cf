// The entry of Jotlings.exe.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "dialogs/AboutBox.h"
#include "notes/NoteStore.h"

#include <cecompat.h>
#include <commctrl.h>
#include <inkx.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    g_application = new Application();
    g_noteStore = new NoteStore(g_application->NotesFolder(), g_application->NoteExtension());
    g_aboutBox = new AboutBox();
    g_application->SetInstance(instance);

    INITCOMMONCONTROLSEX controls = {8, ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    InitInkX();

    if (!StartInstance(instance, commandLine))
        return 0;
    int exitCode = RunMessageLoop();

    delete g_aboutBox;
    g_aboutBox = nullptr;
    delete g_noteStore;
    g_noteStore = nullptr;
    delete g_application;
    g_application = nullptr;
    return exitCode;
}
