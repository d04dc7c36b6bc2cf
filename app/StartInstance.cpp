#include "app/StartInstance.h"

#include "app/MainWindow.h"
#include "app/StartGate.h"
#include "process/Application.h"
#include "process/MainMessages.h"
#include "resources/resource.h"
#include "shared/ProgramWindow.h"

#include <wchar.h>

namespace {

const int kNameLength = 100;

bool RealKeyHeld(int key)
{
    return key != 0 && (GetAsyncKeyState(key) & 0x8000) != 0;
}
KeyHeldFunction g_keyHeld = RealKeyHeld;

void HandToRunningInstance(HWND running, const wchar_t* commandLine)
{
    bool recordHeld = g_keyHeld(g_application->RecordButtonKey());
    if (commandLine == nullptr)
        return;
    if (wcscmp(commandLine, kWordRunAtTime) == 0)
        PostMessageW(running, kMsgCheckExpired, 0, 0);
    else if (recordHeld && g_application->RecBtn())
        PostMessageW(running, WM_HOTKEY, 0, LPARAM(g_application->RecordButtonKey()) << 16);
    else
        PostMessageW(running, kMsgShowAllNotes, 0, 0);
}

}  // namespace

void SetKeyHeldFunction(KeyHeldFunction function)
{
    g_keyHeld = function != nullptr ? function : RealKeyHeld;
}

bool StartInstance(HINSTANCE instance, const wchar_t* commandLine, MainWindow& mainWindow)
{
    wchar_t className[kNameLength], title[kNameLength];
    LoadStringW(instance, IDS_APP_CLASS, className, kNameLength);
    LoadStringW(instance, IDS_APP_TITLE, title, kNameLength);

    // The running instance is a window of this very executable: another
    // program's window under the same names is handed nothing.
    wchar_t self[MAX_PATH] = L"";
    DWORD selfLength = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (selfLength == 0 || selfLength >= MAX_PATH)
        self[0] = L'\0';
    StartGate::Enter();
    HWND running = FindProgramWindow(className, title, self);
    if (running != nullptr) {
        StartGate::LetOthersIn();
        HandToRunningInstance(running, commandLine);
        return false;
    }
    bool made = mainWindow.Create(instance, className, title);
    StartGate::LetOthersIn();
    if (!made)
        return false;
    UpdateWindow(mainWindow.Window());
    mainWindow.PostCommandLine(commandLine);
    return true;
}
