// The first instance's own side of the start: which message each command
// word posts, the main window's reports, and the message loop's Ctrl+Q.
#include "app/MainWindow.h"
#include "app/MessageLoop.h"
#include "app/StartInstance.h"
#include "dialogs/AboutBox.h"
#include "notes/NoteFile.h"
#include "notestore/NoteReports.h"
#include "notestore/NoteStore.h"
#include "process/Application.h"
#include "process/MainMessages.h"
#include "tests/support/ApplicationTest.h"
#include "tests/support/DeviceInput.h"
#include "tests/support/MessageLog.h"
#include "tests/support/MessageSequence.h"
#include "tests/support/TestWindow.h"
#include "shared/Registry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Takes every message posted to the window, without dispatching.
MessageSequence TakePosted(HWND window)
{
    MessageSequence posted(kMessageOnly, kMainMessages);
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
        if (msg.message >= WM_USER || msg.message == WM_HOTKEY)
            posted.Add(MessageRecord{"main", msg.message, msg.wParam, msg.lParam, true, msg.hwnd});
    }
    return posted;
}

// WM_DESTROY posts the quit message; the queue is left clean.
void DropQueued()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

class MainWindowTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        notes = new NoteStore(g_application->NotesFolder(), g_application->NoteExtension());
        mainWindow = new MainWindow(*notes, aboutBox);
    }
    void TearDown() override
    {
        if (mainHandle != nullptr && IsWindow(mainHandle))
            DestroyWindow(mainHandle);
        mainHandle = nullptr;
        delete mainWindow;
        DropQueued();
        delete notes;
        notes = nullptr;
        ApplicationTest::TearDown();
    }

    bool Begin(const wchar_t* commandLine)
    {
        bool running = StartInstance(GetModuleHandleW(nullptr), commandLine, *mainWindow);
        mainHandle = mainWindow->Window();
        return running;
    }

    // Starts as the first instance and returns what it posted to itself.
    MessageSequence Start(const wchar_t* commandLine)
    {
        EXPECT_TRUE(Begin(commandLine));
        MessageSequence posted = TakePosted(mainHandle);
        DestroyWindow(mainHandle);
        DropQueued();
        return posted;
    }

    NoteStore* notes = nullptr;
    AboutBox aboutBox;
    MainWindow* mainWindow = nullptr;
    HWND mainHandle = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, EachCommandWordPostsItsMessage)
{
    struct {
        const wchar_t* word;
        UINT message;
    } cases[] = {
        {L"", kMsgShowAllNotes},
        {L"showall", kMsgShowAllNotes},
        {L"addnew", kMsgNewNote},
        {L"AppRunAtTime", kMsgCheckExpired},
    };
    for (const auto& c : cases)
        EXPECT_MESSAGES({Posted("main", c.message)}, Start(c.word)) << c.word;
    EXPECT_TRUE(Start(nullptr).empty()) << "a null command line posts nothing";
}

TEST_F(MainWindowTest, AnyOtherTextIsANotePathHandedOverWithOrWithoutQuotes)
{
    // A desktop shell or a file association puts the path in quotes.
    for (const wchar_t* commandLine : {L"\\My Documents\\My Jotlings\\Jotling4.jot",
                                       L"\"\\My Documents\\My Jotlings\\Jotling4.jot\" "}) {
        MessageSequence posted = Start(commandLine);
        ASSERT_MESSAGES({Posted("main", kMsgOpenNotePath)}, posted);
        EXPECT_STREQ(L"\\My Documents\\My Jotlings\\Jotling4.jot", reinterpret_cast<const wchar_t*>(posted[0].wParam));
    }
}

namespace {

const wchar_t kButtonTableKey[] = L"SOFTWARE\\Microsoft\\Shell\\Keys\\JotlingsTest";

bool AnyKeyHeld(int key)
{
    return key != 0;
}

// A later start while an instance of this executable runs: what it hands
// the running one, which is a stand-in window of this test process (the
// test program is the executable here). Another program's window under the
// same names is handed nothing; see StartInstanceTest.
class SecondStartTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        running.reset();
        UnregisterClassW(L"JOTLINGS", GetModuleHandleW(nullptr));
        SetKeyHeldFunction(nullptr);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kButtonTableKey);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kButtonTableKey);
        MainWindowTest::TearDown();
    }

    MessageSequence SecondStart(const wchar_t* commandLine)
    {
        // The class is the stand-in's, not the main window's an earlier test
        // registered in this process.
        if (running == nullptr) {
            UnregisterClassW(L"JOTLINGS", GetModuleHandleW(nullptr));
            running = std::make_unique<TestWindow>(runningLog, "main", WS_POPUP, RECT{0, 0, 10, 10}, nullptr,
                                                   L"KORVA Jotlings", L"JOTLINGS");
        }
        EXPECT_FALSE(Begin(commandLine)) << "a second start ends";
        EXPECT_EQ(mainHandle, nullptr) << "and makes no window of its own";
        return TakePosted(running->Handle());
    }

    MessageLog runningLog;
    std::unique_ptr<TestWindow> running;
};

void ExpectOnly(const MessageSequence& received, UINT message, const wchar_t* what)
{
    EXPECT_MESSAGES({Posted("main", message)}, received) << what;
}

}  // namespace

TEST_F(SecondStartTest, EveryWordButTheTimedStartShowsAllNotes)
{
    ExpectOnly(SecondStart(L""), kMsgShowAllNotes, L"empty command line");
    ExpectOnly(SecondStart(L"showall"), kMsgShowAllNotes, L"showall");
    ExpectOnly(SecondStart(L"addnew"), kMsgShowAllNotes, L"addnew");
    ExpectOnly(SecondStart(L"C:\\My Documents\\My Jotlings\\Jotling0.jot"), kMsgShowAllNotes, L"a note path");
    ExpectOnly(SecondStart(L"apprunattime"), kMsgShowAllNotes, L"words are case-sensitive");
    ExpectOnly(SecondStart(L"AppRunAtTime"), kMsgCheckExpired, L"the timed start");
}

TEST_F(SecondStartTest, HeldRecordButtonAsksForANewRecordingWhenAllowed)
{
    RegWriteString(kButtonTableKey, L"Name", L"Button 5");
    int key = g_application->RecordButtonKey();
    ASSERT_NE(key, 0);

    g_application->SetRecBtn(0);
    ExpectOnly(SecondStart(L"addnew"), kMsgShowAllNotes, L"RecBtn off, button not held");
    SetKeyHeldFunction(AnyKeyHeld);
    ExpectOnly(SecondStart(L"addnew"), kMsgShowAllNotes, L"record button held, RecBtn off");
    g_application->SetRecBtn(1);
    MessageSequence received = SecondStart(L"addnew");
    ExpectOnly(received, WM_HOTKEY, L"record button held, RecBtn on");
    if (!received.empty()) {
        EXPECT_EQ(received[0].lParam, LPARAM(key) << 16);
    }
    ExpectOnly(SecondStart(L"AppRunAtTime"), kMsgCheckExpired, L"the timed start wins over the button");
    SetKeyHeldFunction(nullptr);
    ExpectOnly(SecondStart(L"addnew"), kMsgShowAllNotes, L"RecBtn on, button not held");
}

TEST_F(MainWindowTest, MainWindowIsHiddenAndFoundByClassAndTitle)
{
    ASSERT_TRUE(Begin(nullptr));
    EXPECT_EQ(FindWindowW(L"JOTLINGS", L"KORVA Jotlings"), mainHandle);
    EXPECT_FALSE(IsWindowVisible(mainHandle));
    EXPECT_EQ(notes->MainWindow(), mainHandle) << "creation attached the store";
}

TEST_F(MainWindowTest, SavedNoteReportsReachTheStoreOnlyFromThisProcess)
{
    ASSERT_TRUE(Begin(nullptr));
    NoteRecord record;
    wcscpy(record.title, L"reported");
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(NewNoteFileName(g_application->NotesFolder(), L".jot", path, MAX_PATH));
    ASSERT_TRUE(WriteNoteFile(path, record));

    // A path pointer that is not the one being reported is not trusted,
    // even if it happens to be readable.
    SendMessageW(mainHandle, kMsgNoteSaved, 1, reinterpret_cast<LPARAM>(path));
    EXPECT_EQ(notes->EntryCount(), 0);

    ReportNoteSaved(mainHandle, path, true);
    ASSERT_EQ(notes->EntryCount(), 1);
    EXPECT_STREQ(notes->FirstEntry()->title.c_str(), L"reported");

    // Written back to its own file: the entry is replaced, not added.
    wcscpy(record.title, L"edited");
    ASSERT_TRUE(WriteNoteFile(path, record));
    ReportNoteSaved(mainHandle, path, false);
    ASSERT_EQ(notes->EntryCount(), 1);
    EXPECT_STREQ(notes->FirstEntry()->title.c_str(), L"edited");
}

namespace {

// Ends a message loop that does not end in time (its WM_QUIT closes the
// main window) and marks the test failed.
bool g_gaveUp = false;
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD)
{
    g_gaveUp = true;
    PostQuitMessage(99);
}

}  // namespace

TEST_F(MainWindowTest, CtrlQInAnyWindowEndsTheLoopAndQAloneIsTyped)
{
    ASSERT_TRUE(Begin(nullptr));
    // A window of the program with the keyboard focus, as a note window has.
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    SetForegroundWindow(edit);
    SetFocus(edit);

    SendKeys({{'Q', true}, {'Q', false}});
    SendKeys({{VK_CONTROL, true}, {'Q', true}, {'Q', false}, {VK_CONTROL, false}});
    UINT_PTR timer = SetTimer(nullptr, 0, 10000, GiveUp);
    int exitCode = RunMessageLoop(mainHandle);
    KillTimer(nullptr, timer);

    EXPECT_FALSE(g_gaveUp) << "the loop ended by Ctrl+Q closing the main window";
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(IsWindow(mainHandle));
    wchar_t typed[16] = L"";
    GetWindowTextW(edit, typed, 16);
    EXPECT_STREQ(typed, L"q") << "Q alone reaches the window; Ctrl+Q does not";
    DestroyWindow(edit);
}
