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
#include "tests/support/MessageSequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Takes every message posted to the window, without dispatching.
MessageSequence TakePosted(HWND window)
{
    MessageSequence posted(kMessageOnly, kMainMessages);
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
        if (msg.message >= WM_USER)
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
