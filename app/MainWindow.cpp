#include "app/MainWindow.h"

#include "app/Application.h"
#include "app/MainMessages.h"
#include "dialogs/AboutBox.h"
#include "notes/NoteStore.h"
#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/Text.h"
#include "resources/resource.h"
#include "shared/SharedNoteMap.h"

#include <wchar.h>

HWND g_mainWindow = nullptr;

namespace {

const int kNameLength = 100;

// The note path this instance was started with: the one text 1127 may
// carry. It lives as long as the process.
wchar_t g_startPath[MAX_PATH] = L"";

// Makes finding the running instance and becoming it one step across
// processes: two starts at the same moment cannot both become it.
const wchar_t kStartMutexName[] = L"KORVA Jotlings Start";
// A first instance busy in its start-up (an alarm's question on screen)
// does not keep a second start waiting for ever.
const DWORD kStartWaitMs = 10000;
// Held from the search for a running instance until this one's main window
// can be found.
HANDLE g_startMutex = nullptr;

void LetOtherStartsIn()
{
    if (g_startMutex == nullptr)
        return;
    ReleaseMutex(g_startMutex);
    CloseHandle(g_startMutex);
    g_startMutex = nullptr;
}

bool RealKeyHeld(int key)
{
    return key != 0 && (GetAsyncKeyState(key) & 0x8000) != 0;
}
KeyHeldFunction g_keyHeld = RealKeyHeld;

// A desktop shell or a file association passes the note's path in quotes;
// the handheld's shell passes it bare. False for a path too long to open.
bool UnquotedPath(const wchar_t* commandLine, wchar_t* path, size_t count)
{
    while (*commandLine == L' ')
        ++commandLine;
    size_t length = wcslen(commandLine);
    while (length > 0 && commandLine[length - 1] == L' ')
        --length;
    if (length >= 2 && commandLine[0] == L'"' && commandLine[length - 1] == L'"') {
        ++commandLine;
        length -= 2;
    }
    if (length >= count)
        return false;
    wmemcpy(path, commandLine, length);
    path[length] = L'\0';
    return true;
}

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

// Run for the window's own creation only (a WM_CREATE sent again later by
// someone else is refused before it gets here).
void OnCreate(HWND window, LPARAM lParam)
{
    // The window can be found from here on: a second start need not wait
    // for the start-up check (an alarm's question may be on screen).
    LetOtherStartsIn();
    OwnThreadSend::Watch();
    const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    bool openedAlarm = g_noteStore != nullptr && g_noteStore->AttachMainWindow(window);
    BYTE* result = static_cast<BYTE*>(create->lpCreateParams);
    if (result != nullptr)
        *result = openedAlarm ? 1 : 0;
}

void OnOpenSharedNote()
{
    wchar_t path[MAX_PATH];
    if (g_noteStore != nullptr && ReadSharedNotePath(path, MAX_PATH))
        g_noteStore->OpenNoteByPath(path);
}

void OnOpenNotePath(WPARAM wParam)
{
    // Posted by this instance to itself; a number that is not exactly its
    // own start path is nobody's pointer.
    const wchar_t* path = reinterpret_cast<const wchar_t*>(wParam);
    if (path == nullptr || path != g_startPath || g_noteStore == nullptr)
        return;
    g_noteStore->OpenNoteByPath(path);
}

void OnRecordButton(LPARAM lParam)
{
    if (g_noteStore == nullptr || g_application == nullptr || HIWORD(lParam) != g_application->RecordButtonKey())
        return;
    HWND note = g_noteStore->NewNote(true);
    if (note != nullptr)
        SetForegroundWindow(note);
}

void OnCommand(HWND window, WPARAM wParam)
{
    if (HIWORD(wParam) == 0 && LOWORD(wParam) == kCmdAbout && g_aboutBox != nullptr &&
        g_aboutBox->Dialog() == nullptr)
        g_aboutBox->Run(window);
}

// The report of a save made by the program's own code is taken whatever the
// main window is doing meanwhile (it may itself be inside a send from the
// Today item); the same message from anywhere else is refused.
void OnNoteSaved(HWND window, WPARAM wParam, LPARAM lParam)
{
    const wchar_t* path = reinterpret_cast<const wchar_t*>(lParam);
    if (!OwnThreadSend::FromOwnThread(window, kMsgNoteSaved, wParam, lParam) || path == nullptr ||
        !IsPathBeingReported(path) || g_noteStore == nullptr)
        return;
    g_noteStore->OnNoteSaved(path, wParam != 0);
}

}  // namespace

void SetKeyHeldFunction(KeyHeldFunction function)
{
    g_keyHeld = function != nullptr ? function : RealKeyHeld;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(window, message, wParam, lParam);
    // The window's user data marks that its own creation has begun.
    Creation creation = CheckCreation(window, message, GetWindowLongPtrW(window, GWLP_USERDATA) != 0);
    if (creation == Creation::Repeated)
        return 0;
    if (creation == Creation::Own && message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    switch (message) {
    case WM_CREATE:
        OnCreate(window, lParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        // Ending the program keeps the open note, as Done would.
        if (g_noteStore != nullptr && !g_noteStore->CloseCurrentNote())
            return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_COMMAND:
        OnCommand(window, wParam);
        return 0;
    case WM_ACTIVATE:
        // Never seen, yet made active when a box it owns closes (the About
        // box): what the user was in comes forward instead.
        if (LOWORD(wParam) != WA_INACTIVE && g_noteStore != nullptr && g_noteStore->Window() != nullptr)
            PostMessageW(window, kMsgShowAllNotes, 0, 0);
        return 0;
    case WM_HOTKEY:
        OnRecordButton(lParam);
        return 0;
    case kMsgNoteSaved:
        OnNoteSaved(window, wParam, lParam);
        return 0;
    case kMsgNoteClosed:
        if (g_noteStore != nullptr)
            g_noteStore->OnNoteClosed();
        return 0;
    case kMsgNoteOpening:
    case kMsgShowAllNotes:
        if (g_noteStore != nullptr)
            g_noteStore->Show();
        return 0;
    case kMsgOpenSharedNote:
        OnOpenSharedNote();
        return 0;
    case kMsgOpenNotePath:
        OnOpenNotePath(wParam);
        return 0;
    case kMsgCheckExpired:
        if (g_noteStore != nullptr)
            g_noteStore->CheckExpired(true);
        return 0;
    case kMsgNewNote:
        if (g_noteStore != nullptr)
            g_noteStore->NewNote(false);
        return 0;
    case kMsgRunDeferred:
        if (g_noteStore != nullptr)
            g_noteStore->RunDeferredRequest();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool StartInstance(HINSTANCE instance, const wchar_t* commandLine)
{
    wchar_t className[kNameLength], title[kNameLength];
    LoadStringW(instance, IDS_APP_CLASS, className, kNameLength);
    LoadStringW(instance, IDS_APP_TITLE, title, kNameLength);

    g_startMutex = CreateMutexW(nullptr, FALSE, kStartMutexName);
    if (g_startMutex != nullptr)
        WaitForSingleObject(g_startMutex, kStartWaitMs);
    HWND running = FindWindowW(className, title);
    if (running != nullptr) {
        LetOtherStartsIn();
        g_mainWindow = running;
        HandToRunningInstance(running, commandLine);
        return false;
    }

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_JOTLINGS));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);

    BYTE openedAlarm = 0;
    g_mainWindow = CreateWindowExW(0, className, title, 0, 0, 0, 0, 0, nullptr, nullptr, instance, &openedAlarm);
    LetOtherStartsIn();
    if (g_mainWindow == nullptr)
        return false;
    UpdateWindow(g_mainWindow);

    if (commandLine == nullptr)
        return true;
    UINT message = MessageOfCommandWord(commandLine);
    if (message == kMsgCheckExpired) {
        // The timed start's check is done already when the start-up opened an alarm.
        if (!openedAlarm)
            PostMessageW(g_mainWindow, message, 0, 0);
    } else if (message != 0) {
        PostMessageW(g_mainWindow, message, 0, 0);
    } else if (UnquotedPath(commandLine, g_startPath, MAX_PATH))
        PostMessageW(g_mainWindow, kMsgOpenNotePath, reinterpret_cast<WPARAM>(g_startPath), 0);
    return true;
}

int RunMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYUP && message.wParam == 'Q' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            PostMessageW(g_mainWindow, WM_CLOSE, 0, 0);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}
