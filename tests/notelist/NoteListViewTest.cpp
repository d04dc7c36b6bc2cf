// The note list on the real list control, driven with the stylus messages
// and key states a person produces: which rows end up selected, focused and
// marked after taps, modifier taps, drags and tap-and-hold.
#include "notelist/NoteListView.h"

#include "tests/support/MessagePump.h"
#include "tests/support/TestTimes.h"
#include "tests/support/TestWindow.h"

#include <aygshell.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

const int kRows = 6;

class NoteListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The parent answers the tap-and-hold as the all-notes window does:
        // the popup acts on the selection mark, and there is none without one.
        parent.answer = [this](UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
            if (message != WM_NOTIFY)
                return false;
            if (view.OnNotify(reinterpret_cast<NMHDR*>(lParam), result) || fresh.OnNotify(reinterpret_cast<NMHDR*>(lParam), result))
                return true;
            if (reinterpret_cast<NMHDR*>(lParam)->code != static_cast<UINT>(GN_CONTEXTMENU))
                return false;
            ++holds;
            int mark = view.GetSelectionMark();
            if (mark != -1)
                view.SelectForContextMenu(mark);
            *result = mark != -1;
            return true;
        };
        view.Create(parentWindow, 5, 5, 230, 170);
        ASSERT_NE(view.Window(), nullptr);
        Modifiers(false, false);
    }

    void TearDown() override
    {
        Modifiers(false, false);
        view.Destroy();
        DestroyWindow(parentWindow);
        Pump();
    }

    void Fill(int rows)
    {
        view.BeginFill(rows);
        for (int i = 0; i < rows; ++i) {
            NoteEntry entry = {};
            entry.expiry = NeverExpiring();
            view.AppendNote(L"note", entry, false);
        }
        view.EndFill();
    }

    static void Modifiers(bool ctrl, bool shift)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    LPARAM RowPoint(int row)
    {
        RECT bounds = {};
        bounds.left = LVIR_BOUNDS;
        SendMessageW(view.Window(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds));
        return MAKELPARAM(30, (bounds.top + bounds.bottom) / 2);
    }

    LPARAM BelowRows() { return MAKELPARAM(30, 160); }

    // A tap: the release is already waiting, so the gesture recogniser
    // sees no hold and the release reaches the list after the press.
    void Tap(LPARAM point, bool ctrl = false, bool shift = false, UINT down = WM_LBUTTONDOWN)
    {
        Modifiers(ctrl, shift);
        PostMessageW(view.Window(), WM_LBUTTONUP, 0, point);
        SendMessageW(view.Window(), down, MK_LBUTTON, point);
        Pump();
        Modifiers(false, false);
    }

    // Nothing queued: the recogniser waits out the hold and asks the parent.
    void Hold(LPARAM point)
    {
        SendMessageW(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(view.Window(), WM_LBUTTONUP, 0, point);
    }

    // Down on the first point, through the others, up on the last.
    void DragThrough(const std::vector<LPARAM>& points, bool ctrl = false)
    {
        Modifiers(ctrl, false);
        // A move away from the press is no hold: the recogniser returns at once.
        PostMessageW(view.Window(), WM_MOUSEMOVE, MK_LBUTTON, points[1]);
        SendMessageW(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, points[0]);
        Pump();
        for (size_t i = 2; i < points.size(); ++i)
            SendMessageW(view.Window(), WM_MOUSEMOVE, MK_LBUTTON, points[i]);
        SendMessageW(view.Window(), WM_LBUTTONUP, 0, points.back());
        Modifiers(false, false);
    }

    void Drag(const std::vector<int>& rows, bool ctrl = false)
    {
        std::vector<LPARAM> points;
        for (int row : rows)
            points.push_back(RowPoint(row));
        DragThrough(points, ctrl);
    }

    std::vector<int> Selected()
    {
        std::vector<int> rows(view.GetSelection() + 1);
        EXPECT_EQ(view.GetSelection(rows.data()), 0);
        rows.pop_back();
        return rows;
    }

    int Focused() { return ListView_GetNextItem(view.Window(), -1, LVNI_FOCUSED); }

    NoteListView view;
    // A second list in the same parent, filled to compare with.
    NoteListView fresh;
    int holds = 0;
    MessageLog parentMessages;
    TestWindow parent{parentMessages, "parent", WS_POPUP | WS_VISIBLE, RECT{0, 0, 240, 320}};
    HWND parentWindow = parent.Handle();
};

typedef std::vector<int> Rows;

}  // namespace

TEST_F(NoteListViewTest, PlainTapSelectsOnlyTheTappedRowEvenAsADoubleClick)
{
    Fill(kRows);
    Tap(RowPoint(1));
    EXPECT_EQ(Selected(), Rows({1}));
    EXPECT_EQ(view.GetSelectionMark(), 1);
    EXPECT_EQ(Focused(), 1);

    // The second of two quick taps comes as a double-click.
    Tap(RowPoint(3), false, false, WM_LBUTTONDBLCLK);
    EXPECT_EQ(Selected(), Rows({3}));
    EXPECT_EQ(view.GetSelectionMark(), 3);
}

TEST_F(NoteListViewTest, CtrlTapTogglesOnlyWhenLiftedOverTheSameRow)
{
    Fill(kRows);
    Tap(RowPoint(1));
    Tap(RowPoint(3), true);
    EXPECT_EQ(Selected(), Rows({1, 3}));
    Tap(RowPoint(1), true);
    EXPECT_EQ(Selected(), Rows({3}));

    Modifiers(true, false);
    PostMessageW(view.Window(), WM_LBUTTONUP, 0, RowPoint(5));
    SendMessageW(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(4));
    Pump();
    EXPECT_EQ(Selected(), Rows({3}));
    EXPECT_EQ(Focused(), 4);
}

TEST_F(NoteListViewTest, ShiftTapSelectsFromTheFocusedRowAndCtrlShiftAddsTheRange)
{
    Fill(kRows);
    Tap(RowPoint(1));
    Tap(RowPoint(3), false, true);
    EXPECT_EQ(Selected(), Rows({1, 2, 3}));
    EXPECT_EQ(Focused(), 1);
    Tap(RowPoint(0), false, true);
    EXPECT_EQ(Selected(), Rows({0, 1}));

    Tap(RowPoint(4), true);
    Tap(RowPoint(5), true, true);
    EXPECT_EQ(Selected(), Rows({0, 1, 4, 5}));
}

TEST_F(NoteListViewTest, TapBelowTheRowsClearsTheSelectionButKeepsFocusAndMark)
{
    Fill(kRows);
    Tap(RowPoint(2));
    Tap(RowPoint(4), false, true);
    Tap(BelowRows());
    EXPECT_EQ(Selected(), Rows());
    EXPECT_EQ(Focused(), 2);
    EXPECT_EQ(view.GetSelectionMark(), 2);
}

TEST_F(NoteListViewTest, DragsSelectFromTheMarkOrToggleWithCtrl)
{
    Fill(kRows);
    Drag({1, 2, 3});
    EXPECT_EQ(Selected(), Rows({1, 2, 3}));
    Drag({1, 3, 2});
    EXPECT_EQ(Selected(), Rows({1, 2}));

    Tap(RowPoint(0));
    // Out from row 2 to row 4 toggles 3 and 4; back to 3 untoggles 4; the
    // release over 3, not the focused row, toggles nothing.
    Drag({2, 4, 3}, true);
    EXPECT_EQ(Selected(), Rows({0, 3}));
    EXPECT_EQ(Focused(), 2);
}

TEST_F(NoteListViewTest, TapAndHoldKeepsAMultipleSelectionForThePopup)
{
    Fill(kRows);
    auto selectOneToThree = [&] {
        Tap(RowPoint(1));
        Tap(RowPoint(3), false, true);
        ASSERT_EQ(Selected(), Rows({1, 2, 3}));
    };
    selectOneToThree();
    Hold(RowPoint(2));
    EXPECT_EQ(holds, 1);
    EXPECT_EQ(Selected(), Rows({1, 2, 3}));

    // Without a hold the tap collapses the selection to its row.
    Tap(RowPoint(2));
    EXPECT_EQ(holds, 1);
    EXPECT_EQ(Selected(), Rows({2}));

    // Held on an unselected row: the popup acts on the mark, so the three
    // stay and the held row only gets the focus.
    selectOneToThree();
    Hold(RowPoint(5));
    EXPECT_EQ(holds, 2);
    EXPECT_EQ(Selected(), Rows({1, 2, 3}));
    EXPECT_EQ(Focused(), 5);
    EXPECT_EQ(view.GetSelectionMark(), 1);
}

// The popup opened by a hold runs a menu loop that takes the stylus's
// release; the pointer moving over the list afterwards selects nothing.
TEST_F(NoteListViewTest, APopupThatTakesTheReleaseStillEndsTheTap)
{
    Fill(kRows);
    SendMessageW(view.Window(), WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(0));
    EXPECT_EQ(holds, 1);
    // A real menu loop, ended from a timer as a tap outside it would.
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"Select All");
    UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    TrackPopupMenuEx(menu, 0, 30, 30, parentWindow, nullptr);
    KillTimer(nullptr, timer);
    DestroyMenu(menu);
    view.SelectAll();   // the popup's "Select All"
    SendMessageW(view.Window(), WM_MOUSEMOVE, 0, RowPoint(1));
    SendMessageW(view.Window(), WM_MOUSEMOVE, 0, RowPoint(3));
    EXPECT_EQ(Selected(), Rows({0, 1, 2, 3, 4, 5}));
    EXPECT_NE(view.Window(), GetCapture());
    Drag({2, 4});
    EXPECT_EQ(Selected(), Rows({2, 3, 4})) << "the next drag works as ever";
}

TEST_F(NoteListViewTest, HoldWithoutMarkOpensNothingAndAnEmptyListIgnoresTheStylus)
{
    Hold(RowPoint(0));
    Tap(BelowRows());
    DragThrough({MAKELPARAM(30, 30), MAKELPARAM(30, 60), MAKELPARAM(30, 90)});
    view.SelectAll();
    EXPECT_EQ(view.GetSelection(), 0);
    EXPECT_EQ(view.GetSelectionMark(), -1);
    EXPECT_EQ(holds, 1);

    Fill(kRows);
    view.SelectAll();
    EXPECT_EQ(Selected(), Rows({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Focused(), 0);
}

TEST_F(NoteListViewTest, RowsShowTimeImageAndTitleAndSurviveRecreation)
{
    NoteEntry never = {};
    never.expiry = NeverExpiring();
    NoteEntry dated = {};
    dated.expiry = {2031, 5, 0, 17, 8, 30, 0, 0};

    // Twice, since the control must not free the image list the view owns.
    for (int round = 0; round < 2; ++round) {
        view.DeleteAll();
        view.AppendNote(L"Never", never, false);
        view.AppendNote(L"Expired", never, true);
        view.AppendNote(L"Dated", dated, false);
        view.AppendNote(nullptr, dated, true);
        ASSERT_EQ(view.ItemCount(), 4);

        const int images[] = {kNoteImageNever, kNoteImageExpired, kNoteImagePending, kNoteImageExpired};
        const wchar_t* titles[] = {L"Never", L"Expired", L"Dated", L""};
        for (int row = 0; row < 4; ++row) {
            wchar_t text[100] = L"";
            LVITEMW item = {};
            item.mask = LVIF_IMAGE | LVIF_TEXT;
            item.iItem = row;
            item.pszText = text;
            item.cchTextMax = 100;
            SendMessageW(view.Window(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            EXPECT_EQ(item.iImage, images[row]) << row;
            if (row < 2)
                EXPECT_STREQ(text, L"Never expire");
            else
                EXPECT_NE(wcsstr(text, L"17"), nullptr) << row;
            ListView_GetItemText(view.Window(), row, 1, text, 100);
            EXPECT_STREQ(text, titles[row]);
        }
        HIMAGELIST images0 = reinterpret_cast<HIMAGELIST>(SendMessageW(view.Window(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        ASSERT_NE(images0, nullptr);
        EXPECT_EQ(ImageList_GetImageCount(images0), 3);

        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(view.Window(), WM_GETFONT, 0, 0)), sizeof(font), &font);
        EXPECT_EQ(font.lfHeight, -9);
        EXPECT_STREQ(font.lfFaceName, L"Tahoma");

        view.Destroy();
        view.Create(parentWindow, 5, 5, 230, 170);
    }
}

namespace {

// One row as the list shows it: time text, image, title.
struct ShownRow {
    std::wstring time;
    int image;
    std::wstring title;
    bool operator==(const ShownRow& other) const
    {
        return time == other.time && image == other.image && title == other.title;
    }
};

std::vector<ShownRow> ShownRows(HWND list)
{
    std::vector<ShownRow> rows;
    int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        wchar_t time[100] = L"", title[256] = L"";
        LVITEMW item = {};
        item.mask = LVIF_IMAGE | LVIF_TEXT;
        item.iItem = row;
        item.pszText = time;
        item.cchTextMax = 100;
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        ListView_GetItemText(list, row, 1, title, 256);
        rows.push_back({time, item.iImage, title});
    }
    return rows;
}

}  // namespace

// A refill writes over the rows in place; whatever changed between the two
// (a title, an expiry, the expired image, rows moved, gone or added), the
// list then shows exactly what a list filled anew shows: the same rows,
// nothing selected or focused, no mark, the first row in view.
TEST_F(NoteListViewTest, RefillShowsWhatAFreshFillShowsWithNoSelectionLeft)
{
    struct Note {
        const wchar_t* title;
        int day;   // 0: never expires
        bool expired;
    };
    auto fill = [](NoteListView& target, const std::vector<Note>& notes, bool refill) {
        if (refill)
            target.BeginRefill(int(notes.size()));
        else
            target.BeginFill(int(notes.size()));
        for (const Note& note : notes) {
            NoteEntry entry = {};
            entry.expiry = note.day == 0 ? NeverExpiring() : SYSTEMTIME{2031, 5, 0, WORD(note.day), 8, 30, 0, 0};
            target.AppendNote(note.title, entry, note.expired);
        }
        target.EndFill();
    };
    std::vector<Note> before;
    for (int n = 0; n < 40; ++n)
        before.push_back({n % 2 == 0 ? L"Even" : L"Odd", n % 3 == 0 ? 0 : 1 + n % 28, n % 5 == 0});
    // The same again; one title changed; a title and an expiry changed,
    // one note moved from 30 to 2, one marked expired, the last five gone;
    // grown past where it was; emptied.
    std::vector<std::vector<Note>> afters = {before, before, before, before, {}};
    afters[1][36].title = L"Renamed";
    afters[2][7].title = L"Renamed";
    afters[2][9].day = 3;
    afters[2][12].expired = !afters[2][12].expired;
    afters[2].insert(afters[2].begin() + 2, afters[2][30]);
    afters[2].erase(afters[2].begin() + 31);
    afters[2].resize(35);
    for (int n = 0; n < 20; ++n)
        afters[3].push_back({L"New", 1 + n, false});

    fill(view, before, false);
    for (const std::vector<Note>& after : afters) {
        ListView_SetItemState(view.Window(), 4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetItemState(view.Window(), 20, LVIS_SELECTED, LVIS_SELECTED);
        SendMessageW(view.Window(), LVM_SETSELECTIONMARK, 0, 20);
        ListView_EnsureVisible(view.Window(), 33, FALSE);
        fill(view, after, true);
        std::vector<ShownRow> refilled = ShownRows(view.Window());
        EXPECT_EQ(after.size(), refilled.size());
        EXPECT_EQ(int(after.size()), view.ItemCount());
        EXPECT_EQ(Selected(), Rows());
        EXPECT_EQ(Focused(), -1);
        EXPECT_EQ(view.GetSelectionMark(), -1);
        EXPECT_EQ(0, ListView_GetTopIndex(view.Window()));

        fresh.Create(parentWindow, 5, 5, 230, 170);
        fill(fresh, after, false);
        EXPECT_TRUE(ShownRows(fresh.Window()) == refilled) << "rows differ from a fresh fill";
        fresh.Destroy();
    }
}
