// One instance runs; a second start hands its command word to it and ends.
// These tests start the real Jotlings.exe as separate processes on the
// device's one desktop.
#include "notes/ExpiryRules.h"
#include "process/MainMessages.h"
#include "shared/NoteHead.h"
#include "shared/Registry.h"
#include "tests/support/MessageLog.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const wchar_t kClass[] = L"JOTLINGS";
const wchar_t kTitle[] = L"KORVA Jotlings";

// Starts Jotlings.exe with a command line; the handle is the caller's.
HANDLE StartProgram(const std::wstring& arguments)
{
    std::wstring command = L"\"" + BesideTestProgram(L"Jotlings.exe") + L"\"";
    if (!arguments.empty())
        command += L" " + arguments;
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

DWORD WaitForExit(HANDLE process, DWORD ms = 20000)
{
    DWORD code = 999;
    if (WaitForSingleObject(process, ms) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    return code;
}

// Closes an instance that an earlier test or program left running, so that
// the window a test finds is the one it means.
void CloseRunningInstances()
{
    for (int i = 0; i < 400; ++i) {
        HWND running = FindWindowW(kClass, kTitle);
        if (running == nullptr)
            return;
        PostMessageW(running, WM_CLOSE, 0, 0);
        Sleep(25);
    }
}

HWND AwaitWindow(const wchar_t* className, const wchar_t* title)
{
    HWND found = nullptr;
    for (int i = 0; i < 400 && found == nullptr; ++i) {
        found = FindWindowW(className, title);
        if (found == nullptr)
            Sleep(25);
    }
    return found;
}

// The notes folder of the real program on the device.
std::wstring DeviceNotesFolder()
{
    wchar_t documents[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE);
    return std::wstring(documents) + L"\\My Jotlings";
}

// Removes the note of the folder titled title; true when there was one.
bool RemoveNoteTitled(const std::wstring& folder, const std::wstring& title)
{
    bool found = false;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW((folder + L"\\*.jot").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        std::wstring path = folder + L"\\" + data.cFileName;
        NoteHead head;
        if (ReadNoteHead(path.c_str(), &head) && title == head.title) {
            DeleteFileW(path.c_str());
            found = true;
        }
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

// The main window of the program process, once it has made one.
HWND AwaitWindowOf(HANDLE process)
{
    DWORD id = GetProcessId(process);
    for (int i = 0; i < 400; ++i) {
        for (HWND window = FindWindowExW(nullptr, nullptr, kClass, kTitle); window != nullptr;
             window = FindWindowExW(nullptr, window, kClass, kTitle)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == id)
                return window;
        }
        Sleep(25);
    }
    return nullptr;
}

}  // namespace

// Another program's window under the main window's class and title (here
// the test's own) is not the running instance: a start hands it nothing,
// runs as the instance itself, and the next start hands its word there.
TEST(RunningInstanceTest, AForeignWindowUnderTheProgramsNamesIsHandedNothing)
{
    CloseRunningInstances();
    MessageLog received{kMessageOnly, kMainMessages};
    received.Keep([](UINT message) { return message >= WM_USER || message == WM_HOTKEY; });
    TestWindow foreign{received, "foreign", 0, RECT{}, nullptr, kTitle, kClass};
    for (const wchar_t* word : {L"AppRunAtTime", L"showall"}) {
        HANDLE first = StartProgram(word);
        ASSERT_NE(first, nullptr);
        HWND own = AwaitWindowOf(first);
        EXPECT_NE(own, nullptr) << "the start handed its word to the foreign window and ended";
        HANDLE second = StartProgram(L"AppRunAtTime");
        EXPECT_EQ(WaitForExit(second), 0u) << "a later start hands over to the real instance";
        CloseHandle(second);
        EXPECT_EQ(AwaitWindowOf(first), own);
        if (own != nullptr)
            PostMessageW(own, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForExit(first), 0u);
        CloseHandle(first);
        PumpFor(100);
        EXPECT_TRUE(received.empty()) << "after " << std::string(word, word + wcslen(word));
    }
    UnregisterClassW(kClass, GetModuleHandleW(nullptr));
}

TEST(RunningInstanceTest, RealInstanceKeepsRunningAndIgnoresForeignPointers)
{
    CloseRunningInstances();
    ASSERT_EQ(FindWindowW(kClass, kTitle), nullptr) << "another instance does not end";
    HANDLE first = StartProgram(L"showall");
    ASSERT_NE(first, nullptr);
    HWND running = nullptr;
    for (int i = 0; i < 400 && running == nullptr; ++i) {
        running = FindWindowW(kClass, kTitle);
        if (running == nullptr)
            Sleep(25);
    }
    ASSERT_NE(running, nullptr) << "the first instance made its main window";
    EXPECT_FALSE(IsWindowVisible(running)) << "the main window is never shown";

    HANDLE second = StartProgram(L"addnew");
    EXPECT_EQ(WaitForExit(second), 0u);
    CloseHandle(second);
    EXPECT_EQ(FindWindowW(kClass, kTitle), running);

    // Pointers from another process mean nothing in the running instance.
    PostMessageW(running, kMsgNoteSaved, 1, 0x1234);
    DWORD_PTR result;
    SendMessageTimeoutW(running, kMsgNoteSaved, 0, 0x5678, SMTO_BLOCK, 5000, &result);
    PostMessageW(running, kMsgOpenNotePath, 0x9ABC, 0);
    EXPECT_EQ(WaitForSingleObject(first, 500), DWORD(WAIT_TIMEOUT)) << "the instance crashed";

    PostMessageW(running, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(first), 0u) << "closing the main window ends the program";
    CloseHandle(first);
    EXPECT_EQ(FindWindowW(kClass, kTitle), nullptr);
}

// Any program can post WM_QUIT to the main window or send it WM_DESTROY.
// The window outlives a WM_DESTROY it did not cause, and a WM_QUIT ends the
// program as Ctrl+Q does: the note on screen is stored first.
TEST(RunningInstanceTest, ForeignQuitAndDestroyKeepTheOpenNote)
{
    CloseRunningInstances();
    ASSERT_EQ(FindWindowW(kClass, kTitle), nullptr) << "another instance does not end";
    HANDLE program = StartProgram(L"addnew");
    ASSERT_NE(program, nullptr);
    HWND running = AwaitWindow(kClass, kTitle);
    HWND note = AwaitWindow(L"JotlingWndClass", nullptr);
    ASSERT_NE(running, nullptr);
    ASSERT_NE(note, nullptr) << "addnew opened a note";
    HWND titleBox = FindWindowExW(note, nullptr, L"COMBOBOX", nullptr);
    ASSERT_NE(titleBox, nullptr);
    std::wstring title = L"Typed before WM_QUIT " + std::to_wstring(GetTickCount());
    DWORD_PTR result;
    SendMessageTimeoutW(titleBox, WM_SETTEXT, 0, LPARAM(title.c_str()), SMTO_BLOCK, 5000, &result);
    PostMessageW(note, WM_COMMAND, kCmdExpiryNextWeek, 0);

    SendMessageTimeoutW(running, WM_DESTROY, 0, 0, SMTO_BLOCK, 5000, &result);
    PostMessageW(running, WM_DESTROY, 0, 0);
    EXPECT_EQ(WaitForSingleObject(program, 1000), DWORD(WAIT_TIMEOUT)) << "a foreign WM_DESTROY ended the program";
    EXPECT_EQ(FindWindowW(kClass, kTitle), running);
    EXPECT_TRUE(IsWindow(note));

    PostMessageW(running, WM_QUIT, 7, 0);
    EXPECT_EQ(WaitForExit(program), 0u) << "WM_QUIT ends the program as Ctrl+Q does";
    CloseHandle(program);
    EXPECT_TRUE(RemoveNoteTitled(DeviceNotesFolder(), title)) << "the open note was stored";
}

BOOL CALLBACK CountMainWindow(HWND window, LPARAM count)
{
    wchar_t className[32], title[32];
    if (GetClassNameW(window, className, 32) > 0 && wcscmp(className, kClass) == 0 &&
        GetWindowTextW(window, title, 32) > 0 && wcscmp(title, kTitle) == 0)
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST(RunningInstanceTest, StartsAtTheSameMomentMakeOneInstance)
{
    CloseRunningInstances();
    ASSERT_EQ(FindWindowW(kClass, kTitle), nullptr) << "another instance does not end";
    const int kStarts = 4;
    HANDLE starts[kStarts];
    for (HANDLE& start : starts)
        start = StartProgram(L"");
    int ended = 0;
    HANDLE running = nullptr;
    for (HANDLE start : starts) {
        ASSERT_NE(start, nullptr);
        if (WaitForSingleObject(start, 15000) == WAIT_OBJECT_0)
            ++ended;
        else
            running = start;
    }
    EXPECT_EQ(kStarts - 1, ended) << "every start but one hands over and ends";
    int windows = 0;
    EnumWindows(CountMainWindow, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(1, windows);

    PostMessageW(FindWindowW(kClass, kTitle), WM_CLOSE, 0, 0);
    if (running != nullptr) {
        EXPECT_EQ(WaitForExit(running), 0u);
    }
    for (HANDLE start : starts)
        CloseHandle(start);
}
