// The all-notes window's list of notes: one report-view list control with a
// row per note (expiry time and title), and the stylus selection rules that
// let a tap-and-hold act on several notes at once. Keyboard input and
// everything else keep the list control's own behaviour.
//
// The control is a virtual one (LVS_OWNERDATA): this object holds what each
// row shows and the control asks for the rows it paints. With ten thousand
// notes a find that takes seven thousand rows out, or puts them back, then
// costs what the dozen rows on screen cost, where a list holding its own
// rows took several frames. The parent passes the list's notifications to
// OnNotify first.
#pragma once

#include "notes/DateTimeText.h"
#include "notes/NoteEntry.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// The list control's id: its WM_NOTIFY messages carry it.
const int kNoteListId = 1;

// Row images of the list's image list.
const int kNoteImagePending = 0;   // white disc with a red quarter
const int kNoteImageExpired = 1;   // red disc
const int kNoteImageNever = 2;     // white disc

class NoteListView {
public:
    NoteListView();
    virtual ~NoteListView();
    NoteListView(const NoteListView&) = delete;
    NoteListView& operator=(const NoteListView&) = delete;

    // Makes the control at (left, top) in parent's client area; parent gets
    // its notifications and the tap-and-hold gesture. Does nothing more
    // when the control cannot be made.
    void Create(HWND parent, int left, int top, int width, int height);
    void Destroy();
    // Gives the control a font made from the current FontSize setting.
    void RefreshFont();

    // Starts rows going in; expectedRows lets the rows be allocated once.
    // EndFill shows the result.
    void BeginFill(int expectedRows);
    // As BeginFill, for rows that replace the list's: a row that shows the
    // same as the one in its place is kept, and only the others are
    // written. Afterwards no row is selected or focused and the first is
    // in view, as in a list filled anew.
    void BeginRefill(int expectedRows);
    // As BeginFill, keeping the rows: some go, some come in between.
    void BeginUpdate();
    // Ends any of the three, and gives the list its painting back.
    void EndFill();
    void AppendNote(const wchar_t* title, const NoteEntry& entry, bool expired);
    void InsertNote(int row, const wchar_t* title, const NoteEntry& entry, bool expired);
    void DeleteRow(int row);
    void DeleteAll();

    // Answers the notifications a virtual list asks its parent (the text
    // and image of a row, the row a typed letter jumps to): true when
    // header was one, with the answer in result.
    bool OnNotify(const NMHDR* header, LRESULT* result);

    void SelectAll();
    // Without rows: the number of selected rows. With rows (sized from a
    // first call): the selected row indices in ascending order, and 0.
    int GetSelection(int* rows = nullptr);
    // The selected row indices in ascending order, taken in one go.
    std::vector<int> SelectedRows();
    int GetSelectionMark();
    // The held row becomes the only selection, unless it is part of a
    // selection of several rows, which a popup menu then acts on.
    void SelectForContextMenu(int row);

    // Puts the control at a new place in its parent (the find box takes a
    // line above it).
    void Move(int left, int top, int width, int height);
    int FocusedRow();
    // Leaves no row focused.
    void DropFocus();
    // The row the popup's selection counts from (-1: none).
    void SetSelectionMark(int row);

    HWND Window() const { return list; }
    int Left() const { return left; }
    int Top() const { return top; }
    int ItemCount() const { return int(rows.size()); }

private:
    static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnStylusDown(LPARAM point);
    LRESULT OnStylusMove(LPARAM point);
    LRESULT OnStylusUp(LPARAM point);

    void Tap(int row, bool ctrl, bool shift);
    void DragWithCtrl(int row);
    int HitTest(LPARAM point);
    bool HasRows();

    void SetSelected(int row, bool selected);
    bool IsSelected(int row);
    void Focus(int row);
    int SelectedCount();
    void DeselectAll();
    void DeselectAllBut(int row);
    void SelectRange(int a, int b, bool clearOutside, bool toggle);

    void InsertColumns();
    void LoadImages();
    void ForgetSelection();
    void ShowRowCount(DWORD flags);
    void GetDispInfo(NMLVDISPINFOW* info);
    int FindRow(const NMLVFINDITEMW* find);
    void RestoreSelection();
    void CarryShownRow();
    void CarryShownRowsTo(int row);

    // What one row shows.
    struct Row {
        std::wstring time;
        std::wstring title;
        int image;
        bool operator==(const Row& other) const
        {
            return image == other.image && time == other.time && title == other.title;
        }
    };

    HWND list = nullptr;
    HWND parent = nullptr;
    HFONT font = nullptr;
    HIMAGELIST images = nullptr;
    WNDPROC previousProc = nullptr;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<Row> rows;
    // The locale's date style, read once for each fill.
    DateTimeStyle dateStyle = {};
    bool filling = false;
    bool refilling = false;
    std::vector<Row> shownRows;
    // A refill compares with the rows shown before, and an update builds
    // the rows anew from them: the shown rows in order, some left out and
    // new ones put in between. The control knows only row numbers, so the
    // selection, the focus and the mark are taken at the start, carried
    // with their rows, and given back at the end.
    bool updating = false;
    size_t nextShown = 0;
    std::vector<int> selectedBefore;
    size_t nextSelected = 0;
    std::vector<int> keptSelected;
    int focusedBefore = -1;
    int markBefore = -1;
    int keptFocused = -1;
    int keptMark = -1;
    bool stylusDown = false;
    LPARAM lastStylusPoint = 0;
    // A plain tap on a multiple selection leaves it for a possible
    // tap-and-hold; this marks that it still has to collapse.
    bool selectionKept = false;
    int anchor = 0;
};
