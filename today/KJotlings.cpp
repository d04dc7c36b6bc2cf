// KJotlings.dll, the Today item library: its entry points. The Today screen
// calls ordinal 240 for the item's window and ordinal 241 as the procedure
// of its options dialog (resource 500).
#include "diag/TraceLog.h"
#include "platform/common/OwnThreadSend.h"
#include "shared/ProgramWindow.h"
#include "today/MainProgram.h"
#include "today/TestSeams.h"
#include "today/TodayConstants.h"
#include "today/TodayItem.h"
#include "today/TodaySettings.h"

#include <todaycmn.h>

const wchar_t kTodayClassName[] = L"TodayClass";
const wchar_t kTodayWindowTitle[] = L"KORVA Jotlings";
const wchar_t kNoteExtension[] = L".jot";

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_todayItem.library = instance;
        // The log is the program's, started afresh by each of its runs; the
        // item only adds to it.
        TraceLog::freshLog = false;
        g_todaySettings.Read();
    } else if (reason == DLL_PROCESS_DETACH) {
        // The item's watchers hold the library while they run, and the window
        // stopped them when it was destroyed: no code of ours runs after this.
        UnregisterClassW(kTodayClassName, instance);
        // A watch this library put on the host's thread points into it.
        OwnThreadSend::UnwatchAll();
    }
    return TRUE;
}

extern "C" HWND InitializeCustomItem(TODAYLISTITEM* item, HWND host)
{
    return g_todayItem.Create(item, host);
}

extern "C" BOOL CustomItemOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return g_todaySettings.DialogMessage(dialog, message, wParam, lParam);
}

// No class is offered; whoever asks is given a new note instead.
extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object)
{
    if (object != nullptr)
        *object = nullptr;
    g_todayItem.ReadPaths();
    g_todayItem.Command(MainCommand::AddNew);
    return S_OK;
}

void SetTodayTestSeams(const TodayTestSeams* seams)
{
    g_windowProgram = seams != nullptr && seams->windowProgram != nullptr ? seams->windowProgram
                                                                         : ProgramOfWindowProcess;
    g_startProgram = seams != nullptr && seams->startProgram != nullptr ? seams->startProgram : ShellStart;
    g_programNotesFolder = seams != nullptr && seams->programNotesFolder != nullptr ? seams->programNotesFolder
                                                                                   : DeviceNotesFolder;
}
