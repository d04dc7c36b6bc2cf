// The all-notes window's list of notes: one report-view list control with a
// row per note (expiry time and title), and the stylus selection rules that
// let a tap-and-hold act on several notes at once. Keyboard input and
// everything else keep the list control's own behaviour.
#pragma once

#include "notes/DateTimeText.h"
#include "notes/NoteEntry.h"
#include "notelist/RedrawHold.h"

#include <windows.h>
#include <commctrl.h>

#include <optional>
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

    // Holds redrawing off while many rows go in; expectedRows lets the
    // control allocate once. EndFill shows the result.
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
    int ItemCount() const { return itemCount; }

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
    void HoldRedraw();

    HWND list = nullptr;
    HWND parent = nullptr;
    HFONT font = nullptr;
    HIMAGELIST images = nullptr;
    WNDPROC previousProc = nullptr;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int itemCount = 0;
    // The locale's date style, read once for each fill.
    DateTimeStyle dateStyle = {};
    bool filling = false;
    // A refill writes over the rows there are; itemCount counts the rows
    // written so far.
    bool refilling = false;
    int refillWrites = 0;
    // Set by HoldRedraw, for the rest of the fill; EndFill lets it go.
    std::optional<RedrawHold> redrawHold;
    // What each row shows (its time, image and title), as a fingerprint:
    // a refill rewrites a row only when its fingerprint changes.
    std::vector<unsigned long long> rowKeys;
    bool stylusDown = false;
    LPARAM lastStylusPoint = 0;
    // A plain tap on a multiple selection leaves it for a possible
    // tap-and-hold; this marks that it still has to collapse.
    bool selectionKept = false;
    int anchor = 0;
};
