// The life of a note through the program's own hub: the real main window,
// note store and file-bound note windows, with the spy ink control and the
// user's answers given through the prompt seam.
#include "InkSpy.h"

#include "app/Application.h"
#include "app/MainMessages.h"
#include "app/MainWindow.h"
#include "app/UserPrompt.h"
#include "notes/FileNoteWindow.h"
#include "notes/NoteFile.h"
#include "notes/NoteStore.h"
#include "notes/SharedNoteMap.h"
#include "notewindow/NoteWindowMessages.h"
#include "resources/resource.h"
#include "tests/support/TempFolder.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Asked {
    std::wstring text;
    UINT type;
};
std::vector<Asked> g_asked;
int g_answer = IDYES;
int RecordAnswer(HWND, const wchar_t* text, const wchar_t*, UINT type)
{
    g_asked.push_back({text, type});
    return g_answer;
}

// What the main window got from note windows: 1025's wParam, 1026.
std::vector<std::pair<UINT, WPARAM>> g_reports;
WNDPROC g_mainProc = nullptr;
LRESULT CALLBACK RecordReports(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kMsgNoteSaved || message == kMsgNoteClosed)
        g_reports.push_back({message, wParam});
    return CallWindowProcW(g_mainProc, window, message, wParam, lParam);
}

void Pump()
{
    for (int round = 0; round < 3; ++round) {
        InkSpy::Pump();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

SYSTEMTIME MinutesFromNow(int minutes)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks = {{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart += LONGLONG(minutes) * 60 * 10000000;
    file = {ticks.LowPart, ticks.HighPart};
    SYSTEMTIME result;
    FileTimeToSystemTime(&file, &result);
    return result;
}

class NoteLifeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        g_application = new Application(documents.Path());
        g_application->SetInstance(GetModuleHandleW(nullptr));
        g_application->SetAutoDel(0);
        g_application->SetPlaySnd(false);
        g_application->SetPlayRec(false);
        g_application->SetNotify(true);
        InkSpy::Register();
        InkSpy::Reset();
        g_asked.clear();
        g_answer = IDYES;
        g_reports.clear();
        SetAskUserFunction(RecordAnswer);
        folder = g_application->NotesFolder();
    }
    void TearDown() override
    {
        if (g_noteStore != nullptr) {
            g_noteStore->CloseCurrentNote();
            Pump();
        }
        if (g_mainWindow != nullptr && IsWindow(g_mainWindow))
            DestroyWindow(g_mainWindow);
        g_mainWindow = nullptr;
        Pump();
        delete g_noteStore;
        g_noteStore = nullptr;
        delete g_application;
        g_application = nullptr;
        SetAskUserFunction(nullptr);
    }

    // The store and its hidden main window, as the program starts them.
    bool Start()
    {
        g_noteStore = new NoteStore(g_application->NotesFolder(), g_application->NoteExtension());
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"NoteLifeTestMain";
        RegisterClassW(&windowClass);
        BYTE openedAlarm = 0;
        g_mainWindow = CreateWindowExW(0, L"NoteLifeTestMain", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), &openedAlarm);
        g_mainProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(g_mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordReports)));
        Pump();
        return openedAlarm != 0;
    }

    std::wstring Path(const wchar_t* name) { return folder + L"\\" + name; }

    std::wstring AddNote(const wchar_t* name, const wchar_t* title, SYSTEMTIME expiry, BYTE expired = 0)
    {
        NoteRecord record;
        wcscpy(record.title, title);
        record.expiry = expiry;
        record.expired = expired;
        std::wstring path = Path(name);
        EXPECT_TRUE(WriteNoteFile(path.c_str(), record));
        return path;
    }

    std::vector<std::wstring> Files(const wchar_t* pattern = L"*")
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                    names.push_back(found.cFileName);
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    NoteHead Head(const wchar_t* name)
    {
        NoteHead head = {};
        EXPECT_TRUE(ReadNoteHead(Path(name).c_str(), &head)) << name;
        return head;
    }

    // The note on screen: its window and its title text.
    HWND ShownNote() { return FindWindowW(L"JotlingWndClass", L"KORVA Jotlings"); }
    std::wstring ShownTitle()
    {
        wchar_t title[256] = L"";
        GetWindowTextW(GetDlgItem(ShownNote(), IDC_NOTE_TITLE), title, 256);
        return title;
    }

    void Done(HWND note)
    {
        SendMessageW(note, WM_COMMAND, IDOK, 0);
        Pump();
    }

    TempFolder documents;
    std::wstring folder;
};

TEST_F(NoteLifeTest, NewNoteIsKeptOnlyWhenSomethingWasWritten)
{
    Start();
    HWND note = g_noteStore->NewNote(false);
    ASSERT_NE(nullptr, note);
    Done(note);
    EXPECT_TRUE(Files().empty());
    EXPECT_FALSE(g_noteStore->NoteWindowOpen());

    note = g_noteStore->NewNote(false);
    HWND title = GetDlgItem(note, IDC_NOTE_TITLE);
    SendMessageW(note, WM_COMMAND, MAKEWPARAM(IDC_NOTE_TITLE, CBN_SETFOCUS), reinterpret_cast<LPARAM>(title));
    SetWindowTextW(title, L"Call home");
    Done(note);
    EXPECT_EQ(std::vector<std::wstring>{L"Jotling0.jot"}, Files());
    ASSERT_NE(nullptr, g_noteStore->FirstEntry());
    EXPECT_STREQ(L"Call home", g_noteStore->FirstEntry()->title);
    std::vector<std::pair<UINT, WPARAM>> expected = {{kMsgNoteClosed, 0}, {kMsgNoteSaved, 1}, {kMsgNoteClosed, 0}};
    EXPECT_EQ(expected, g_reports);
}

TEST_F(NoteLifeTest, OpenedNoteIsWrittenBackInPlaceAndListedOnce)
{
    SYSTEMTIME never = {};
    never.wHour = 25;
    AddNote(L"Jotling4.jot", L"Groceries", never);
    Start();
    g_noteStore->OpenNote(0);
    HWND note = ShownNote();
    ASSERT_NE(nullptr, note);
    Pump();
    EXPECT_EQ(L"Groceries", ShownTitle());
    g_reports.clear();
    Done(note);
    std::vector<std::pair<UINT, WPARAM>> expected = {{kMsgNoteSaved, 0}, {kMsgNoteClosed, 0}};
    EXPECT_EQ(expected, g_reports);
    EXPECT_EQ(std::vector<std::wstring>{L"Jotling4.jot"}, Files());
    EXPECT_EQ(1, g_noteStore->EntryCount());
}

TEST_F(NoteLifeTest, NotesDueTogetherAreEachShownAndKeptAsExpired)
{
    for (int autoDelete = 0; autoDelete <= 1; ++autoDelete) {
        SCOPED_TRACE(autoDelete);
        g_application->SetAutoDel(autoDelete);
        AddNote(L"Jotling0.jot", L"First", MinutesFromNow(-10));
        AddNote(L"Jotling1.jot", L"Second", MinutesFromNow(-5));
        EXPECT_TRUE(Start());   // the start-up check opened them

        // The first was kept as expired when the second came; the second
        // is on screen, its file aside until its window closes.
        Pump();
        EXPECT_EQ(L"Second", ShownTitle());
        std::vector<std::wstring> during = autoDelete ? std::vector<std::wstring>{L"Jotling1.jot.alarm"}
                                                      : std::vector<std::wstring>{L"Jotling0.jot", L"Jotling1.jot.alarm"};
        EXPECT_EQ(during, Files());
        EXPECT_EQ(autoDelete ? 0 : 1, g_noteStore->EntryCount());   // neither list shows an alarm's note

        Done(ShownNote());
        if (autoDelete) {
            EXPECT_TRUE(Files().empty());
        } else {
            ASSERT_EQ((std::vector<std::wstring>{L"Jotling0.jot", L"Jotling1.jot"}), Files());
            EXPECT_EQ(1, Head(L"Jotling0.jot").expired);
            EXPECT_EQ(1, Head(L"Jotling1.jot").expired);
        }
        TearDown();
        SetUp();
        for (const std::wstring& name : Files())
            DeleteFileW(Path(name.c_str()).c_str());
    }
}

TEST_F(NoteLifeTest, ForcedCheckOpensTheEarliestNoteWhenNoneIsDue)
{
    AddNote(L"Jotling0.jot", L"Later", MinutesFromNow(90));
    AddNote(L"Jotling1.jot", L"Sooner", MinutesFromNow(30));
    EXPECT_FALSE(Start());
    EXPECT_FALSE(g_noteStore->CheckExpired(false));
    EXPECT_EQ(nullptr, ShownNote());
    PostMessageW(g_mainWindow, kMsgCheckExpired, 0, 0);
    Pump();
    EXPECT_EQ(L"Sooner", ShownTitle());
}

TEST_F(NoteLifeTest, DeletingSeveralNotesAsksOnceAndSignalsTheChange)
{
    SYSTEMTIME never = {};
    never.wHour = 25;
    for (const wchar_t* name : {L"Jotling0.jot", L"Jotling1.jot", L"Jotling2.jot", L"Jotling3.jot"})
        AddNote(name, name, never);
    Start();
    g_noteStore->Show();
    ASSERT_NE(nullptr, g_noteStore->Window());
    SendMessageW(g_noteStore->Window(), WM_COMMAND, IDM_LIST_SELECT_ALL, 0);
    ListView_SetItemState(g_noteStore->List().Window(), 3, 0, LVIS_SELECTED);
    ResetEvent(g_application->ChangeEvent());

    g_answer = IDNO;
    SendMessageW(g_noteStore->Window(), WM_COMMAND, IDM_LIST_DELETE, 0);
    EXPECT_EQ(4u, Files().size());
    EXPECT_NE(WAIT_OBJECT_0, WaitForSingleObject(g_application->ChangeEvent(), 0));

    g_answer = IDYES;
    SendMessageW(g_noteStore->Window(), WM_COMMAND, IDM_LIST_DELETE, 0);
    ASSERT_EQ(2u, g_asked.size());
    EXPECT_EQ(L"Do you really want to delete selected jotlings?", g_asked[1].text);
    EXPECT_EQ(UINT(MB_YESNO), g_asked[1].type);
    EXPECT_EQ(1u, Files().size());
    EXPECT_EQ(1, g_noteStore->EntryCount());
    EXPECT_EQ(1, ListView_GetItemCount(g_noteStore->List().Window()));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_application->ChangeEvent(), 0));
}

TEST_F(NoteLifeTest, TodayHandOverOpensOnlyTheExactPath)
{
    SYSTEMTIME never = {};
    never.wHour = 25;
    std::wstring path = AddNote(L"Jotling7.jot", L"From Today", never);
    Start();
    std::wstring otherCase = path;
    std::transform(otherCase.begin(), otherCase.end(), otherCase.begin(), ::towupper);
    ASSERT_TRUE(HandOverNotePath(g_mainWindow, otherCase.c_str()));
    Pump();
    EXPECT_EQ(nullptr, ShownNote());
    // A posted 1127 carries a pointer from nobody: ignored.
    PostMessageW(g_mainWindow, kMsgOpenNotePath, reinterpret_cast<WPARAM>(path.c_str()), 0);
    Pump();
    EXPECT_EQ(nullptr, ShownNote());

    ASSERT_TRUE(HandOverNotePath(g_mainWindow, path.c_str()));
    Pump();
    EXPECT_EQ(L"From Today", ShownTitle());
}

namespace {

struct HandOver {
    HWND main;
    const wchar_t* path;
    bool sent;
};

DWORD WINAPI HandOverFromElsewhere(void* argument)
{
    auto* handOver = static_cast<HandOver*>(argument);
    handOver->sent = HandOverNotePath(handOver->main, handOver->path);
    return 0;
}

}  // namespace

// The Today item hands a note over from the shell's process: the program
// builds the note window while it is still inside that other thread's send,
// and the window and its menu bar must come up all the same.
TEST_F(NoteLifeTest, TodayHandOverFromAnotherThreadOpensTheNote)
{
    SYSTEMTIME never = {};
    never.wHour = 25;
    std::wstring path = AddNote(L"Jotling3.jot", L"From the shell", never);
    Start();
    HandOver handOver = {g_mainWindow, path.c_str(), false};
    HANDLE sender = CreateThread(nullptr, 0, HandOverFromElsewhere, &handOver, 0, nullptr);
    ASSERT_NE(nullptr, sender);
    while (MsgWaitForMultipleObjects(1, &sender, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        Pump();
    CloseHandle(sender);
    Pump();
    ASSERT_TRUE(handOver.sent);
    ASSERT_NE(nullptr, ShownNote());
    EXPECT_TRUE(IsWindowVisible(ShownNote()));
    EXPECT_EQ(L"From the shell", ShownTitle());
    ASSERT_NE(nullptr, g_noteStore->CurrentNoteWindow());
    EXPECT_NE(nullptr, g_noteStore->CurrentNoteWindow()->MenuBar().Window()) << "the note's menu bar";
}

TEST_F(NoteLifeTest, AlarmNoteLeftAsideByAProgramThatDiedComesBack)
{
    AddNote(L"Jotling2.jot", L"Dentist", MinutesFromNow(-1));
    EXPECT_TRUE(Start());
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling2.jot.alarm"}), Files());
    // The program dies with the alarm up: nothing closes the note.
    SetWindowLongPtrW(ShownNote(), GWLP_USERDATA, 0);
    DestroyWindow(ShownNote());
    DestroyWindow(g_mainWindow);
    g_mainWindow = nullptr;
    Pump();
    // (The store's object is leaked here on purpose: a dead program frees nothing.)
    g_noteStore = nullptr;

    EXPECT_TRUE(Start());   // put back, and due again
    EXPECT_EQ(L"Dentist", ShownTitle());
    Done(ShownNote());
    // Kept as an expired note under the first free name, as every alarm is.
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling0.jot"}), Files());
    EXPECT_EQ(1, Head(L"Jotling0.jot").expired);
    EXPECT_STREQ(L"Dentist", Head(L"Jotling0.jot").title);
}

TEST_F(NoteLifeTest, NoteThatCannotBeReadWholeIsNeitherShownNorOverwritten)
{
    SYSTEMTIME never = {};
    never.wHour = 25;
    std::wstring path = AddNote(L"Jotling0.jot", L"Damaged", never);
    // Cut inside its ink data: the head is there, so it is listed.
    NoteRecord record;
    wcscpy(record.title, L"Damaged");
    record.expiry = never;
    record.data = AllocateNoteData(100);
    memset(record.data, 7, 100);
    record.dataLength = 100;
    ASSERT_TRUE(WriteNoteFile(path.c_str(), record));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(file, kNoteFileHeaderSize + 40, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);

    Start();
    g_noteStore->OpenNote(0);
    Pump();
    EXPECT_EQ(nullptr, ShownNote());
    ASSERT_EQ(1u, g_asked.size());
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(kNoteFileHeaderSize + 40, data.nFileSizeLow);
}

TEST_F(NoteLifeTest, NewNoteStaysOpenWhileAllNamesAreTaken)
{
    Start();
    for (int n = 0; n < kMaxNoteFiles; ++n) {
        HANDLE file = CreateFileW(Path((L"Jotling" + std::to_wstring(n) + L".jot").c_str()).c_str(), GENERIC_WRITE,
                                  0, nullptr, CREATE_NEW, 0, nullptr);
        CloseHandle(file);
    }
    HWND note = g_noteStore->NewNote(false);
    SendMessageW(note, WM_COMMAND, MAKEWPARAM(IDC_NOTE_TITLE, CBN_SETFOCUS), 0);
    SetWindowTextW(GetDlgItem(note, IDC_NOTE_TITLE), L"Keep me");
    Done(note);
    EXPECT_TRUE(IsWindow(note));
    ASSERT_EQ(1u, g_asked.size());
    EXPECT_NE(std::wstring::npos, g_asked[0].text.find(L"1000"));

    DeleteFileW(Path(L"Jotling512.jot").c_str());
    Done(note);
    EXPECT_FALSE(IsWindow(note));
    EXPECT_EQ(L"Keep me", std::wstring(Head(L"Jotling512.jot").title));
}

}  // namespace
