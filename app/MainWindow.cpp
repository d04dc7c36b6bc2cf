#include "app/MainWindow.h"

#include "app/StartGate.h"
#include "dialogs/AboutBox.h"
#include "notestore/NoteReports.h"
#include "notestore/NoteStore.h"
#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/RegisterClassOnce.h"
#include "platform/common/Text.h"
#include "process/Application.h"
#include "process/MainMessages.h"
#include "resources/resource.h"
#include "shared/SharedNoteMap.h"

#include <wchar.h>

namespace {

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

}  // namespace

MainWindow::MainWindow(NoteStore& notes, AboutBox& aboutBox) : notes(notes), aboutBox(aboutBox) {}

MainWindow::~MainWindow()
{
    if (window != nullptr)
        Destroy();
}

// The one way the window goes: any other WM_DESTROY is another program's
// message, with the window still there.
void MainWindow::Destroy()
{
    destroying = true;
    DestroyWindow(window);
}

bool MainWindow::Create(HINSTANCE instance, const wchar_t* className, const wchar_t* title)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_JOTLINGS));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassOnce(windowClass);
    // Style 0: never shown.
    CreateWindowExW(0, className, title, 0, 0, 0, 0, 0, nullptr, nullptr, instance, this);
    return window != nullptr;
}

void MainWindow::PostCommandLine(const wchar_t* commandLine)
{
    if (commandLine == nullptr)
        return;
    UINT message = MessageOfCommandWord(commandLine);
    if (message == kMsgCheckExpired) {
        // The timed start's check is done already when the start-up opened an alarm.
        if (!openedAlarm)
            PostMessageW(window, message, 0, 0);
    } else if (message == kMsgNewNote && openedAlarm) {
        // Run now, the new note would close the alarm this start brought
        // back before the user saw it: it waits for the alarm to close.
        notes.AfterAlarm(NoteRequests::Kind::New, nullptr);
    } else if (message != 0) {
        PostMessageW(window, message, 0, 0);
    } else if (UnquotedPath(commandLine, startPath, MAX_PATH)) {
        if (openedAlarm)
            notes.AfterAlarm(NoteRequests::Kind::Open, startPath);
        else
            PostMessageW(window, kMsgOpenNotePath, reinterpret_cast<WPARAM>(startPath), 0);
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<MainWindow, &MainWindow::window, &MainWindow::HandleMessage>(window, message, wParam,
                                                                                          lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_DESTROY:
        if (destroying)
            PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND self = window;
        window = nullptr;
        return DefWindowProcW(self, message, wParam, lParam);
    }
    case WM_CLOSE:
        if (OnClose())
            Destroy();
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam);
        return 0;
    case WM_COMMAND:
        OnCommand(wParam);
        return 0;
    case WM_ACTIVATE:
        OnActivate(wParam);
        return 0;
    case WM_HOTKEY:
        OnRecordButton(lParam);
        return 0;
    case kMsgNoteSaved:
        OnNoteSaved(wParam, lParam);
        return 0;
    case kMsgNoteClosed:
        notes.OnNoteClosed();
        return 0;
    case kMsgNoteOpening:
    case kMsgShowAllNotes:
        notes.Show();
        return 0;
    case kMsgOpenSharedNote:
        OnOpenSharedNote();
        return 0;
    case kMsgOpenHandedOver:
        OnOpenHandedOver();
        return 0;
    case kMsgOpenNotePath:
        OnOpenNotePath(wParam);
        return 0;
    case kMsgCheckExpired:
        notes.CheckExpired(true);
        return 0;
    case kMsgNewNote:
        notes.NewNote(false);
        return 0;
    case kMsgRunDeferred:
        notes.RunDeferredRequest();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Run for the window's own creation only (a WM_CREATE sent again later by
// someone else is refused before it gets here).
void MainWindow::OnCreate()
{
    // The window can be found from here on: a second start need not wait
    // for the start-up check (an alarm's question may be on screen).
    StartGate::LetOthersIn();
    OwnThreadSend::Watch();
    openedAlarm = notes.AttachMainWindow(window);
}

// Ending the program keeps the open note, as Done would; true when the
// window may go.
bool MainWindow::OnClose()
{
    return notes.CloseCurrentNote();
}

// The device's session ends and the process with it once this returns:
// the open note is stored first, as ok stores it.
void MainWindow::OnEndSession(WPARAM wParam)
{
    if (wParam != FALSE)
        notes.CloseCurrentNote();
}

// Never seen, yet made active when a box it owns closes (the About box):
// what the user was in comes forward instead.
void MainWindow::OnActivate(WPARAM wParam)
{
    if (LOWORD(wParam) != WA_INACTIVE && notes.Window() != nullptr)
        PostMessageW(window, kMsgShowAllNotes, 0, 0);
}

void MainWindow::OnCommand(WPARAM wParam)
{
    if (HIWORD(wParam) == 0 && LOWORD(wParam) == kCmdAbout && aboutBox.Dialog() == nullptr)
        aboutBox.Run(window);
}

void MainWindow::OnRecordButton(LPARAM lParam)
{
    if (g_application == nullptr || HIWORD(lParam) != g_application->RecordButtonKey())
        return;
    HWND note = notes.NewNote(true);
    if (note != nullptr)
        SetForegroundWindow(note);
}

// The report of a save made by the program's own code is taken whatever the
// main window is doing meanwhile (it may itself be inside a send from the
// Today item); the same message from anywhere else is refused.
void MainWindow::OnNoteSaved(WPARAM wParam, LPARAM lParam)
{
    const wchar_t* path = reinterpret_cast<const wchar_t*>(lParam);
    if (!OwnThreadSend::FromOwnThread(window, kMsgNoteSaved, wParam, lParam) || path == nullptr ||
        !IsPathBeingReported(path))
        return;
    notes.OnNoteSaved(path, wParam != 0);
}

// The Today item waits in its send, the Today screen held, until this
// returns; and while the thread is inside another program's send, each of
// its own sends is watched by a hook, a round trip to the server under
// Wine. So the path is only copied here, and the note opens from the
// queue, as a tap in the list opens one.
void MainWindow::OnOpenSharedNote()
{
    wchar_t path[MAX_PATH];
    if (!ReadSharedNotePath(path, MAX_PATH))
        return;
    CopyText(handedOverPath, MAX_PATH, path);
    PostMessageW(window, kMsgOpenHandedOver, 0, 0);
}

// Carries nothing: posted by anyone, it opens at most the note the Today
// item named last, and that once. Two taps before it came open the later.
void MainWindow::OnOpenHandedOver()
{
    if (handedOverPath[0] == L'\0')
        return;
    wchar_t path[MAX_PATH];
    CopyText(path, MAX_PATH, handedOverPath);
    handedOverPath[0] = L'\0';
    notes.OpenNoteByPath(path);
}

void MainWindow::OnOpenNotePath(WPARAM wParam)
{
    // Posted by this instance to itself; a number that is not exactly its
    // own start path is nobody's pointer.
    const wchar_t* path = reinterpret_cast<const wchar_t*>(wParam);
    if (path == nullptr || path != startPath)
        return;
    notes.OpenNoteByPath(path);
}
