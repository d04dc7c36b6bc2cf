// The life of a note through the program's own hub: the real main window,
// note store and file-bound note windows, with the spy ink control and the
// user's answers given through the prompt seam.
#include "app/MainWindow.h"
#include "dialogs/AboutBox.h"
#include "notes/ExpiryRules.h"
#include "notes/NoteFile.h"
#include "notestore/FileNoteWindow.h"
#include "notestore/NoteStore.h"
#include "notewindow/InkControl.h"
#include "notewindow/InkControlMessages.h"
#include "notewindow/NoteWindowMessages.h"
#include "process/Application.h"
#include "process/MainMessages.h"
#include "process/UserPrompt.h"
#include "resources/resource.h"
#include "shared/SharedNoteMap.h"
#include "tests/support/ApplicationTest.h"
#include "tests/support/InkSpy.h"
#include "tests/support/MessageLog.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestNotes.h"
#include "tests/support/TestTimes.h"

#include <aygshell.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Asked {
    std::wstring text;
    UINT type;
};
std::vector<Asked> g_asked;
int g_answer = IDYES;
// What else happens while the next question is on screen.
std::function<void()> g_whileAsked;
// The main window and the note path a Today hand-over on another thread
// sends to.
HWND g_handOverTo = nullptr;
std::wstring g_handedOver;
int RecordAnswer(HWND, const wchar_t* text, const wchar_t*, UINT type)
{
    g_asked.push_back({text, type});
    if (g_whileAsked) {
        std::function<void()> meanwhile = g_whileAsked;
        g_whileAsked = nullptr;
        meanwhile();
        Pump();
    }
    return g_answer;
}

class NoteLifeTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        InkSpy::Register();
        InkSpy::Reset();
        g_noteFileBusyRetryMs = 2000;
        g_asked.clear();
        g_answer = IDYES;
        g_whileAsked = nullptr;
        // What the main window gets from note windows: 1025 with its wParam, 1026.
        reports.Keep([](UINT message) { return message == kMsgNoteSaved || message == kMsgNoteClosed; });
        reports.Clear();
        SetAskUserFunction(RecordAnswer);
        folder = g_application->NotesFolder();
    }
    void TearDown() override
    {
        if (notes != nullptr) {
            notes->CloseCurrentNote();
            Pump();
        }
        if (mainHandle != nullptr && IsWindow(mainHandle))
            DestroyWindow(mainHandle);
        mainHandle = nullptr;
        delete mainWindow;
        mainWindow = nullptr;
        Pump();
        delete notes;
        notes = nullptr;
        SetAskUserFunction(nullptr);
        ApplicationTest::TearDown();
    }

    // The store and its hidden main window, as the program starts them.
    bool Start()
    {
        notes = new NoteStore(g_application->NotesFolder(), g_application->NoteExtension());
        delete mainWindow;
        mainWindow = new MainWindow(*notes, aboutBox);
        mainWindow->Create(GetModuleHandleW(nullptr), L"NoteLifeTestMain", L"");
        mainHandle = mainWindow->Window();
        reports.Watch(mainHandle, "main");
        Pump();
        return mainWindow->OpenedAlarm();
    }

    std::wstring Path(const wchar_t* name) { return folder + L"\\" + name; }

    std::wstring AddNote(const wchar_t* name, const wchar_t* title, SYSTEMTIME expiry, BYTE expired = 0,
                         const std::string& ink = "")
    {
        std::wstring path = Path(name);
        EXPECT_TRUE(WriteTestNote(path, title, expiry, expired, ink));
        return path;
    }

    // The ink data a note file holds.
    std::string Ink(const wchar_t* name)
    {
        NoteRecord record;
        EXPECT_TRUE(ReadNoteFile(Path(name).c_str(), &record)) << name;
        return std::string(reinterpret_cast<const char*>(record.data), record.dataLength);
    }

    // What the ink control hands over from now on, and whether it says the
    // user changed it.
    void ControlHolds(const std::string& content, bool modified)
    {
        InkSpy::config.content.assign(content.begin(), content.end());
        InkSpy::config.modified = modified ? 1 : 0;
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

    static std::wstring NoteName(int n) { return L"Jotling" + std::to_wstring(n) + L".jot"; }

    // Every note file name that is free gets an empty file, so no new name is.
    void TakeEveryFreeName()
    {
        for (int n = 0; n < kMaxNoteFiles; ++n) {
            HANDLE file = CreateFileW(Path(NoteName(n).c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                                      nullptr);
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
        }
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

    std::wstring folder;
    NoteStore* notes = nullptr;
    AboutBox aboutBox;
    MainWindow* mainWindow = nullptr;
    HWND mainHandle = nullptr;
    MessageLog reports{kWParamField, kMainMessages};
};

TEST_F(NoteLifeTest, NewNoteIsKeptOnlyWhenSomethingWasWritten)
{
    Start();
    HWND note = notes->NewNote(false);
    ASSERT_NE(nullptr, note);
    Done(note);
    EXPECT_TRUE(Files().empty());
    EXPECT_FALSE(notes->NoteWindowOpen());

    note = notes->NewNote(false);
    HWND title = GetDlgItem(note, IDC_NOTE_TITLE);
    SendMessageW(note, WM_COMMAND, MAKEWPARAM(IDC_NOTE_TITLE, CBN_SETFOCUS), reinterpret_cast<LPARAM>(title));
    SetWindowTextW(title, L"Call home");
    Done(note);
    EXPECT_EQ(std::vector<std::wstring>{L"Jotling0.jot"}, Files());
    ASSERT_NE(nullptr, notes->FirstEntry());
    EXPECT_STREQ(L"Call home", notes->FirstEntry()->title.c_str());
    std::vector<MessageRecord> expected = {{"main", kMsgNoteClosed, 0}, {"main", kMsgNoteSaved, 1},
                                           {"main", kMsgNoteClosed, 0}};
    EXPECT_MESSAGES(expected, reports);
}

TEST_F(NoteLifeTest, OpenedNoteIsWrittenBackInPlaceAndListedOnce)
{
    SYSTEMTIME never = NeverExpiring();
    AddNote(L"Jotling4.jot", L"Groceries", never);
    Start();
    notes->OpenNote(0);
    HWND note = ShownNote();
    ASSERT_NE(nullptr, note);
    Pump();
    EXPECT_EQ(L"Groceries", ShownTitle());
    reports.Clear();
    Done(note);
    std::vector<MessageRecord> expected = {{"main", kMsgNoteSaved, 0}, {"main", kMsgNoteClosed, 0}};
    EXPECT_MESSAGES(expected, reports);
    EXPECT_EQ(std::vector<std::wstring>{L"Jotling4.jot"}, Files());
    EXPECT_EQ(1, notes->EntryCount());
}

// Each alarm waits for the one on screen: with "AutoDel" on, a note due
// together with another is still seen before it goes.
TEST_F(NoteLifeTest, NotesDueTogetherAreShownOneAfterAnother)
{
    for (int autoDelete = 0; autoDelete <= 1; ++autoDelete) {
        SCOPED_TRACE(autoDelete);
        g_application->SetAutoDel(autoDelete);
        AddNote(L"Jotling0.jot", L"Second", MinutesFromNow(-5));
        AddNote(L"Jotling1.jot", L"First", MinutesFromNow(-10));
        EXPECT_TRUE(Start());   // the start-up check opened the earliest

        Pump();
        EXPECT_EQ(L"First", ShownTitle());
        EXPECT_EQ((std::vector<std::wstring>{L"Jotling0.jot", L"Jotling1.jot.alarm"}), Files());
        EXPECT_EQ(1, notes->EntryCount());   // the one waiting is still listed
        PostMessageW(mainHandle, kMsgCheckExpired, 0, 0);
        Pump();
        EXPECT_EQ(L"First", ShownTitle()) << "a check while an alarm is up waits for it";

        Done(ShownNote());
        EXPECT_EQ(L"Second", ShownTitle());
        std::vector<std::wstring> during = autoDelete ? std::vector<std::wstring>{L"Jotling0.jot.alarm"}
                                                      : std::vector<std::wstring>{L"Jotling0.jot.alarm", L"Jotling1.jot"};
        EXPECT_EQ(during, Files());

        Done(ShownNote());
        EXPECT_EQ(nullptr, ShownNote());
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

// A timed run that came a moment before its note's time: the forced check
// opens the pending note it was for, never one that had its alarm already.
TEST_F(NoteLifeTest, ForcedCheckOpensTheEarliestPendingNoteWhenNoneIsDue)
{
    AddNote(L"Jotling0.jot", L"Later", MinutesFromNow(90));
    AddNote(L"Jotling1.jot", L"Sooner", MinutesFromNow(30));
    AddNote(L"Jotling2.jot", L"Had its alarm", MinutesFromNow(-60), 1);
    EXPECT_FALSE(Start());
    EXPECT_FALSE(notes->CheckExpired(false));
    EXPECT_EQ(nullptr, ShownNote());
    PostMessageW(mainHandle, kMsgCheckExpired, 0, 0);
    Pump();
    EXPECT_EQ(L"Sooner", ShownTitle());
}

TEST_F(NoteLifeTest, DeletingSeveralNotesAsksOnceAndSignalsTheChange)
{
    SYSTEMTIME never = NeverExpiring();
    for (const wchar_t* name : {L"Jotling0.jot", L"Jotling1.jot", L"Jotling2.jot", L"Jotling3.jot"})
        AddNote(name, name, never);
    Start();
    notes->Show();
    ASSERT_NE(nullptr, notes->Window());
    SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_SELECT_ALL, 0);
    ListView_SetItemState(notes->List().Window(), 3, 0, LVIS_SELECTED);
    ResetEvent(g_application->ChangeEvent());

    g_answer = IDNO;
    SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_DELETE, 0);
    EXPECT_EQ(4u, Files().size());
    EXPECT_NE(WAIT_OBJECT_0, WaitForSingleObject(g_application->ChangeEvent(), 0));

    g_answer = IDYES;
    SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_DELETE, 0);
    ASSERT_EQ(2u, g_asked.size());
    EXPECT_EQ(L"Do you really want to delete selected jotlings?", g_asked[1].text);
    EXPECT_EQ(UINT(MB_YESNO), g_asked[1].type);
    EXPECT_EQ(1u, Files().size());
    EXPECT_EQ(1, notes->EntryCount());
    EXPECT_EQ(1, ListView_GetItemCount(notes->List().Window()));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_application->ChangeEvent(), 0));
}

TEST_F(NoteLifeTest, TodayHandOverOpensOnlyTheExactPath)
{
    SYSTEMTIME never = NeverExpiring();
    std::wstring path = AddNote(L"Jotling7.jot", L"From Today", never);
    Start();
    std::wstring otherCase = path;
    std::transform(otherCase.begin(), otherCase.end(), otherCase.begin(), ::towupper);
    ASSERT_TRUE(HandOverNotePath(mainHandle, otherCase.c_str()));
    Pump();
    EXPECT_EQ(nullptr, ShownNote());
    // A posted 1127 carries a pointer from nobody: ignored.
    PostMessageW(mainHandle, kMsgOpenNotePath, reinterpret_cast<WPARAM>(path.c_str()), 0);
    Pump();
    EXPECT_EQ(nullptr, ShownNote());

    ASSERT_TRUE(HandOverNotePath(mainHandle, path.c_str()));
    Pump();
    EXPECT_EQ(L"From Today", ShownTitle());
}

// Another program can make "JotlingsMap" before a tap: backed by a file of
// its own, read-only, or reserved and never committed. The tap writes
// nothing into it, the program reads nothing from it, and neither faults;
// once it is gone, taps hand notes over again.
TEST_F(NoteLifeTest, AJotlingsMapMadeBeforehandIsNotUsed)
{
    std::wstring path = AddNote(L"Jotling5.jot", L"Tapped", NeverExpiring());
    Start();
    std::wstring backingPath = Path(L"backing.bin");
    HANDLE backing = CreateFileW(backingPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                 nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, backing);
    struct {
        const char* what;
        HANDLE file;
        DWORD protection;
        DWORD size;
    } made[] = {
        {"file-backed", backing, PAGE_READWRITE, kSharedNoteMapSize},
        {"read-only", INVALID_HANDLE_VALUE, PAGE_READONLY, kSharedNoteMapSize},
        {"reserved", INVALID_HANDLE_VALUE, PAGE_READWRITE | SEC_RESERVE, 1 << 20},
    };
    for (const auto& m : made) {
        HANDLE map = CreateFileMappingW(m.file, nullptr, m.protection, 0, m.size, kSharedNoteMapName);
        ASSERT_NE(nullptr, map) << m.what;
        EXPECT_FALSE(HandOverNotePath(mainHandle, path.c_str())) << m.what;
        SendMessageW(mainHandle, kMsgOpenSharedNote, 0, 0);  // as a tap that got through would
        wchar_t read[MAX_PATH];
        EXPECT_FALSE(ReadSharedNotePath(read, MAX_PATH)) << m.what;
        Pump();
        EXPECT_EQ(nullptr, ShownNote()) << m.what;
        CloseHandle(map);
    }
    DWORD size = GetFileSize(backing, nullptr);
    std::string bytes(size, '\0');
    DWORD got = 0;
    SetFilePointer(backing, 0, nullptr, FILE_BEGIN);
    ReadFile(backing, &bytes[0], size, &got, nullptr);
    CloseHandle(backing);
    DeleteFileW(backingPath.c_str());
    EXPECT_EQ(std::string(kSharedNoteMapSize, '\0'), bytes) << "the tapped path went into another program's file";

    ASSERT_TRUE(HandOverNotePath(mainHandle, path.c_str()));
    Pump();
    EXPECT_EQ(L"Tapped", ShownTitle());
}

// The Today item hands a note over from the shell's process: the note
// window and its menu bar come up in the program all the same.
TEST_F(NoteLifeTest, TodayHandOverFromAnotherThreadOpensTheNote)
{
    SYSTEMTIME never = NeverExpiring();
    std::wstring path = AddNote(L"Jotling3.jot", L"From the shell", never);
    Start();
    bool sent = false;
    FromAnotherThread([&] { sent = HandOverNotePath(mainHandle, path.c_str()); });
    ASSERT_TRUE(sent);
    ASSERT_NE(nullptr, ShownNote());
    EXPECT_TRUE(IsWindowVisible(ShownNote()));
    EXPECT_EQ(L"From the shell", ShownTitle());
    ASSERT_NE(nullptr, notes->CurrentNoteWindow());
    EXPECT_NE(nullptr, notes->CurrentNoteWindow()->MenuBar().Window()) << "the note's menu bar";
}

// The Today item's send is answered once the path is read: the shell is
// not held while the note window is built, nor by a program that hangs in
// it. The note opens from the queue; of two taps before that, the later.
// What opens it carries nothing, so posted again by anyone it opens nothing.
TEST_F(NoteLifeTest, TodayHandOverIsAnsweredBeforeTheNoteOpens)
{
    std::wstring first = AddNote(L"Jotling0.jot", L"First tap", NeverExpiring());
    std::wstring second = AddNote(L"Jotling1.jot", L"Second tap", NeverExpiring());
    Start();
    for (const std::wstring* path : {&first, &second}) {
        g_handOverTo = mainHandle;
        g_handedOver = *path;
        HANDLE sender = CreateThread(
            nullptr, 0, [](void*) -> DWORD { return HandOverNotePath(g_handOverTo, g_handedOver.c_str()) ? 0 : 1; },
            nullptr, 0, nullptr);
        ASSERT_NE(nullptr, sender);
        // Only sends are answered meanwhile: the queue is not run.
        MSG msg;
        while (MsgWaitForMultipleObjects(1, &sender, FALSE, 10000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD handedOver = 1;
        GetExitCodeThread(sender, &handedOver);
        CloseHandle(sender);
        EXPECT_EQ(0u, handedOver) << "the send was answered";
    }
    EXPECT_EQ(nullptr, ShownNote()) << "nothing was built inside the send";
    Pump();
    EXPECT_EQ(L"Second tap", ShownTitle());
    Done(ShownNote());
    PostMessageW(mainHandle, kMsgOpenHandedOver, 0, 0);
    Pump();
    EXPECT_EQ(nullptr, ShownNote());
}

TEST_F(NoteLifeTest, AlarmNoteLeftAsideByAProgramThatDiedComesBackAndItsSavesGo)
{
    AddNote(L"Jotling2.jot", L"Dentist", MinutesFromNow(-1));
    EXPECT_TRUE(Start());
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling2.jot.alarm"}), Files());
    // The program dies with the alarm up: nothing closes the note.
    SetWindowLongPtrW(ShownNote(), GWLP_USERDATA, 0);
    DestroyWindow(ShownNote());
    DestroyWindow(mainHandle);
    mainHandle = nullptr;
    Pump();
    // (The store's object is leaked here on purpose: a dead program frees nothing.)
    notes = nullptr;
    // Saves it had begun, of a note and of the aside copy, cut short.
    ASSERT_TRUE(WriteTestNote(Path(L"Jotling5.jot.saving"), L"Half", NeverExpiring()));
    ASSERT_TRUE(WriteTestNote(Path(L"Jotling2.jot.alarm.saving"), L"Half", NeverExpiring()));

    EXPECT_TRUE(Start());   // put back, and due again
    EXPECT_EQ(L"Dentist", ShownTitle());
    Done(ShownNote());
    // Kept as an expired note under the first free name, as every alarm is.
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling0.jot"}), Files());
    EXPECT_EQ(1, Head(L"Jotling0.jot").expired);
    EXPECT_STREQ(L"Dentist", Head(L"Jotling0.jot").title);
}

// A note put back that is not due (its time was moved on before the kill)
// opens no alarm: the Today item still hears of it, to list and schedule it.
TEST_F(NoteLifeTest, NotePutBackAfterAKillIsSignalledEvenWhenNotDue)
{
    ASSERT_TRUE(WriteTestNote(Path(L"Jotling3.jot.alarm"), L"Moved on", MinutesFromNow(30)));
    ResetEvent(g_application->ChangeEvent());
    EXPECT_FALSE(Start());
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling3.jot"}), Files());
    EXPECT_EQ(1, notes->EntryCount());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_application->ChangeEvent(), 0)) << "the item was not told";
}

// Closing an alarm with ok turns its set-aside copy into the kept note in
// one step: a kill at any moment of the close finds the note once, never
// the kept note beside an aside copy that the next start shows as due.
// With no name free the note stays aside, whole, until ok is tapped again.
TEST_F(NoteLifeTest, AlarmKeptWithOkIsOneFileAtEveryMomentOfTheClose)
{
    AddNote(L"Jotling2.jot", L"Dentist", MinutesFromNow(-1));
    ASSERT_TRUE(Start());
    ControlHolds(std::string(3000, 'x'), true);
    TakeEveryFreeName();
    HWND alarm = ShownNote();
    // What lies in the folder as the window goes, before the sound stops
    // and the main window hears of the save: what a kill there leaves.
    std::vector<std::wstring> asideAtDestroy{L"not seen"};
    MessageLog closing;
    closing.Keep([&](UINT message) {
        if (message == WM_DESTROY)
            asideAtDestroy = Files(L"*.alarm");
        return false;
    });
    closing.Watch(alarm, "alarm");

    Done(alarm);
    EXPECT_TRUE(IsWindow(alarm));
    ASSERT_EQ(1u, g_asked.size());
    EXPECT_NE(std::wstring::npos, g_asked[0].text.find(L"1000"));
    ASSERT_EQ((std::vector<std::wstring>{L"Jotling2.jot.alarm"}), Files(L"*.alarm"));
    EXPECT_EQ(0, Head(L"Jotling2.jot.alarm").expired) << "the aside copy is the due note until it is kept";

    for (int n = 0; n < kMaxNoteFiles; ++n)
        DeleteFileW(Path(NoteName(n).c_str()).c_str());
    Done(alarm);
    EXPECT_FALSE(IsWindow(alarm));
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling0.jot"}), Files());
    EXPECT_EQ(std::vector<std::wstring>{}, asideAtDestroy) << "the aside copy outlived the kept note's save";
    EXPECT_EQ(1, Head(L"Jotling0.jot").expired);
    EXPECT_EQ(std::string(3000, 'x'), Ink(L"Jotling0.jot"));
    EXPECT_EQ(1, notes->EntryCount());
}

TEST_F(NoteLifeTest, NoteThatCannotBeReadWholeIsNeitherShownNorOverwritten)
{
    SYSTEMTIME never = NeverExpiring();
    std::wstring path = AddNote(L"Jotling0.jot", L"Damaged", never);
    // Cut inside its ink data: the head is there, so it is listed.
    ASSERT_TRUE(WriteTestNote(path, L"Damaged", never, 0, std::string(100, 7)));
    CutFile(path, kNoteFileHeaderSize + 40);

    Start();
    notes->OpenNote(0);
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
    TakeEveryFreeName();
    HWND note = notes->NewNote(false);
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

// The Today item's hand-over arrives as a send from the shell's process; the
// note it closes reports its save while the main window is still inside
// that send, and the list must take the report.
TEST_F(NoteLifeTest, NoteClosedByATodayHandOverKeepsItsRow)
{
    std::wstring first = AddNote(L"Jotling0.jot", L"Groceries", NeverExpiring());
    std::wstring second = AddNote(L"Jotling1.jot", L"Dentist", NeverExpiring());
    Start();
    notes->OpenNoteByPath(first.c_str());
    HWND title = GetDlgItem(ShownNote(), IDC_NOTE_TITLE);
    SendMessageW(ShownNote(), WM_COMMAND, MAKEWPARAM(IDC_NOTE_TITLE, CBN_SETFOCUS), LPARAM(title));
    SetWindowTextW(title, L"Groceries and bread");
    FromAnotherThread([&] { HandOverNotePath(mainHandle, second.c_str()); });
    EXPECT_EQ(L"Dentist", ShownTitle());
    ASSERT_NE(nullptr, notes->FindEntry(first.c_str()));
    EXPECT_STREQ(L"Groceries and bread", notes->FindEntry(first.c_str())->title.c_str());

    HWND note = notes->NewNote(false);
    ControlHolds("ink of a new note", true);
    FromAnotherThread([&] { HandOverNotePath(mainHandle, first.c_str()); });
    EXPECT_FALSE(IsWindow(note));
    EXPECT_EQ(3u, Files().size());
    EXPECT_EQ(3, notes->EntryCount()) << "the new note is listed";
    EXPECT_EQ(3, ListView_GetItemCount(notes->List().Window()));

    // The same report from another thread is nobody's: refused.
    std::wstring other = AddNote(L"Jotling5.jot", L"Not ours", NeverExpiring());
    FromAnotherThread([&] { SendMessageW(mainHandle, kMsgNoteSaved, 1, LPARAM(other.c_str())); });
    EXPECT_EQ(nullptr, notes->FindEntry(other.c_str()));
}

TEST_F(NoteLifeTest, ExpiredNoteOpenedByTheUserIsWrittenBackEvenWithAutoDelete)
{
    g_application->SetAutoDel(1);
    AddNote(L"Jotling0.jot", L"Was due", MinutesFromNow(-60), 1);
    Start();
    notes->OpenNote(0);
    ASSERT_NE(nullptr, ShownNote());
    ControlHolds("written after its alarm", true);
    Done(ShownNote());
    EXPECT_EQ("written after its alarm", Ink(L"Jotling0.jot"));
    EXPECT_EQ(1, Head(L"Jotling0.jot").expired) << "its expiry did not change";
}

namespace {

// While the delete question is up, the list is filled again (a save, an
// alarm) and the user selects every row; then a file is held open.
std::wstring g_heldPath;
NoteStore* g_answeringStore = nullptr;
HANDLE g_held = INVALID_HANDLE_VALUE;
int AnswerAfterTheListChanged(HWND, const wchar_t* text, const wchar_t*, UINT type)
{
    g_asked.push_back({text, type});
    if ((type & MB_YESNO) != 0) {
        g_answeringStore->RefreshList();
        g_answeringStore->List().SelectAll();
        if (!g_heldPath.empty())
            g_held = CreateFileW(g_heldPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    return IDYES;
}

}  // namespace

TEST_F(NoteLifeTest, DeleteRemovesExactlyTheNotesAskedAbout)
{
    for (const wchar_t* name : {L"Jotling0.jot", L"Jotling1.jot", L"Jotling2.jot"})
        AddNote(name, name, NeverExpiring());
    Start();
    notes->Show();
    HWND list = notes->List().Window();
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    std::wstring chosen = notes->EntryAt(1)->path;
    g_answeringStore = notes;
    SetAskUserFunction(AnswerAfterTheListChanged);
    SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_DELETE, 0);
    EXPECT_EQ(L"Do you really want to delete selected jotling?", g_asked.at(0).text);
    EXPECT_EQ(2u, Files().size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(chosen.c_str())) << "the one chosen went";
    EXPECT_EQ(2, notes->EntryCount());

    // A file another program holds open is not deleted: it stays listed and
    // the user is told.
    g_noteFileBusyRetryMs = 100;
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    g_heldPath = notes->EntryAt(0)->path;
    g_asked.clear();
    SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_DELETE, 0);
    CloseHandle(g_held);
    g_held = INVALID_HANDLE_VALUE;
    EXPECT_NE(nullptr, notes->FindEntry(g_heldPath.c_str()));
    EXPECT_EQ(2u, Files().size());
    ASSERT_EQ(2u, g_asked.size());
    EXPECT_EQ(UINT(MB_OK | MB_ICONWARNING), g_asked[1].type);
    g_heldPath.clear();
}

TEST_F(NoteLifeTest, ClearAllOnAStoredNoteIsKept)
{
    AddNote(L"Jotling0.jot", L"Scribbles", NeverExpiring(), 0, "old strokes");
    Start();
    notes->OpenNote(0);
    ASSERT_NE(nullptr, ShownNote());
    ControlHolds("", false);   // the control made afresh: empty and unmodified
    SendMessageW(ShownNote(), WM_COMMAND, IDM_NOTE_CLEAR_ALL, 0);
    Done(ShownNote());
    EXPECT_EQ("", Ink(L"Jotling0.jot"));
}

// Any program may post or send to any window: a WM_NOTIFY whose lParam is a
// number, and creation messages sent again with a creation parameter of
// someone else's, are ignored by every window of the program.
TEST_F(NoteLifeTest, ForeignPointerMessagesAreIgnoredByEveryWindow)
{
    AddNote(L"Jotling0.jot", L"Keep me", NeverExpiring(), 0, "strokes");
    Start();
    notes->Show();
    notes->OpenNote(0);
    HWND note = ShownNote();
    ASSERT_NE(nullptr, note);
    PostMessageW(note, kMsgNoteOpenPicker, 0, 0);
    Pump();
    ASSERT_TRUE(notes->CurrentNoteWindow()->Picker().IsOpen());

    // Every window of the program and every child of each, the system's
    // controls it hosts included (list view, header, toolbar, combo box,
    // date and time field).
    std::vector<HWND> windows = {mainHandle};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM list) {
        auto* all = reinterpret_cast<std::vector<HWND>*>(list);
        all->push_back(window);
        EnumChildWindows(window, [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        }, list);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));

    BYTE canary = 0x55;
    CREATESTRUCTW foreign = {};
    foreign.lpCreateParams = &canary;
    for (HWND window : windows) {
        if (window == nullptr || !IsWindow(window))
            continue;
        wchar_t className[64] = L"";
        GetClassNameW(window, className, 64);
        SCOPED_TRACE(className);
        // A crash ends the program before a trace could say where.
        fprintf(stderr, "WM_NOTIFY from elsewhere to %ls\n", className);
        for (LPARAM stray : {LPARAM(0x3C), LPARAM(-1)}) {
            PostMessageW(window, WM_NOTIFY, 0, stray);
            FromAnotherThread([&] { SendMessageW(window, WM_NOTIFY, 1, stray); });
        }
        Pump();
        // Creation messages: the program's own classes believe only their first.
        std::wstring name = className;
        static const wchar_t* const kOwnClasses[] = {
            L"NoteLifeTestMain", L"JotlingWndClass", L"AllJotlingsWnd",  L"PopupBtnClass",
            L"ClockBtnClass",    L"DateTimePicker",  L"CeShellMenuBar", L"CeShellSipButton"};
        if (std::find(std::begin(kOwnClasses), std::end(kOwnClasses), name) == std::end(kOwnClasses))
            continue;
        FromAnotherThread([&] {
            SendMessageW(window, WM_NCCREATE, 0, LPARAM(&foreign));
            SendMessageW(window, WM_CREATE, 0, LPARAM(&foreign));
        });
        EXPECT_EQ(0x55, canary);
    }
    EXPECT_TRUE(IsWindow(note));
    EXPECT_EQ(L"Keep me", ShownTitle());
    Done(note);
    EXPECT_EQ("strokes", Ink(L"Jotling0.jot")) << "the note was kept as it was";
}

namespace {

// The user's answer comes only after the Today item's poll has asked for a
// check many times, as it does every 5 seconds while a message is up.
int g_checksDuringPrompt = 0;
HWND g_checkedWindow = nullptr;
int AnswerAfterAStormOfChecks(HWND, const wchar_t* text, const wchar_t*, UINT type)
{
    g_asked.push_back({text, type});
    int checks = g_checksDuringPrompt;
    g_checksDuringPrompt = 0;
    for (int i = 0; i < checks; ++i) {
        PostMessageW(g_checkedWindow, kMsgCheckExpired, 0, 0);
        Pump();
    }
    return IDOK;
}

}  // namespace

TEST_F(NoteLifeTest, DamagedDueNoteIsToldOnceAndChecksWaitForTheAnswer)
{
    Start();
    std::wstring damaged = AddNote(L"Jotling0.jot", L"Cut short", MinutesFromNow(-10), 0, std::string(100, 'x'));
    CutFile(damaged, kNoteFileHeaderSize + 40);
    AddNote(L"Jotling1.jot", L"Whole", MinutesFromNow(-5));
    notes->LoadFolder();
    g_checksDuringPrompt = 12;
    g_checkedWindow = mainHandle;
    SetAskUserFunction(AnswerAfterAStormOfChecks);
    PostMessageW(mainHandle, kMsgCheckExpired, 0, 0);
    Pump();
    ASSERT_EQ(1u, g_asked.size());
    EXPECT_EQ(L"This jotling could not be read. Its file is left as it is.", g_asked[0].text);
    EXPECT_EQ(L"Whole", ShownTitle()) << "the next due note came after the answer";
    Done(ShownNote());
    for (int i = 0; i < 3; ++i)
        PostMessageW(mainHandle, kMsgCheckExpired, 0, 0);
    Pump();
    EXPECT_EQ(1u, g_asked.size()) << "told once per note and run";
    EXPECT_EQ(nullptr, ShownNote()) << "a note is due: no other note is forced up instead";
    EXPECT_NE(nullptr, notes->FindEntry(damaged.c_str())) << "still listed";
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(damaged.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(kNoteFileHeaderSize + 40, data.nFileSizeLow) << "left as it was";

    // The user deletes it, and the next note takes the freed name.
    ASSERT_TRUE(DeleteFileW(damaged.c_str()));
    AddNote(L"Jotling0.jot", L"New under the old name", MinutesFromNow(-1));
    notes->LoadFolder();
    PostMessageW(mainHandle, kMsgCheckExpired, 0, 0);
    Pump();
    EXPECT_EQ(L"New under the old name", ShownTitle()) << "another file under the name alarms";
    EXPECT_EQ(1u, g_asked.size());
}

// The user moves the note on screen to a later time just as its old time
// comes: the check sees the note as saved, with its new time.
TEST_F(NoteLifeTest, NoteMovedToALaterTimeIsNeitherAnAlarmNorExpired)
{
    // Listed after the start, whose own check would show it at once.
    Start();
    std::wstring path = AddNote(L"Jotling0.jot", L"Postponed", MinutesFromNow(-1));
    notes->LoadFolder();
    notes->OpenNoteByPath(path.c_str());
    HWND note = ShownNote();
    ASSERT_NE(nullptr, note);
    SendMessageW(note, WM_COMMAND, kCmdExpiry1Hour, 0);
    PostMessageW(mainHandle, kMsgCheckExpired, 0, 0);
    Pump();
    EXPECT_FALSE(notes->CurrentNoteWindow() != nullptr && notes->CurrentNoteWindow()->Window() != nullptr &&
                 notes->CurrentNoteWindow()->Mode() == OpenMode::Alarm)
        << "no alarm for the note's old time";
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling0.jot"}), Files());
    NoteHead head = Head(L"Jotling0.jot");
    EXPECT_EQ(0, head.expired);
    EXPECT_EQ(1, CompareTimes(head.expiry, MinutesFromNow(50))) << "kept with its new time";
}

// Requests that waited behind a question run afterwards, but never close an
// alarm that came up meanwhile, and a forced check whose note is gone
// falls back on no other.
TEST_F(NoteLifeTest, DeferredRequestsLeaveTheAlarmOnScreenAndLoseTheirReasonWithTheirNote)
{
    Start();
    AddNote(L"Jotling0.jot", L"Due", MinutesFromNow(-1));
    std::wstring other = AddNote(L"Jotling1.jot", L"Other", NeverExpiring());
    AddNote(L"Jotling2.jot", L"Later", MinutesFromNow(60));
    notes->LoadFolder();
    g_application->SetAutoDel(1);
    notes->Show();
    // A check and a tap on the Today screen while the user is asked.
    g_whileAsked = [&] {
        SendMessageW(mainHandle, kMsgCheckExpired, 0, 0);
        notes->OpenNoteByPath(other.c_str());
    };
    g_answer = IDNO;
    SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_SELECT_ALL, 0);
    SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_DELETE, 0);
    Pump();
    ASSERT_EQ(1u, g_asked.size());
    EXPECT_EQ(L"Due", ShownTitle()) << "the alarm stays on screen";
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling0.jot.alarm", L"Jotling1.jot", L"Jotling2.jot"}), Files());
    Done(ShownNote());
    EXPECT_EQ(L"Other", ShownTitle()) << "the tap is taken once the alarm is closed";
    Done(ShownNote());

    // The timed run's forced check comes while the user is asked about
    // deleting the very note it was for.
    g_application->SetAutoDel(0);
    std::wstring dueAgain = AddNote(L"Jotling3.jot", L"Due again", MinutesFromNow(-1));
    notes->LoadFolder();
    notes->SortByColumn(kSortReapply);
    notes->RefreshList();
    g_whileAsked = [&] { PostMessageW(mainHandle, kMsgCheckExpired, 0, 0); };
    g_answer = IDYES;
    int row = -1;
    for (int i = 0; i < notes->EntryCount(); ++i) {
        if (notes->EntryAt(i)->path == dueAgain)
            row = i;
    }
    ASSERT_GE(row, 0);
    ListView_SetItemState(notes->List().Window(), -1, 0, LVIS_SELECTED);
    ListView_SetItemState(notes->List().Window(), row, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_DELETE, 0);
    Pump();
    EXPECT_EQ(nullptr, notes->FindEntry(dueAgain.c_str()));
    EXPECT_EQ(nullptr, ShownNote()) << "no other note is shown as an alarm";
    EXPECT_EQ(0, Head(L"Jotling2.jot").expired);
}

namespace {

// An alarm's recording that plays until it is cut, and whose thread takes a
// while to end after the cut, as a sound device does: the close waits for
// it, serving what other threads send meanwhile. The cut also starts the
// Today item's hand-over of g_handedOver from another thread.
HANDLE g_recordingCut = nullptr;
HANDLE g_handOverThread = nullptr;
BOOL WINAPI RecordingUntilCut(LPCWSTR sound, HMODULE, DWORD flags)
{
    if (sound == nullptr) {
        if (g_handOverThread == nullptr && WaitForSingleObject(g_recordingCut, 0) != WAIT_OBJECT_0) {
            g_handOverThread = CreateThread(
                nullptr, 0,
                [](void*) -> DWORD { return HandOverNotePath(g_handOverTo, g_handedOver.c_str()) ? 0 : 1; },
                nullptr, 0, nullptr);
        }
        SetEvent(g_recordingCut);
        return TRUE;
    }
    if ((flags & SND_MEMORY) != 0) {
        WaitForSingleObject(g_recordingCut, 10000);
        Sleep(500);
    }
    return TRUE;
}

}  // namespace

// What the note window hears of its own menu: as it comes up, an alarm
// falls due and the user is about to let the menu go; as it ends, whether
// the note was still there.
HWND g_menuNote = nullptr;
HWND g_menuMain = nullptr;
bool g_noteAtMenuEnd = false;
LRESULT CALLBACK WatchNoteMenu(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == g_menuNote && g_menuNote != nullptr) {
        if (sent->message == WM_INITMENUPOPUP) {
            PostMessageW(g_menuMain, kMsgCheckExpired, 0, 0);
            PostMessageW(g_menuMain, WM_KEYDOWN, VK_ESCAPE, 0);
        } else if (sent->message == WM_EXITMENULOOP) {
            g_noteAtMenuEnd = IsWindow(g_menuNote) != FALSE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A menu's loop lets requests in; one that closed the note would pull the
// menu's window away from under it. They wait until the menu goes.
TEST_F(NoteLifeTest, AnAlarmWhileTheNotesMenuIsUpWaitsForTheMenu)
{
    Start();
    AddNote(L"Jotling0.jot", L"Due", MinutesFromNow(-1));
    notes->LoadFolder();
    HWND note = notes->NewNote(false);
    ASSERT_NE(nullptr, note);
    HWND bar = notes->CurrentNoteWindow()->MenuBar().Window();
    RECT edit = {};
    ASSERT_TRUE(SendMessageW(bar, TB_GETRECT, IDC_NOTE_TITLE, reinterpret_cast<LPARAM>(&edit)));
    g_menuNote = note;
    g_menuMain = mainHandle;
    g_noteAtMenuEnd = false;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchNoteMenu, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    LPARAM at = MAKELPARAM((edit.left + edit.right) / 2, (edit.top + edit.bottom) / 2);
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(bar, WM_LBUTTONUP, 0, at);
    PumpUntil([&] { return ShownTitle() == L"Due"; }, 3000);
    UnhookWindowsHookEx(hook);
    g_menuNote = nullptr;
    EXPECT_TRUE(g_noteAtMenuEnd) << "the note was closed under its menu";
    EXPECT_EQ(L"Due", ShownTitle()) << "the alarm came once the menu went";
}

TEST_F(NoteLifeTest, TodayTapWhileAnAlarmClosesWaitsForTheClose)
{
    AddNote(L"Jotling0.jot", L"Alarm", MinutesFromNow(-1), 0, "strokes");
    std::wstring tapped = AddNote(L"Jotling1.jot", L"Tapped", NeverExpiring());
    ControlHolds(std::string("strokes RIFF\x09\0\0\0WAVEsound", 25), false);
    g_application->SetPlayRec(1);
    g_application->SetPlaySnd(0);
    g_application->SetSndCount(1);
    g_recordingCut = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_handedOver = tapped;
    g_handOverThread = nullptr;
    InkControl::playSound = RecordingUntilCut;
    ASSERT_TRUE(Start());
    g_handOverTo = mainHandle;
    Done(ShownNote());
    ASSERT_NE(nullptr, g_handOverThread) << "the close cut the recording";
    PumpUntil([] { return WaitForSingleObject(g_handOverThread, 0) == WAIT_OBJECT_0; }, 10000);
    Pump();
    InkControl::playSound = PlaySoundW;
    DWORD handedOver = 1;
    GetExitCodeThread(g_handOverThread, &handedOver);
    CloseHandle(g_handOverThread);
    CloseHandle(g_recordingCut);
    EXPECT_EQ(0u, handedOver);
    EXPECT_EQ(L"Tapped", ShownTitle()) << "the tap is taken after the close";
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling0.jot", L"Jotling1.jot"}), Files());
    EXPECT_EQ(2, notes->EntryCount()) << "the alarm's note is kept and listed";
    EXPECT_EQ(1, Head(L"Jotling0.jot").expired);
}

namespace {

// The Today item's refresh holding a note file for a moment: opened so that
// the note can be read but not renamed or deleted, let go after 300 ms.
DWORD WINAPI LetGoOfNoteSoon(void* file)
{
    Sleep(300);
    CloseHandle(file);
    return 0;
}

}  // namespace

// Notes falling due are the moment the Today item reads their heads: the
// alarm's note is still set aside, and an alarm "AutoDel" removes tells the
// item that the note is gone.
TEST_F(NoteLifeTest, AlarmNoteIsSetAsidePastABriefHoldAndItsEndIsSignalled)
{
    g_application->SetAutoDel(1);
    std::wstring path = AddNote(L"Jotling0.jot", L"Due", MinutesFromNow(-1));
    HANDLE held = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    HANDLE letGo = CreateThread(nullptr, 0, LetGoOfNoteSoon, held, 0, nullptr);
    ASSERT_NE(nullptr, letGo);
    ASSERT_TRUE(Start());
    WaitForSingleObject(letGo, 5000);
    CloseHandle(letGo);
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling0.jot.alarm"}), Files());

    ResetEvent(g_application->ChangeEvent());
    Done(ShownNote());
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_application->ChangeEvent(), 0)) << "the item was not told";
}

// Snooze on the alarm's bar: the note is kept pending at its new time, and
// the Today item hears of it to schedule it.
TEST_F(NoteLifeTest, SnoozedAlarmIsKeptPendingAtItsNewTimeAndTheItemIsTold)
{
    g_application->SetAutoDel(1);
    AddNote(L"Jotling0.jot", L"Call back", MinutesFromNow(-1));
    ASSERT_TRUE(Start());
    HMENU bar = reinterpret_cast<HMENU>(SendMessageW(notes->CurrentNoteWindow()->MenuBar().Window(), SHCMBM_GETMENU, 0, 0));
    ASSERT_NE(nullptr, bar);
    wchar_t label[64] = L"";
    GetMenuStringW(bar, 1, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(L"Snooze", label);
    EXPECT_EQ(4, GetMenuItemCount(GetSubMenu(bar, 1)));

    ResetEvent(g_application->ChangeEvent());
    SYSTEMTIME before = MinutesFromNow(15);
    SendMessageW(ShownNote(), WM_COMMAND, IDM_SNOOZE_15_MINUTES, 0);
    Pump();
    EXPECT_EQ(nullptr, ShownNote());
    ASSERT_EQ((std::vector<std::wstring>{L"Jotling0.jot"}), Files()) << "kept whatever \"AutoDel\" says";
    NoteHead head = Head(L"Jotling0.jot");
    EXPECT_EQ(0, head.expired);
    EXPECT_NE(1, CompareTimes(before, head.expiry));
    EXPECT_NE(1, CompareTimes(head.expiry, MinutesFromNow(15)));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_application->ChangeEvent(), 0)) << "the item was not told";
    EXPECT_EQ(1, notes->EntryCount());
    EXPECT_FALSE(notes->CheckExpired(false)) << "not due before its new time";
    // The timed run for it, come a moment early: its note, kept under the
    // name of the alarm that closed, is what the forced check opens.
    PostMessageW(mainHandle, kMsgCheckExpired, 0, 0);
    Pump();
    EXPECT_EQ(L"Call back", ShownTitle());
}

// A start with a command word or a note's path after a kill: the alarm the
// start brought back stays up, and what the command asks comes after it.
TEST_F(NoteLifeTest, StartsCommandWaitsBehindTheAlarmTheStartBroughtBack)
{
    g_application->SetAutoDel(1);
    for (bool byPath : {false, true}) {
        SCOPED_TRACE(byPath);
        AddNote(L"Jotling0.jot", L"Alarm", MinutesFromNow(-1));
        std::wstring tapped = AddNote(L"Jotling1.jot", L"Tapped", NeverExpiring());
        ASSERT_TRUE(Start());
        mainWindow->PostCommandLine(byPath ? tapped.c_str() : L"addnew");
        Pump();
        EXPECT_EQ(L"Alarm", ShownTitle());
        EXPECT_EQ((std::vector<std::wstring>{L"Jotling0.jot.alarm", L"Jotling1.jot"}), Files());

        Done(ShownNote());
        ASSERT_NE(nullptr, ShownNote()) << "the start's command ran when the alarm closed";
        ASSERT_NE(nullptr, notes->CurrentNoteWindow());
        EXPECT_EQ(byPath ? OpenMode::Open : OpenMode::New, notes->CurrentNoteWindow()->Mode());
        if (byPath)
            EXPECT_EQ(L"Tapped", ShownTitle());
        EXPECT_EQ((std::vector<std::wstring>{L"Jotling1.jot"}), Files());
        TearDown();
        SetUp();
        for (const std::wstring& name : Files())
            DeleteFileW(Path(name.c_str()).c_str());
        g_application->SetAutoDel(1);
    }
}

TEST_F(NoteLifeTest, NoteWithAnImpossibleDateIsNeverTheAlarm)
{
    SYSTEMTIME impossible = MinutesFromNow(-30);
    impossible.wMonth = 13;
    AddNote(L"Jotling0.jot", L"Month 13", impossible);
    AddNote(L"Jotling1.jot", L"Next", MinutesFromNow(30));
    EXPECT_FALSE(Start());
    PostMessageW(mainHandle, kMsgCheckExpired, 0, 0);
    Pump();
    EXPECT_EQ(L"Next", ShownTitle());
    EXPECT_EQ(2u, Files().size());
}

}  // namespace

namespace {

// Find in the all-notes window, through the store and the real list and
// edit box: the rows it leaves, and what the list's commands, saves,
// deletes and questions do while the box is up.
class NoteLifeFindTest : public NoteLifeTest {
protected:
    // Six notes in a fixed order (their times), the list on screen and the
    // find box open. The parcel note is damaged: cut inside its end mark,
    // its text is still whole.
    void StartWithNotesAndFind()
    {
        AddNote(L"Jotling0.jot", L"Dentist", MinutesFromNow(100), 0,
                InkWithText(L"Call Dr. M\u00fcller\nTuesday at ten", 20000));
        AddNote(L"Jotling1.jot", L"Groceries", MinutesFromNow(200), 0, InkWithText(L"milk, bread, caf\u00e9 au lait"));
        AddNote(L"Jotling2.jot", L"Zahn\u00e4rzte", MinutesFromNow(300), 0, InkWithText(L"Termin am Dienstag"));
        AddNote(L"Jotling3.jot", L"Garage", MinutesFromNow(400), 0, InkWithText(L"tyres on Tuesday", 20000));
        AddNote(L"Jotling4.jot", L"Ideas", MinutesFromNow(500), 0, InkWithText(L"a DENTIST app?"));
        std::wstring parcel = AddNote(L"Jotling5.jot", L"Pick-up", MinutesFromNow(600), 0,
                                      InkWithText(L"the parcel at the post office"));
        WIN32_FILE_ATTRIBUTE_DATA size;
        ASSERT_TRUE(GetFileAttributesExW(parcel.c_str(), GetFileExInfoStandard, &size));
        CutFile(parcel, size.nFileSizeLow - 4);
        Start();
        notes->Show();
        ASSERT_NE(nullptr, notes->Window());
        SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_FIND, 0);
        list = notes->List().Window();
    }

    // Keys as the edit box gets them: each one reports its change.
    void Type(const wchar_t* text)
    {
        for (const wchar_t* c = text; *c != L'\0'; ++c)
            SendMessageW(notes->Find().Edit(), WM_CHAR, *c, 0);
    }
    void Retype(const wchar_t* text)
    {
        SetWindowTextW(notes->Find().Edit(), L"");
        Type(text);
    }

    std::vector<std::wstring> Listed()
    {
        std::vector<std::wstring> titles;
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            wchar_t title[256] = L"";
            ListView_GetItemText(list, row, 1, title, 256);
            titles.push_back(title);
        }
        return titles;
    }
    std::vector<std::wstring> SelectedTitles()
    {
        std::vector<std::wstring> titles, all = Listed();
        for (int row : notes->SelectedRows())
            titles.push_back(all.at(size_t(row)));
        return titles;
    }
    std::wstring Count()
    {
        wchar_t text[64] = L"";
        GetWindowTextW(notes->Find().Count(), text, 64);
        return text;
    }
    int ListTop()
    {
        RECT r;
        GetWindowRect(list, &r);
        MapWindowPoints(nullptr, notes->Window(), reinterpret_cast<POINT*>(&r), 2);
        return r.top;
    }
    // A tap on the row: it alone is selected, focused and marked.
    void TapRow(int row)
    {
        ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetSelectionMark(list, row);
        Pump();
    }
    void Command(WORD id)
    {
        SendMessageW(notes->Window(), WM_COMMAND, id, 0);
        Pump();
    }

    typedef std::vector<std::wstring> Titles;
    HWND list = nullptr;
};

}  // namespace

TEST_F(NoteLifeFindTest, TypingNarrowsTheListAndClosingShowsEveryNoteAgain)
{
    StartWithNotesAndFind();
    EXPECT_TRUE(IsWindowVisible(notes->Find().Edit()));
    // Made at the first find, the box still comes right after the list
    // among the window's children, as Tab goes.
    HWND after = GetWindow(notes->List().Window(), GW_HWNDNEXT);
    EXPECT_EQ(notes->Find().Edit(), after);
    EXPECT_EQ(notes->Find().Count(), GetWindow(after, GW_HWNDNEXT));
    EXPECT_EQ(L"6 notes", Count());
    EXPECT_EQ(25, ListTop()) << "the list gives up a line for the box";
    Command(IDM_LIST_FIND);   // again: the same box
    EXPECT_EQ(25, ListTop());

    Type(L"dent");
    EXPECT_EQ((Titles{L"Dentist", L"Ideas"}), Listed());
    EXPECT_EQ(L"2 of 6", Count());
    Type(L" tuesday");
    EXPECT_EQ((Titles{L"Dentist"}), Listed());
    Retype(L"CAFE");
    EXPECT_EQ((Titles{L"Groceries"}), Listed());
    Retype(L"zahnarzte");
    EXPECT_EQ((Titles{L"Zahn\u00e4rzte"}), Listed());
    Retype(L"post office");
    EXPECT_EQ((Titles{L"Pick-up"}), Listed()) << "the damaged note by the text it still holds";
    Retype(L"dentist tuesday");
    EXPECT_EQ((Titles{L"Dentist"}), Listed());

    // Enter in the box goes on to the first note found, whose words are
    // marked in its preview.
    SendMessageW(notes->Find().Edit(), WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(list, GetFocus());
    EXPECT_EQ((Titles{L"Dentist"}), SelectedTitles());
    EXPECT_EQ(notes->FindEntry(Path(L"Jotling0.jot").c_str()), notes->EntryAtRow(0));
    EXPECT_EQ(Path(L"Jotling0.jot"), notes->PreviewPath());
    EXPECT_EQ((std::vector<UINT32>{16, 7}), InkSpy::lastMarks);
    // More words: the note stays focused, its preview is not read again,
    // and the marks follow.
    size_t streamsIn = InkSpy::Protocol().Count(kInkStreamIn);
    Type(L" ten");
    EXPECT_EQ((Titles{L"Dentist"}), SelectedTitles());
    EXPECT_EQ(0, notes->List().FocusedRow());
    EXPECT_EQ(streamsIn, InkSpy::Protocol().Count(kInkStreamIn));
    EXPECT_EQ((std::vector<UINT32>{16, 7, 27, 3}), InkSpy::lastMarks);

    // Cleared: every note again, the selection where it was.
    Retype(L"");
    EXPECT_EQ(6u, Listed().size());
    EXPECT_EQ(L"6 notes", Count());
    EXPECT_EQ((Titles{L"Dentist"}), SelectedTitles());
    EXPECT_TRUE(InkSpy::lastMarks.empty());
    // A find that leaves the previewed note out takes its preview too, and
    // hands its focus and mark to no other note: Edit opens nothing.
    Type(L"garage");
    EXPECT_EQ((Titles{L"Garage"}), Listed());
    EXPECT_TRUE(SelectedTitles().empty());
    EXPECT_STREQ(L"", notes->PreviewPath());
    EXPECT_EQ(-1, notes->List().FocusedRow());
    EXPECT_EQ(-1, notes->List().GetSelectionMark());
    Command(IDM_LIST_EDIT);
    EXPECT_EQ(nullptr, ShownNote());

    // Esc in the box closes it.
    SendMessageW(notes->Find().Edit(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(notes->FindOpen());
    EXPECT_FALSE(IsWindowVisible(notes->Find().Edit()));
    EXPECT_EQ(6u, Listed().size());
    EXPECT_EQ(5, ListTop());
    EXPECT_EQ(notes->FindEntry(Path(L"Jotling3.jot").c_str()), notes->EntryAtRow(3));
}

TEST_F(NoteLifeFindTest, TheListsCommandsActOnTheRowsShown)
{
    StartWithNotesAndFind();
    Type(L"tuesday");
    ASSERT_EQ((Titles{L"Dentist", L"Garage"}), Listed());

    // The second row is the fourth note.
    TapRow(1);
    Command(IDM_LIST_EDIT);
    EXPECT_EQ(L"Garage", ShownTitle());
    Done(ShownNote());
    EXPECT_EQ((Titles{L"Dentist", L"Garage"}), Listed()) << "still found after its save";

    Command(IDM_LIST_SELECT_ALL);
    Command(IDM_LIST_SET_EXPIRED);
    EXPECT_EQ(1, Head(L"Jotling0.jot").expired);
    EXPECT_EQ(1, Head(L"Jotling3.jot").expired);
    EXPECT_EQ(0, Head(L"Jotling1.jot").expired);
    EXPECT_EQ(0, Head(L"Jotling2.jot").expired);

    // Sorting keeps the find.
    NMLISTVIEW click = {};
    click.hdr = {list, UINT_PTR(kNoteListId), UINT(LVN_COLUMNCLICK)};
    click.iSubItem = 1;
    SendMessageW(notes->Window(), WM_NOTIFY, kNoteListId, reinterpret_cast<LPARAM>(&click));
    SendMessageW(notes->Window(), WM_NOTIFY, kNoteListId, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ((Titles{L"Garage", L"Dentist"}), Listed());

    Command(IDM_LIST_SELECT_ALL);
    Command(IDM_LIST_DELETE);
    ASSERT_EQ(1u, g_asked.size());
    EXPECT_EQ(L"Do you really want to delete selected jotlings?", g_asked[0].text);
    EXPECT_EQ((std::vector<std::wstring>{L"Jotling1.jot", L"Jotling2.jot", L"Jotling4.jot", L"Jotling5.jot"}),
              Files());
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(L"0 of 4", Count());
}

TEST_F(NoteLifeFindTest, NotesSavedAndDeletedWhileTheBoxIsUpAreFoundOrDroppedAtOnce)
{
    StartWithNotesAndFind();
    Type(L"parcel");
    ASSERT_EQ((Titles{L"Pick-up"}), Listed());

    // A new note with the word in its text.
    HWND note = notes->NewNote(false);
    HWND title = GetDlgItem(note, IDC_NOTE_TITLE);
    SendMessageW(note, WM_COMMAND, MAKEWPARAM(IDC_NOTE_TITLE, CBN_SETFOCUS), reinterpret_cast<LPARAM>(title));
    SetWindowTextW(title, L"For Anna");
    ControlHolds(InkWithText(L"another parcel for Anna"), true);
    Done(note);
    EXPECT_EQ((Titles{L"Pick-up", L"For Anna"}), Listed());
    EXPECT_EQ(L"2 of 7", Count());

    // Opened from its row; while it is open the find changes; it closes
    // with other words and is found by the new find.
    TapRow(1);
    Command(IDM_LIST_EDIT);
    ASSERT_EQ(L"For Anna", ShownTitle());
    Retype(L"friday");
    EXPECT_TRUE(Listed().empty());
    ControlHolds(InkWithText(L"moved to Friday"), true);
    Done(ShownNote());
    EXPECT_EQ((Titles{L"For Anna"}), Listed());
    Retype(L"parcel");
    EXPECT_EQ((Titles{L"Pick-up"}), Listed()) << "dropped from the old find";

    // A delete asked about while the user types on: exactly the note asked
    // about goes, and the list shows the new find.
    Retype(L"dentist");
    ASSERT_EQ((Titles{L"Dentist", L"Ideas"}), Listed());
    TapRow(1);
    g_whileAsked = [&] { Type(L" app"); };
    Command(IDM_LIST_DELETE);
    ASSERT_EQ(1u, g_asked.size());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Path(L"Jotling4.jot").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Path(L"Jotling0.jot").c_str()));
    EXPECT_TRUE(Listed().empty()) << "\"dentist app\" was only the deleted note";
    EXPECT_EQ(L"0 of 6", Count());
}

// "Set as expired" shows what was written: a note whose file could not be
// marked (damaged, held open) stays pending in the list and the file, and
// the user is told which, as a failed Delete tells them.
TEST_F(NoteLifeFindTest, SetAsExpiredMarksOnlyWhatWasWrittenAndNamesTheRest)
{
    StartWithNotesAndFind();
    g_noteFileBusyRetryMs = 100;
    std::wstring garage = Path(L"Jotling3.jot");
    // Held by another process for longer than a save waits.
    HANDLE held = CreateFileW(garage.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Command(IDM_LIST_SELECT_ALL);   // "Ideas" never expires: left alone
    Command(IDM_LIST_SET_EXPIRED);
    CloseHandle(held);

    EXPECT_EQ(1, Head(L"Jotling0.jot").expired);
    EXPECT_EQ(0, Head(L"Jotling3.jot").expired);
    EXPECT_EQ(0, Head(L"Jotling5.jot").expired) << "damaged: never written";
    auto image = [&](const wchar_t* title) {
        std::vector<std::wstring> titles = Listed();
        int row = int(std::find(titles.begin(), titles.end(), title) - titles.begin());
        LVITEMW item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ListView_GetItem(list, &item);
        return item.iImage;
    };
    EXPECT_EQ(kNoteImageExpired, image(L"Dentist"));
    EXPECT_EQ(kNoteImagePending, image(L"Garage"));
    EXPECT_EQ(kNoteImagePending, image(L"Pick-up"));
    ASSERT_EQ(1u, g_asked.size());
    EXPECT_EQ(L"Some of the selected jotlings could not be set as expired:\nGarage\nPick-up", g_asked[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONWARNING), g_asked[0].type);
}

// A save whose head cannot be read back at once still drops the text the
// find kept: the next find reads the note as it now is.
TEST_F(NoteLifeFindTest, ASaveDropsTheKeptTextEvenWhenItsHeadCannotBeRead)
{
    StartWithNotesAndFind();
    Type(L"tyres");
    ASSERT_EQ((Titles{L"Garage"}), Listed());
    std::wstring garage = AddNote(L"Jotling3.jot", L"Garage", MinutesFromNow(400), 0, InkWithText(L"brakes on Friday"));
    g_noteFileBusyRetryMs = 50;
    HANDLE held = CreateFileW(garage.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    notes->OnNoteSaved(garage.c_str(), false);
    CloseHandle(held);
    Retype(L"brakes");
    EXPECT_EQ((Titles{L"Garage"}), Listed());
}
