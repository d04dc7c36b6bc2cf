// The first instance's own side of the start: which message each command
// word posts, the main window's reports, and the message loop's Ctrl+Q.
#include "app/Application.h"
#include "app/MainMessages.h"
#include "app/MainWindow.h"
#include "app/MessageLoop.h"
#include "app/StartInstance.h"
#include "dialogs/AboutBox.h"
#include "notes/NoteFile.h"
#include "notes/NoteStore.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Posted {
    UINT message;
    WPARAM wParam;
};

// Takes every message posted to the window, without dispatching.
std::vector<Posted> TakePosted(HWND window)
{
    std::vector<Posted> posted;
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
        if (msg.message >= WM_USER)
            posted.push_back({msg.message, msg.wParam});
    }
    return posted;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_application = new Application(documents.Path());
        notes = new NoteStore(g_application->NotesFolder(), g_application->NoteExtension());
        mainWindow = new MainWindow(*notes, aboutBox);
    }
    void TearDown() override
    {
        if (mainHandle != nullptr && IsWindow(mainHandle))
            DestroyWindow(mainHandle);
        mainHandle = nullptr;
        delete mainWindow;
        // WM_DESTROY posted the quit message; leave the queue clean.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        delete notes;
        notes = nullptr;
        delete g_application;
        g_application = nullptr;
    }

    bool Begin(const wchar_t* commandLine)
    {
        bool running = StartInstance(GetModuleHandleW(nullptr), commandLine, *mainWindow);
        mainHandle = mainWindow->Window();
        return running;
    }

    // Starts as the first instance and returns what it posted to itself.
    std::vector<Posted> Start(const wchar_t* commandLine)
    {
        EXPECT_TRUE(Begin(commandLine));
        std::vector<Posted> posted = TakePosted(mainHandle);
        DestroyWindow(mainHandle);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        return posted;
    }

    TempFolder documents;
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
    for (const auto& c : cases) {
        std::vector<Posted> posted = Start(c.word);
        ASSERT_EQ(posted.size(), 1u) << c.word;
        EXPECT_EQ(posted[0].message, c.message) << c.word;
    }
    EXPECT_TRUE(Start(nullptr).empty()) << "a null command line posts nothing";
}

TEST_F(MainWindowTest, AnyOtherTextIsANotePathHandedOverWithOrWithoutQuotes)
{
    // A desktop shell or a file association puts the path in quotes.
    for (const wchar_t* commandLine : {L"\\My Documents\\My Jotlings\\Jotling4.jot",
                                       L"\"\\My Documents\\My Jotlings\\Jotling4.jot\" "}) {
        std::vector<Posted> posted = Start(commandLine);
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].message, kMsgOpenNotePath);
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

void PressKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    std::vector<INPUT> inputs;
    for (const auto& key : keys) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key.first;
        input.ki.dwFlags = key.second ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Fails a message loop that does not end in time.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD)
{
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

    PressKeys({{'Q', true}, {'Q', false}});
    PressKeys({{VK_CONTROL, true}, {'Q', true}, {'Q', false}, {VK_CONTROL, false}});
    UINT_PTR timer = SetTimer(nullptr, 0, 10000, GiveUp);
    int exitCode = RunMessageLoop(mainHandle);
    KillTimer(nullptr, timer);

    EXPECT_EQ(exitCode, 0) << "the loop ended by Ctrl+Q closing the main window";
    EXPECT_FALSE(IsWindow(mainHandle));
    wchar_t typed[16] = L"";
    GetWindowTextW(edit, typed, 16);
    EXPECT_STREQ(typed, L"q") << "Q alone reaches the window; Ctrl+Q does not";
    DestroyWindow(edit);
}
