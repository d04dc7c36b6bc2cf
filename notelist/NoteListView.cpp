#include "notelist/NoteListView.h"

#include "notes/DateTimeText.h"
#include "notes/ExpiryRules.h"
#include "notewindow/NoteYellow.h"
#include "platform/common/Text.h"
#include "process/Application.h"
#include "resources/resource.h"

#include <aygshell.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace {

// Child, visible, border, report view, selection shown without the focus.
const DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS;
const COLORREF kImageTransparent = RGB(255, 0, 255);
const int kColumnWidth = 100;
const int kImageWidth = 16;
const int kImageGrow = 3;
const int kDefaultFontSize = 9;
const size_t kTimeTextLength = 100;
const size_t kTitleTextLength = 256;
// A refill that writes or removes more rows than this holds redrawing off.
const int kRowsWrittenShown = 8;

bool KeyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

// FNV-1a over a row's time text, image and title.
unsigned long long RowKey(const wchar_t* timeText, int image, const wchar_t* titleText)
{
    unsigned long long key = 14695981039346656037ull;
    auto mix = [&key](unsigned value) {
        key ^= value;
        key *= 1099511628211ull;
    };
    for (const wchar_t* c = timeText; *c != L'\0'; ++c)
        mix(unsigned(*c));
    mix(0x10000u + unsigned(image));
    for (const wchar_t* c = titleText; *c != L'\0'; ++c)
        mix(unsigned(*c));
    return key;
}

}  // namespace

NoteListView::NoteListView() = default;

NoteListView::~NoteListView()
{
    Destroy();
}

void NoteListView::Create(HWND parentWindow, int x, int y, int w, int h)
{
    parent = parentWindow;
    left = x;
    top = y;
    width = w;
    height = h;
    selectionKept = false;
    list = CreateWindowExW(0, WC_LISTVIEWW, L"", kListStyle, x, y, w, h, parentWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNoteListId)),
                           ProgramInstance(), this);
    if (list == nullptr)
        return;
    RefreshFont();
    SendMessageW(list, LVM_SETBKCOLOR, 0, kNoteYellow);
    SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, kNoteYellow);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    // Wine's header control takes several milliseconds to paint; unclipped,
    // every refill of the rows repaints it too, and a find refills at each
    // key typed.
    SetWindowLongPtrW(list, GWL_STYLE, GetWindowLongPtrW(list, GWL_STYLE) | WS_CLIPCHILDREN);
    SetWindowLongPtrW(list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NoteListView::ListProc)));
    InsertColumns();
    LoadImages();
}

void NoteListView::InsertColumns()
{
    const wchar_t* headings[] = {L"Time", L"Title"};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT | LVCF_WIDTH;
        info.cx = kColumnWidth;
        info.pszText = const_cast<wchar_t*>(headings[column]);
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
    }
}

void NoteListView::LoadImages()
{
    images = ImageList_LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(IDB_NOTE_STATES), kImageWidth,
                                  kImageGrow, kImageTransparent, IMAGE_BITMAP, 0);
    if (images != nullptr)
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

void NoteListView::Destroy()
{
    redrawHold.reset();
    if (list != nullptr) {
        // Without LVS_SHAREIMAGELISTS the control frees its image lists
        // itself; taking ours back first keeps this object the one owner.
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        DestroyWindow(list);
    }
    if (images != nullptr)
        ImageList_Destroy(images);
    if (font != nullptr)
        DeleteObject(font);
    list = nullptr;
    parent = nullptr;
    images = nullptr;
    font = nullptr;
    previousProc = nullptr;
    left = top = width = height = 0;
    itemCount = 0;
    rowKeys.clear();
    filling = refilling = false;
    stylusDown = false;
}

void NoteListView::RefreshFont()
{
    int size = g_application != nullptr ? g_application->FontSize() : kDefaultFontSize;
    LOGFONTW description = {};
    description.lfHeight = -size;
    CopyText(description.lfFaceName, LF_FACESIZE, L"Tahoma");
    HFONT old = font;
    font = CreateFontIndirectW(&description);
    // The control lets go of the old font before it is deleted.
    if (list != nullptr)
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (old != nullptr)
        DeleteObject(old);
}

void NoteListView::BeginFill(int expectedRows)
{
    if (list == nullptr)
        return;
    // A visible report list repaints at every insert: 1000 rows take
    // seconds that way, and a fraction of one with painting held off.
    dateStyle = CurrentDateTimeStyle();
    filling = true;
    HoldRedraw();
    SendMessageW(list, LVM_SETITEMCOUNT, expectedRows, 0);
}

// A save changes one note of a thousand: writing every row again cost as
// much as the first fill, twice a bare list's refill. Nor is redrawing held
// off for a few rows: a row written has only its own place repainted, while
// letting a held list of a thousand rows redraw again costs Wine's list
// about as much as writing a hundred rows shown.
void NoteListView::BeginRefill(int expectedRows)
{
    if (list == nullptr)
        return;
    dateStyle = CurrentDateTimeStyle();
    filling = true;
    refillWrites = 0;
    if (rowKeys.size() != size_t(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))) {
        HoldRedraw();
        DeleteAll();   // rows this view did not write: nothing to compare with
    } else {
        ForgetSelection();
        refilling = true;
        itemCount = 0;
    }
    SendMessageW(list, LVM_SETITEMCOUNT, expectedRows, 0);
}

void NoteListView::BeginUpdate()
{
    if (list == nullptr)
        return;
    dateStyle = CurrentDateTimeStyle();
    filling = true;
    HoldRedraw();
}

void NoteListView::EndFill()
{
    if (list == nullptr)
        return;
    if (refilling) {
        refilling = false;
        // Rows past the new last one go, from the end, where it costs least.
        if (rowKeys.size() > size_t(itemCount) + kRowsWrittenShown)
            HoldRedraw();
        for (int row = int(rowKeys.size()) - 1; row >= itemCount; --row)
            SendMessageW(list, LVM_DELETEITEM, row, 0);
        rowKeys.resize(size_t(itemCount));
        if (SendMessageW(list, LVM_GETTOPINDEX, 0, 0) > 0)
            SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
    }
    filling = false;
    redrawHold.reset();
}

void NoteListView::HoldRedraw()
{
    if (!redrawHold)
        redrawHold.emplace(list);
}

// What an emptied list has: no row selected or focused, and no mark. The
// focus goes first: the parent previews a row whose change leaves it
// focused, as a deselected row that kept the focus would be.
void NoteListView::ForgetSelection()
{
    int focused = FocusedRow();
    if (focused != -1) {
        LVITEMW state = {};
        state.stateMask = LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, focused, reinterpret_cast<LPARAM>(&state));
    }
    DeselectAll();
    SetSelectionMark(-1);
}

void NoteListView::AppendNote(const wchar_t* title, const NoteEntry& entry, bool expired)
{
    InsertNote(itemCount, title, entry, expired);
}

void NoteListView::InsertNote(int at, const wchar_t* title, const NoteEntry& entry, bool expired)
{
    if (list == nullptr)
        return;
    wchar_t timeText[kTimeTextLength];
    if (NeverExpires(entry.expiry))
        CopyText(timeText, kTimeTextLength, L"Never expire");
    else
        FormatDateTime(entry.expiry, true, timeText, filling ? dateStyle : CurrentDateTimeStyle());

    wchar_t titleText[kTitleTextLength];
    CopyText(titleText, kTitleTextLength, title);
    int image = expired ? kNoteImageExpired : NeverExpires(entry.expiry) ? kNoteImageNever : kNoteImagePending;
    unsigned long long key = RowKey(timeText, image, titleText);
    // A refill writes its rows in order over the old ones (at is the count
    // written so far); a find puts a row in at its place.
    bool replacing = refilling && size_t(at) < rowKeys.size();
    if (replacing && rowKeys[size_t(at)] == key) {
        ++itemCount;
        return;
    }
    if (refilling && ++refillWrites > kRowsWrittenShown)
        HoldRedraw();

    LVITEMW row = {};
    row.mask = LVIF_TEXT | LVIF_IMAGE;
    row.iItem = at;
    row.pszText = timeText;
    row.iImage = image;
    SendMessageW(list, replacing ? LVM_SETITEMW : LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
    LVITEMW column = {};
    column.iSubItem = 1;
    column.pszText = titleText;
    SendMessageW(list, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&column));
    if (replacing)
        rowKeys[size_t(at)] = key;
    else
        rowKeys.insert(rowKeys.begin() + std::min(size_t(at), rowKeys.size()), key);
    ++itemCount;
}

void NoteListView::DeleteRow(int row)
{
    if (list != nullptr && SendMessageW(list, LVM_DELETEITEM, row, 0)) {
        --itemCount;
        if (row >= 0 && size_t(row) < rowKeys.size())
            rowKeys.erase(rowKeys.begin() + row);
    }
}

void NoteListView::DeleteAll()
{
    if (list != nullptr && SendMessageW(list, LVM_DELETEALLITEMS, 0, 0)) {
        itemCount = 0;
        rowKeys.clear();
    }
}

void NoteListView::Move(int x, int y, int w, int h)
{
    left = x;
    top = y;
    width = w;
    height = h;
    // Drawn afresh rather than moved: the list clips its header, which
    // would keep whatever the old place showed.
    if (list != nullptr)
        SetWindowPos(list, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void NoteListView::DropFocus()
{
    int focused = list != nullptr ? FocusedRow() : -1;
    if (focused == -1)
        return;
    LVITEMW state = {};
    state.stateMask = LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, focused, reinterpret_cast<LPARAM>(&state));
}

void NoteListView::SelectAll()
{
    if (!HasRows())
        return;
    SetSelectionMark(0);
    Focus(0);
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

int NoteListView::GetSelection(int* rows)
{
    if (list == nullptr)
        return 0;
    if (rows == nullptr)
        return SelectedCount();
    std::vector<int> selected = SelectedRows();
    for (size_t i = 0; i < selected.size(); ++i)
        rows[i] = selected[i];
    return 0;
}

std::vector<int> NoteListView::SelectedRows()
{
    std::vector<int> rows;
    for (int row = list != nullptr ? ListView_GetNextItem(list, -1, LVNI_SELECTED) : -1; row != -1;
         row = ListView_GetNextItem(list, row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

int NoteListView::GetSelectionMark()
{
    return list != nullptr ? static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0)) : -1;
}

void NoteListView::SelectForContextMenu(int row)
{
    if (list == nullptr || row < 0)
        return;
    if (SelectedCount() > 1 && IsSelected(row))
        return;
    SetSelectionMark(row);
    Focus(row);
    SetSelected(row, true);
    DeselectAllBut(row);
}

// ---------------------------------------------------------------------------
// The stylus
// ---------------------------------------------------------------------------

LRESULT CALLBACK NoteListView::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* view = reinterpret_cast<NoteListView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_LBUTTONDOWN:
    // Wine's list view class asks for double-clicks, so the second of two
    // quick taps would arrive as a double-click that its own code handles.
    // On the handheld every tap follows the stylus rules below.
    case WM_LBUTTONDBLCLK:
        return view->OnStylusDown(lParam);
    case WM_MOUSEMOVE:
        return view->OnStylusMove(lParam);
    case WM_CAPTURECHANGED:
        // A menu opened by the hold takes the capture, and its loop the
        // release with it: the tap is over all the same.
        if (reinterpret_cast<HWND>(lParam) != window)
            view->stylusDown = false;
        return CallWindowProcW(view->previousProc, window, message, wParam, lParam);
    case WM_LBUTTONUP:
        return view->OnStylusUp(lParam);
    case WM_KEYDOWN:
        // Ctrl+F asks the window for its find box, wherever the focus is.
        if (wParam == 'F' && KeyDown(VK_CONTROL)) {
            SendMessageW(view->parent, WM_COMMAND, IDM_LIST_FIND, 0);
            return 0;
        }
        return CallWindowProcW(view->previousProc, window, message, wParam, lParam);
    case WM_CHAR:
        if (wParam == 0x06)   // Ctrl+F's character: no row starts with it
            return 0;
        return CallWindowProcW(view->previousProc, window, message, wParam, lParam);
    default:
        return CallWindowProcW(view->previousProc, window, message, wParam, lParam);
    }
}

LRESULT NoteListView::OnStylusDown(LPARAM point)
{
    bool ctrl = KeyDown(VK_CONTROL);
    bool shift = KeyDown(VK_SHIFT);
    stylusDown = true;
    SetCapture(list);
    int row = HitTest(point);
    SetFocus(list);
    lastStylusPoint = point;
    Tap(row, ctrl, shift);

    SHRGINFO gesture = {};
    gesture.cbSize = sizeof(gesture);
    gesture.hwndClient = list;
    gesture.ptDown.x = GET_X_LPARAM(point);
    gesture.ptDown.y = GET_Y_LPARAM(point);
    gesture.dwFlags = SHRG_NOTIFYPARENT;
    // The parent answers 1 when its popup menu opened for the selection.
    if (SHRecognizeGesture(&gesture) != 1 && selectionKept)
        Tap(row, ctrl, shift);
    return 0;
}

LRESULT NoteListView::OnStylusMove(LPARAM point)
{
    if (!stylusDown)
        return 0;
    bool ctrl = KeyDown(VK_CONTROL);
    bool shift = KeyDown(VK_SHIFT);
    lastStylusPoint = point;
    int row = HitTest(point);
    if (row == -1 || !HasRows())
        return 0;
    if (!ctrl && !shift)
        SelectRange(GetSelectionMark(), row, true, false);
    else if (!shift)
        DragWithCtrl(row);
    return 0;
}

LRESULT NoteListView::OnStylusUp(LPARAM point)
{
    bool ctrl = KeyDown(VK_CONTROL);
    bool shift = KeyDown(VK_SHIFT);
    stylusDown = false;
    ReleaseCapture();
    lastStylusPoint = point;
    int row = HitTest(point);
    if (ctrl && !shift && HasRows() && row != -1 && FocusedRow() == row)
        SetSelected(row, !IsSelected(row));
    return 0;
}

void NoteListView::Tap(int row, bool ctrl, bool shift)
{
    if (!HasRows())
        return;
    if (row == -1) {
        DeselectAll();
        return;
    }
    anchor = row;
    if (!ctrl && !shift) {
        Focus(row);
        if (SelectedCount() > 1 && !selectionKept) {
            selectionKept = true;
            return;
        }
        SetSelectionMark(row);
        SetSelected(row, true);
        DeselectAllBut(row);
        selectionKept = false;
    } else if (ctrl && !shift) {
        // The row is toggled when the stylus is lifted over it.
        Focus(row);
    } else {
        int focused = FocusedRow();
        if (focused != -1) {
            SelectRange(focused, row, !ctrl, false);
        } else {
            Focus(row);
            SetSelected(row, true);
        }
    }
}

// Dragging with Ctrl toggles the rows the stylus passes over, seen from the
// focused row where the drag began: coming back towards it untoggles them.
void NoteListView::DragWithCtrl(int row)
{
    int focused = FocusedRow();
    if (focused == -1 || row == anchor)
        return;
    if (row > focused) {
        if (row > anchor)
            SelectRange(anchor + 1, row, false, true);
        else
            SelectRange(row + 1, anchor, false, true);
    } else if (row < focused) {
        if (row > anchor)
            SelectRange(anchor, row - 1, false, true);
        else
            SelectRange(row, anchor - 1, false, true);
    } else {
        SelectRange(anchor, anchor, false, true);
    }
    SetSelected(focused, false);
    anchor = row;
}

int NoteListView::HitTest(LPARAM point)
{
    LVHITTESTINFO hit = {};
    hit.pt.x = GET_X_LPARAM(point);
    hit.pt.y = GET_Y_LPARAM(point);
    return static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

bool NoteListView::HasRows()
{
    return list != nullptr && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0;
}

// ---------------------------------------------------------------------------
// Selection primitives
// ---------------------------------------------------------------------------

void NoteListView::SetSelected(int row, bool selected)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

bool NoteListView::IsSelected(int row)
{
    return SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) != 0;
}

void NoteListView::Focus(int row)
{
    LVITEMW state = {};
    state.stateMask = LVIS_FOCUSED;
    state.state = LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

int NoteListView::FocusedRow()
{
    return ListView_GetNextItem(list, -1, LVNI_FOCUSED);
}

int NoteListView::SelectedCount()
{
    return static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

void NoteListView::SetSelectionMark(int row)
{
    if (list != nullptr)
        SendMessageW(list, LVM_SETSELECTIONMARK, 0, row);
}

void NoteListView::DeselectAll()
{
    DeselectAllBut(-1);
}

// Walks the selected rows only: a list of a thousand notes has few of them.
void NoteListView::DeselectAllBut(int kept)
{
    int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    while (row != -1) {
        int next = ListView_GetNextItem(list, row, LVNI_SELECTED);
        if (row != kept)
            SetSelected(row, false);
        row = next;
    }
}

void NoteListView::SelectRange(int a, int b, bool clearOutside, bool toggle)
{
    if (a == -1 || b == -1)
        return;
    int low = a < b ? a : b;
    int high = a < b ? b : a;
    if (clearOutside) {
        int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
        while (row != -1) {
            int next = ListView_GetNextItem(list, row, LVNI_SELECTED);
            if (row < low || row > high)
                SetSelected(row, false);
            row = next;
        }
    }
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (high >= count)
        high = count - 1;
    for (int row = low; row <= high; ++row) {
        bool selected = IsSelected(row);
        bool wanted = toggle ? !selected : true;
        if (wanted != selected)
            SetSelected(row, wanted);
    }
}
