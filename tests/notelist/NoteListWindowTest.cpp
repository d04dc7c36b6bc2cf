// The all-notes window's own side: its menus and list notices reach the
// store's operations (recorded by a stand-in store), its popup opens only
// over a selection, and Show brings forward what the user was in.
#include "notelist/NoteListWindow.h"

#include "dialogs/Help.h"
#include "process/Application.h"
#include "resources/resource.h"
#include "tests/support/ApplicationTest.h"
#include "tests/support/MessageLog.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestTimes.h"

#include <aygshell.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> g_helpStarts;
BOOL RecordStart(const wchar_t*, wchar_t* commandLine)
{
    g_helpStarts.push_back(commandLine);
    return TRUE;
}

class RecordingList : public NoteListWindow {
public:
    HWND NewNote(bool fromRecordButton) override { return Record(L"NewNote", fromRecordButton), nullptr; }
    void DeleteSelected() override { Record(L"DeleteSelected"); }
    void OpenNote(int position) override { Record(L"OpenNote", position); }
    void SetSelectedExpired() override { Record(L"SetSelectedExpired"); }
    void SortByColumn(int request) override { Record(L"SortByColumn", request); }
    void PreviewNote(int position) override { Record(L"PreviewNote", position); }
    void ApplyOptions() override { Record(L"ApplyOptions"); }
    void ShowOptions(HWND parent) override { Record(L"ShowOptions", parent == Window()); }
    void ShowAbout() override { Record(L"ShowAbout"); }
    void OnActivate() override {}
    bool CloseCurrentNote() override { return Record(L"CloseCurrentNote"), true; }

    void Record(const wchar_t* operation, int argument = 0)
    {
        calls.push_back(std::wstring(operation) + L" " + std::to_wstring(argument));
    }
    void AddEntry(const wchar_t* title)
    {
        NoteHead head = {};
        wcsncpy(head.title, title, kTitleLength - 1);
        head.expiry = NeverExpiring();
        entries.Append(title, head);
    }
    void SetMainWindow(HWND main) { mainWindow = main; }

    std::vector<std::wstring> calls;
};

class NoteListWindowTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        g_helpStarts.clear();
        SetStartProgramFunction(RecordStart);
        main = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        list.SetMainWindow(main);
        for (const wchar_t* title : {L"one", L"two", L"three"})
            list.AddEntry(title);
        list.Show();
        Pump();
        list.calls.clear();
    }
    void TearDown() override
    {
        SetStartProgramFunction(nullptr);
        DestroyWindow(main);
        Pump();
        ApplicationTest::TearDown();
    }

    void Command(WORD id)
    {
        SendMessageW(list.Window(), WM_COMMAND, id, 0);
        Pump();
    }

    LRESULT Hold(int x, int y)
    {
        NMRGINFO hold = {};
        hold.hdr.hwndFrom = list.List().Window();
        hold.hdr.idFrom = kNoteListId;
        hold.hdr.code = GN_CONTEXTMENU;
        hold.ptAction = {x, y};
        return SendMessageW(list.Window(), WM_NOTIFY, kNoteListId, reinterpret_cast<LPARAM>(&hold));
    }

    // Typed into the find box, which reports the change as a user's typing does.
    void Find(const wchar_t* text)
    {
        if (!list.FindOpen())
            Command(IDM_LIST_FIND);
        SetWindowTextW(list.Find().Edit(), text);
        Pump();
    }
    void SetRowState(int row, UINT state) { ListView_SetItemState(list.List().Window(), row, state, state); }
    std::wstring TitleAt(int row)
    {
        wchar_t title[64] = L"";
        ListView_GetItemText(list.List().Window(), row, 1, title, 64);
        return title;
    }

    RecordingList list;
    HWND main = nullptr;
};

TEST_F(NoteListWindowTest, ShowMakesTheWindowSortedAndFilled)
{
    RecordingList fresh;
    fresh.AddEntry(L"only");
    fresh.Show();
    ASSERT_NE(nullptr, fresh.Window());
    EXPECT_EQ(std::vector<std::wstring>{L"SortByColumn -1"}, fresh.calls);
    EXPECT_EQ(1, ListView_GetItemCount(fresh.List().Window()));
    wchar_t className[32];
    GetClassNameW(fresh.Window(), className, 32);
    EXPECT_STREQ(L"AllJotlingsWnd", className);
}

TEST_F(NoteListWindowTest, MenusAndListNoticesReachTheStoreOperations)
{
    ListView_SetItemState(list.List().Window(), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(list.List().Window(), 1);
    Pump();
    for (int id : {IDM_LIST_EDIT, IDM_LIST_DELETE, IDM_LIST_SET_EXPIRED, IDM_LIST_NEW, IDM_LIST_OPTIONS,
                   IDM_LIST_ABOUT, 4242})
        Command(WORD(id));
    NMLISTVIEW click = {};
    click.hdr = {list.List().Window(), UINT_PTR(kNoteListId), UINT(LVN_COLUMNCLICK)};
    click.iSubItem = 1;
    SendMessageW(list.Window(), WM_NOTIFY, kNoteListId, reinterpret_cast<LPARAM>(&click));
    SendMessageW(list.Window(), kMsgOptionsAccepted, 0, 0);

    std::vector<std::wstring> expected = {
        L"PreviewNote 1",   // the focus reached row 1
        L"OpenNote 1",      L"DeleteSelected 0", L"SetSelectedExpired 0", L"NewNote 0",
        L"ShowOptions 1",   L"ShowAbout 0",      L"SortByColumn 1",       L"ApplyOptions 0",
    };
    EXPECT_EQ(expected, list.calls);
    // The column's new order is shown at once.
    EXPECT_EQ(3, ListView_GetItemCount(list.List().Window()));

    SendMessageW(list.Window(), WM_HELP, 0, 0);
    ASSERT_EQ(1u, g_helpStarts.size());
    EXPECT_NE(std::wstring::npos, g_helpStarts[0].find(L"file:Jotlings.htm#AllJotl"));
}

TEST_F(NoteListWindowTest, HoldOpensThePopupOnlyOverASelection)
{
    EXPECT_EQ(0, Hold(20, 20));   // no row ever selected: no mark
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, list.Window(), kMsgListPopupMenu, kMsgListPopupMenu, PM_REMOVE));

    list.List().SelectAll();
    ListView_SetSelectionMark(list.List().Window(), 0);
    EXPECT_EQ(1, Hold(20, 30));
    ASSERT_TRUE(PeekMessageW(&msg, list.Window(), kMsgListPopupMenu, kMsgListPopupMenu, PM_REMOVE));
    EXPECT_EQ(20u, msg.wParam);
    EXPECT_EQ(30, msg.lParam);
    EXPECT_EQ(3, list.GetSelection());   // the popup acts on all three
}

TEST_F(NoteListWindowTest, ClosingKeepsTheOpenNoteThenEndsTheProgram)
{
    SendMessageW(list.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(std::vector<std::wstring>{L"CloseCurrentNote 0"}, list.calls);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, main, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(nullptr, list.Window());
}

// The list asks for its rows only when it paints them: every change of rows,
// by a refill or by a key of a find, leaves each row on screen that changed
// (or went) to be painted again, and a refill that changes nothing none.
TEST_F(NoteListWindowTest, EveryRowThatChangesOnScreenIsPaintedAgain)
{
    HWND rows = list.List().Window();
    auto expectRepainted = [&](const char* step, int first, int last) {
        SCOPED_TRACE(step);
        RECT client = {};
        GetClientRect(rows, &client);
        HRGN update = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(rows, update, FALSE);
        // A row that went has no place of its own: rows stand one below the other.
        RECT place = {};
        place.left = LVIR_BOUNDS;
        SendMessageW(rows, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&place));
        int height = place.bottom - place.top;
        ASSERT_GT(height, 0);
        OffsetRect(&place, 0, first * height);
        for (int row = first; row <= last && place.top < client.bottom; ++row) {
            EXPECT_TRUE(RectInRegion(update, &place)) << "row " << row;
            OffsetRect(&place, 0, height);
        }
        DeleteObject(update);
        UpdateWindow(rows);
    };
    // Typed without a pump, which would paint before the region is seen.
    auto type = [&](const wchar_t* text) { SetWindowTextW(list.Find().Edit(), text); };
    Command(IDM_LIST_FIND);
    UpdateWindow(rows);
    for (int n = 0; n < 10; ++n)
        list.AddEntry((L"t" + std::to_wstring(n)).c_str());
    list.RefreshList();   // ten rows after the three there were
    expectRepainted("refill", 3, 12);
    type(L"t");           // "one" goes, and every row below moves up
    expectRepainted("first key of a find", 0, 12);
    type(L"th");
    EXPECT_EQ(L"three", TitleAt(0));
    expectRepainted("second key", 0, 11);
    type(L"");
    EXPECT_EQ(13, ListView_GetItemCount(rows));
    expectRepainted("emptied", 0, 12);
    list.RefreshList();   // every row as it was: nothing to paint
    RECT none = {};
    EXPECT_FALSE(GetUpdateRect(rows, &none, FALSE));
}

// Ctrl-taps select notes while the mark stays on another; a find that
// hides that one leaves the mark on a note still shown, so that a hold on
// the selection opens the popup for all of it.
TEST_F(NoteListWindowTest, AFindThatHidesTheMarkedNoteKeepsTheSelectionForThePopup)
{
    list.AddEntry(L"four");
    list.RefreshList();
    SetRowState(2, LVIS_SELECTED | LVIS_FOCUSED);   // "three", tapped
    ListView_SetSelectionMark(list.List().Window(), 2);
    SetRowState(2, 0);
    for (int row : {0, 1, 3})
        SetRowState(row, LVIS_SELECTED | LVIS_FOCUSED);   // Ctrl-taps: "one", "two", "four"
    Find(L"o");
    ASSERT_EQ(3, ListView_GetItemCount(list.List().Window()));
    EXPECT_EQ(2, list.List().GetSelectionMark()) << "on the focused note, \"four\"";
    EXPECT_EQ(1, Hold(20, 20));
    MSG popup;
    EXPECT_TRUE(PeekMessageW(&popup, list.Window(), kMsgListPopupMenu, kMsgListPopupMenu, PM_REMOVE));
    EXPECT_EQ(3, list.GetSelection());

    // The marked note still shown: the mark goes with it to its new row.
    Find(L"");
    ListView_SetSelectionMark(list.List().Window(), 3);   // "four"
    Find(L"f");
    EXPECT_EQ(L"four", TitleAt(0));
    EXPECT_EQ(0, list.List().GetSelectionMark());
}

NoteListWindow* g_shown = nullptr;
HWND g_frontAfterShow = nullptr;
bool g_frontIsOptions = false;
void CALLBACK ShowWhileOptionsOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    SetForegroundWindow(g_shown->Window());
    g_shown->Show();
    g_frontAfterShow = GetForegroundWindow();
    OptionsWindow& options = g_shown->Options();
    g_frontIsOptions = g_frontAfterShow == options.Window() || g_frontAfterShow == options.Sheet() ||
                       IsChild(options.Window(), g_frontAfterShow);
    options.Close();
}

TEST_F(NoteListWindowTest, ShowBringsTheOpenOptionsForwardInsteadOfTheList)
{
    g_shown = &list;
    SetTimer(nullptr, 0, 200, ShowWhileOptionsOpen);
    list.Options().Open(list.Window());
    EXPECT_NE(nullptr, g_frontAfterShow);
    EXPECT_TRUE(g_frontIsOptions);
    EXPECT_FALSE(list.Options().IsOpen());
}

}  // namespace
