// The note window through the messages a person's taps turn into: what is
// stored on closing, the expiry line and its picker, the tool buttons, and
// the image buttons. The ink control is the spy "InkX"; a recording owner
// stands in for the file-bound window.
#include "dialogs/TitleList.h"
#include "notes/Clock.h"
#include "notes/ExpiryRules.h"
#include "notewindow/InkControlMessages.h"
#include "notewindow/NoteWindow.h"
#include "notewindow/NoteWindowMessages.h"
#include "process/Application.h"
#include "resources/resource.h"
#include "tests/support/ApplicationTest.h"
#include "tests/support/InkSpy.h"
#include "tests/support/MessageLog.h"
#include "tests/support/MessagePump.h"

#include <aygshell.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

SYSTEMTIME g_now;
void FixedClock(SYSTEMTIME* now) { *now = g_now; }

class RecordingNoteWindow : public NoteWindow {
public:
    void OnClose(bool save) override
    {
        closes.push_back(save);
        // What the window held when it closed, for the owner to store.
        closedTitle = Note().title;
        closedInk.assign(reinterpret_cast<const char*>(Note().data), Note().dataLength);
        closedWithWindow = Window() != nullptr;
    }
    std::vector<bool> closes;
    std::wstring closedTitle;
    std::string closedInk;
    bool closedWithWindow = true;
};

bool Queued(HWND window, UINT message)
{
    MSG msg;
    return PeekMessageW(&msg, window, message, message, PM_REMOVE) != 0;
}

class NoteWindowTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        InkSpy::Register();
        InkSpy::Reset();
        g_now = {2002, 8, 6, 3, 9, 5, 0, 0};
        SetClock(FixedClock);
        // The program's own messages the note window receives, in order.
        received.Keep([](UINT message) { return message >= WM_USER; });
    }
    void TearDown() override
    {
        delete note;
        Pump();
        SetClock(nullptr);
        ApplicationTest::TearDown();
    }

    HWND Open(bool stored = false, bool alarm = false)
    {
        delete note;
        note = new RecordingNoteWindow();
        HWND window = note->Create(nullptr, stored, alarm);
        if (window != nullptr)
            received.Watch(window, "note");
        Pump();
        received.Clear();
        return window;
    }

    void Command(WORD id, WORD code = 0)
    {
        SendMessageW(note->Window(), WM_COMMAND, MAKEWPARAM(id, code), 0);
        Pump();
    }

    BYTE ToolState(int command)
    {
        return BYTE(SendMessageW(note->MenuBar().Window(), TB_GETSTATE, command, 0));
    }

    RecordingNoteWindow* note = nullptr;
    MessageLog received{kMessageOnly, kNoteMessages};
};

TEST_F(NoteWindowTest, DoneStoresOnlyWhatWasChangedExceptForAnAlarm)
{
    struct Case {
        const char* what;
        bool stored, alarm, inkModified, titleTapped;
        bool discarded, saved;
    };
    const Case cases[] = {
        {"new, untouched", false, false, false, false, true, false},
        {"new, title box tapped", false, false, false, true, false, true},
        {"new, drawn on", false, false, true, false, false, true},
        {"stored, untouched", true, false, false, false, true, false},
        {"alarm, untouched", true, true, false, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InkSpy::config.modified = c.inkModified ? 1 : 0;
        ASSERT_NE(nullptr, Open(c.stored, c.alarm));
        if (c.titleTapped)
            Command(IDC_NOTE_TITLE, CBN_SETFOCUS);
        received.Clear();
        Command(IDOK);

        std::vector<MessageRecord> expected = {{"note", kMsgNoteCloseRequest}};
        if (c.discarded)
            expected.push_back({"note", kMsgNoteDiscard});
        EXPECT_MESSAGES(expected, received);
        ASSERT_EQ(1u, note->closes.size());
        EXPECT_EQ(c.saved, note->closes[0]);
        // OnClose comes last, after the window is gone.
        EXPECT_FALSE(note->closedWithWindow);
        EXPECT_EQ(0, NoteWindow::LiveWindowCount());
    }
}

TEST_F(NoteWindowTest, CollectedNoteHasATitleCutToTheBoxAndPutsItFirstInTheTitleList)
{
    {
        TitleList titles;
        titles.Clear();
        titles.Append(L"Shopping");
        titles.Append(L"Call");
        titles.Append(L"Meeting");
        titles.Save();
    }
    ASSERT_NE(nullptr, Open());
    HWND titleBox = GetDlgItem(note->Window(), IDC_NOTE_TITLE);
    EXPECT_EQ(3, SendMessageW(titleBox, CB_GETCOUNT, 0, 0));
    std::wstring longTitle(300, L'x');
    SetWindowTextW(titleBox, longTitle.c_str());
    Command(IDC_NOTE_TITLE, CBN_SETFOCUS);
    Command(IDOK);
    ASSERT_EQ(std::vector<bool>{true}, note->closes);
    EXPECT_EQ(std::wstring(254, L'x'), note->closedTitle);

    // The third title, picked, comes first; the list keeps its length.
    ASSERT_NE(nullptr, Open());
    titleBox = GetDlgItem(note->Window(), IDC_NOTE_TITLE);
    SetWindowTextW(titleBox, L"Meeting");
    Command(IDC_NOTE_TITLE, CBN_SETFOCUS);
    Command(IDOK);
    TitleList titles;
    wchar_t first[260];
    titles.GetAt(0, first, 260);
    EXPECT_STREQ(L"Meeting", first);
    EXPECT_EQ(4, titles.Count());   // the long title went in too

    // An empty title is stored as "---no title---", which the list never keeps.
    ASSERT_NE(nullptr, Open());
    SetWindowTextW(GetDlgItem(note->Window(), IDC_NOTE_TITLE), L"");
    Command(IDC_NOTE_TITLE, CBN_SETFOCUS);
    Command(IDOK);
    EXPECT_EQ(L"---no title---", note->closedTitle);
    TitleList after;
    EXPECT_EQ(4, after.Count());
}

TEST_F(NoteWindowTest, CollectingKeepsTheNotesInkUnlessTheControlHandsOverNew)
{
    delete note;
    note = new RecordingNoteWindow();
    note->Note().TakeData(AllocateNoteData(4), 4);
    memcpy(note->Note().data, "ink!", 4);
    ASSERT_NE(nullptr, note->Create(nullptr, true, false));
    note->Ink().Destroy();   // no control left to ask
    Command(IDC_NOTE_TITLE, CBN_SETFOCUS);
    Command(IDOK);
    ASSERT_EQ(std::vector<bool>{true}, note->closes);
    EXPECT_EQ("ink!", note->closedInk);
}

TEST_F(NoteWindowTest, ExpiryPresetsAndTheChangedExpiryClearTheExpiredFlag)
{
    note = new RecordingNoteWindow();
    note->Note().expired = 1;
    note->Note().expiry = g_now;
    note->Note().expiry.wDay = 1;
    HWND window = note->Create(nullptr, true, false);
    ASSERT_NE(nullptr, window);
    EXPECT_STREQ(L"Jotling is expired", note->StatusText());

    Command(kCmdExpiry2Hours);
    EXPECT_STREQ(L"Expire after 2 h", note->StatusText());
    EXPECT_TRUE(note->IsModified());
    Command(kCmdExpiryNever);
    EXPECT_STREQ(L"Never expire", note->StatusText());

    Command(kCmdExpiryTomorrow);
    Command(IDOK);
    ASSERT_EQ(std::vector<bool>{true}, note->closes);
    EXPECT_EQ(0, note->Note().expired);
    EXPECT_EQ(4, note->Note().expiry.wDay);   // 3 August plus a day
    EXPECT_EQ(9, note->Note().expiry.wHour);
}

TEST_F(NoteWindowTest, TappingTheStatusLineOpensThePickerUpToItsCornersOnly)
{
    HWND window = Open();
    ASSERT_NE(nullptr, window);
    const POINT inside[] = {{6, 26}, {234, 41}, {120, 33}};
    const POINT outside[] = {{235, 30}, {6, 42}, {5, 26}, {100, 25}};
    for (POINT p : inside) {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        EXPECT_TRUE(Queued(window, kMsgNoteOpenPicker)) << p.x << "," << p.y;
    }
    for (POINT p : outside) {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        EXPECT_FALSE(Queued(window, kMsgNoteOpenPicker)) << p.x << "," << p.y;
    }
}

TEST_F(NoteWindowTest, GridAndPenButtonsSwitchThePageAndTheInputMode)
{
    struct Case {
        int page;
        WPARAM shown;
    };
    for (Case c : {Case{0, 4}, Case{3, 32}}) {
        SCOPED_TRACE(c.page);
        g_application->SetPage(c.page);
        ASSERT_NE(nullptr, Open());
        BYTE initial = c.page == 0 ? TBSTATE_ENABLED : TBSTATE_ENABLED | TBSTATE_PRESSED;
        EXPECT_EQ(initial, ToolState(IDM_NOTE_GRID));
        InkSpy::ClearLog();
        Command(IDM_NOTE_GRID);
        Command(IDM_NOTE_GRID);
        std::vector<WPARAM> styles;
        for (const MessageRecord& m : InkSpy::Protocol()) {
            if (m.message == kInkSetPageStyle)
                styles.push_back(m.wParam);
        }
        std::vector<WPARAM> expected = c.page == 0 ? std::vector<WPARAM>{c.shown, 16}
                                                   : std::vector<WPARAM>{16, c.shown};
        EXPECT_EQ(expected, styles);
        EXPECT_EQ(initial, ToolState(IDM_NOTE_GRID));
    }

    // Pen mode off: typing, the button released; on again: the panel goes.
    EXPECT_TRUE(note->InWritingMode());
    EXPECT_EQ(TBSTATE_ENABLED | TBSTATE_PRESSED, ToolState(IDM_NOTE_PEN_MODE));
    InkSpy::ClearLog();
    Command(IDM_NOTE_PEN_MODE);
    EXPECT_FALSE(note->InWritingMode());
    EXPECT_EQ(TBSTATE_ENABLED, ToolState(IDM_NOTE_PEN_MODE));
    bool typing = false;
    for (const MessageRecord& m : InkSpy::Protocol())
        typing = typing || (m.message == kInkSetInputMode && m.wParam == 1);
    EXPECT_TRUE(typing);
}

TEST_F(NoteWindowTest, MenuBarTellsTheToolbarOnlyOfChanges)
{
    ASSERT_NE(nullptr, Open());
    HWND bar = note->MenuBar().Window();
    ASSERT_NE(nullptr, bar);
    // "Edit", then the seven tool buttons in their order.
    ASSERT_EQ(8, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    const int commands[] = {IDM_NOTE_ZOOM_OUT, IDM_NOTE_ZOOM_IN, IDM_NOTE_UNDO, -1,
                            IDM_NOTE_RECORD,   IDM_NOTE_PEN_MODE, IDM_NOTE_GRID};
    for (int i = 0; i < 7; ++i) {
        TBBUTTON button = {};
        SendMessageW(bar, TB_GETBUTTON, i + 1, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(commands[i], button.idCommand) << i;
    }

    // Toolbar messages that change a button.
    MessageLog log(kWParamField, kToolbarMessages);
    log.Keep([](UINT message) { return message == TB_ENABLEBUTTON || message == TB_SETSTATE; });
    log.Watch(bar, "bar");
    EXPECT_FALSE(SendMessageW(bar, TB_ISBUTTONENABLED, IDM_NOTE_UNDO, 0));   // off at the start
    note->MenuBar().Enable(IDM_NOTE_UNDO, true);
    note->MenuBar().Enable(IDM_NOTE_UNDO, true);
    note->MenuBar().Enable(IDM_NOTE_UNDO, false);
    note->MenuBar().Enable(IDM_NOTE_UNDO, false);
    note->MenuBar().Enable(-1, false);          // the separator
    note->MenuBar().Enable(IDC_NOTE_TITLE, false);   // "Edit" is no tool button
    note->MenuBar().Enable(4242, false);
    std::vector<MessageRecord> expected(2, {"bar", TB_ENABLEBUTTON, IDM_NOTE_UNDO});
    EXPECT_MESSAGES(expected, log);

    // The ink control's change notice enables Undo.
    log.Clear();
    SendMessageW(note->Window(), WM_COMMAND, MAKEWPARAM(kInkChangedByPen, 0),
                 reinterpret_cast<LPARAM>(note->Ink().Window()));
    EXPECT_TRUE(SendMessageW(bar, TB_ISBUTTONENABLED, IDM_NOTE_UNDO, 0));
}

// The window comes up at its place, captionless above its menu bar, and
// nothing moves, sizes or re-frames it once it shows: each such change
// would be seen as a jump and repainted.
TEST_F(NoteWindowTest, ShowsOnceCaptionlessAboveItsMenuBar)
{
    static bool shown;
    static std::vector<UINT> changesAfterShow;
    shown = false;
    changesAfterShow.clear();
    HOOKPROC watch = [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        wchar_t name[64] = L"";
        if (code == HC_ACTION && sent->message == WM_WINDOWPOSCHANGED && GetClassNameW(sent->hwnd, name, 64) &&
            lstrcmpW(name, kNoteWindowClass) == 0) {
            UINT flags = reinterpret_cast<const WINDOWPOS*>(sent->lParam)->flags;
            bool changes = (flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE) ||
                           (flags & SWP_FRAMECHANGED);
            if (flags & SWP_SHOWWINDOW)
                shown = true;
            else if (shown && changes)
                changesAfterShow.push_back(flags);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    };
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, watch, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    HWND window = Open(true);
    UnhookWindowsHookEx(hook);
    ASSERT_NE(nullptr, window);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(changesAfterShow.empty()) << changesAfterShow.size() << " changes, first flags "
                                          << (changesAfterShow.empty() ? 0 : changesAfterShow[0]);

    auto corners = [](const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    };
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_EQ("0,26 240,294", corners(rect));
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
    GetClientRect(window, &rect);
    EXPECT_EQ("0,0 240,268", corners(rect));
    HWND band = GetParent(note->MenuBar().Window());
    EXPECT_TRUE(IsWindowVisible(band));
    GetWindowRect(band, &rect);
    EXPECT_EQ("0,294 240,320", corners(rect));
}

TEST_F(NoteWindowTest, ImageButtonsReportAReleaseWhereverTheStylusIsLifted)
{
    ASSERT_NE(nullptr, Open());
    // A second window at the same time: its buttons are made though their
    // classes exist.
    RecordingNoteWindow second;
    ASSERT_NE(nullptr, second.Create(nullptr, false, false));
    EXPECT_EQ(2, NoteWindow::LiveWindowCount());
    HWND clock = GetDlgItem(second.Window(), IDC_NOTE_CLOCK);
    HWND popup = GetDlgItem(second.Window(), IDC_NOTE_POPUP);
    ASSERT_NE(nullptr, clock);
    ASSERT_NE(nullptr, popup);
    Pump();

    SendMessageW(clock, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
    EXPECT_EQ(clock, GetCapture());
    SendMessageW(clock, WM_LBUTTONUP, 0, MAKELPARAM(-150, 200));   // lifted far outside
    EXPECT_TRUE(Queued(second.Window(), kMsgNoteOpenPicker));
    SendMessageW(clock, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));         // no press: nothing
    EXPECT_FALSE(Queued(second.Window(), kMsgNoteOpenPicker));
    SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 8));
    SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
    EXPECT_TRUE(Queued(second.Window(), kMsgNotePopupMenu));

    second.DestroyWindowParts();
    EXPECT_EQ(1, NoteWindow::LiveWindowCount());
}

TEST_F(NoteWindowTest, FailedCreationLeavesTheClassToTheNextWindow)
{
    RecordingNoteWindow failed;
    EXPECT_EQ(nullptr, failed.Create(reinterpret_cast<HWND>(0xdead0), false, false));
    EXPECT_EQ(0, NoteWindow::LiveWindowCount());
    WNDCLASSW existing;
    EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), kNoteWindowClass, &existing));

    HWND window = Open();
    ASSERT_NE(nullptr, window);
    HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
    EXPECT_EQ(OBJ_BRUSH, GetObjectType(brush));
}

TEST_F(NoteWindowTest, OnlyItsOwnFileFromItsOwnThreadClosesTheWindowUnsaved)
{
    HWND window = Open(true);
    note->SetFilePath(L"C:\\notes\\Jotling3.jot");
    wchar_t other[] = L"C:\\notes\\Jotling30.jot";
    wchar_t sameText[] = L"C:\\notes\\Jotling3.jot";
    // Posted, or not handed out by CloseWindowsShowingFile: a pointer from
    // anyone, ignored.
    SendMessageW(window, kMsgNoteFileClosing, 0, reinterpret_cast<LPARAM>(sameText));
    PostMessageW(window, kMsgNoteFileClosing, 0, 12345);
    Pump();
    NoteWindow::CloseWindowsShowingFile(other);
    NoteWindow::CloseWindowsShowingFile(L"c:\\notes\\jotling3.jot");
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(note->closes.empty());

    NoteWindow::CloseWindowsShowingFile(sameText);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(std::vector<bool>{false}, note->closes);
}

}  // namespace
