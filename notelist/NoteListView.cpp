#include "notelist/NoteListView.h"

#include "notes/DateTimeText.h"
#include "notes/ExpiryRules.h"
#include "notewindow/NoteYellow.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/Text.h"
#include "process/Application.h"
#include "resources/resource.h"

#include <aygshell.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

// Child, visible, border, report view, selection shown without the focus,
// rows held by this object.
const DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA;
const COLORREF kImageTransparent = RGB(255, 0, 255);
const int kColumnWidth = 100;
const int kImageWidth = 16;
const int kImageGrow = 3;
const int kDefaultFontSize = 9;
const size_t kTimeTextLength = 100;
const size_t kTitleTextLength = 256;

bool KeyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
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
    rows.clear();
    shownRows.clear();
    filling = refilling = updating = false;
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
    dateStyle = CurrentDateTimeStyle();
    filling = true;
    rows.reserve(rows.size() + size_t(expectedRows));
}

// A save changes one note of a thousand: only the rows that show something
// else are painted again, as only they were written when the control held
// its rows.
void NoteListView::BeginRefill(int expectedRows)
{
    if (list == nullptr)
        return;
    dateStyle = CurrentDateTimeStyle();
    filling = true;
    refilling = true;
    ForgetSelection();
    shownRows.swap(rows);
    rows.clear();
    rows.reserve(size_t(expectedRows));
}

void NoteListView::BeginUpdate()
{
    if (list == nullptr)
        return;
    dateStyle = CurrentDateTimeStyle();
    filling = true;
    updating = true;
    shownRows.swap(rows);
    rows.clear();
    rows.reserve(shownRows.size());
    nextShown = 0;
    selectedBefore = SelectedRows();
    nextSelected = 0;
    keptSelected.clear();
    focusedBefore = FocusedRow();
    markBefore = GetSelectionMark();
    keptFocused = keptMark = -1;
}

// The next row shown before goes on as the next row of the update, and
// its selection, focus and mark with it.
void NoteListView::CarryShownRow()
{
    int now = int(rows.size());
    if (nextShown == size_t(focusedBefore))
        keptFocused = now;
    if (nextShown == size_t(markBefore))
        keptMark = now;
    while (nextSelected < selectedBefore.size() && size_t(selectedBefore[nextSelected]) < nextShown)
        ++nextSelected;
    if (nextSelected < selectedBefore.size() && size_t(selectedBefore[nextSelected]) == nextShown)
        keptSelected.push_back(now);
    rows.push_back(std::move(shownRows[nextShown++]));
}

void NoteListView::CarryShownRowsTo(int row)
{
    while (rows.size() < size_t(row) && nextShown < shownRows.size())
        CarryShownRow();
}

void NoteListView::EndFill()
{
    if (list == nullptr)
        return;
    if (refilling) {
        refilling = false;
        if (rows.size() == shownRows.size()) {
            // The same count: the rows that changed are repainted, the
            // others keep what they show.
            size_t first = 0, last = rows.size();
            while (first < last && rows[first] == shownRows[first])
                ++first;
            while (last > first && rows[last - 1] == shownRows[last - 1])
                --last;
            // Rows out of sight need nothing.
            size_t top = size_t(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
            size_t bottom = top + size_t(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0)) + 1;
            first = std::max(first, top);
            last = std::min(last, bottom);
            if (first < last)
                ListView_RedrawItems(list, int(first), int(last) - 1);
        } else {
            ShowRowCount(LVSICF_NOSCROLL);
        }
        std::vector<Row>().swap(shownRows);
        if (SendMessageW(list, LVM_GETTOPINDEX, 0, 0) > 0)
            SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
    } else if (updating) {
        updating = false;
        CarryShownRowsTo(INT_MAX);
        std::vector<Row>().swap(shownRows);
        RestoreSelection();
    } else {
        ShowRowCount(0);
    }
    filling = false;
}

void NoteListView::ShowRowCount(DWORD flags)
{
    SendMessageW(list, LVM_SETITEMCOUNT, rows.size(), flags);
}

// The rows that left the selection are deselected while the control still
// counts the old rows, the count is set, and then the rows that came into
// it are selected: the control shifts nothing itself.
void NoteListView::RestoreSelection()
{
    // Both lists are in row order.
    auto rowsOnlyIn = [](const std::vector<int>& these, const std::vector<int>& others) {
        std::vector<int> only;
        std::set_difference(these.begin(), these.end(), others.begin(), others.end(), std::back_inserter(only));
        return only;
    };
    for (int row : rowsOnlyIn(selectedBefore, keptSelected))
        SetSelected(row, false);
    if (focusedBefore != -1 && focusedBefore != keptFocused) {
        LVITEMW state = {};
        state.stateMask = LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, focusedBefore, reinterpret_cast<LPARAM>(&state));
    }
    ShowRowCount(LVSICF_NOSCROLL);
    for (int row : rowsOnlyIn(keptSelected, selectedBefore))
        SetSelected(row, true);
    if (keptFocused != -1 && keptFocused != focusedBefore)
        Focus(keptFocused);
    SetSelectionMark(keptMark);
    selectedBefore.clear();
    keptSelected.clear();
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
    InsertNote(int(rows.size()), title, entry, expired);
}

void NoteListView::InsertNote(int at, const wchar_t* title, const NoteEntry& entry, bool expired)
{
    if (list == nullptr || at < 0)
        return;
    wchar_t timeText[kTimeTextLength];
    if (NeverExpires(entry.expiry))
        CopyText(timeText, kTimeTextLength, L"Never expire");
    else
        FormatDateTime(entry.expiry, true, timeText, filling ? dateStyle : CurrentDateTimeStyle());
    int image = expired ? kNoteImageExpired : NeverExpires(entry.expiry) ? kNoteImageNever : kNoteImagePending;
    Row row{timeText, std::wstring(title != nullptr ? title : L""), image};
    if (row.title.size() >= kTitleTextLength)
        row.title.resize(kTitleTextLength - 1);
    if (updating) {
        CarryShownRowsTo(at);
        rows.push_back(std::move(row));
    } else if (filling) {
        rows.insert(rows.begin() + std::min(size_t(at), rows.size()), std::move(row));
    } else {
        BeginUpdate();
        CarryShownRowsTo(at);
        rows.push_back(std::move(row));
        EndFill();
    }
}

// In an update, row counts the rows the update has given so far: the rows
// before it stay, and the shown row that comes next goes.
void NoteListView::DeleteRow(int row)
{
    if (list == nullptr || row < 0)
        return;
    if (updating) {
        CarryShownRowsTo(row);
        if (rows.size() == size_t(row) && nextShown < shownRows.size())
            ++nextShown;
    } else if (filling) {
        if (size_t(row) < rows.size())
            rows.erase(rows.begin() + row);
    } else if (size_t(row) < rows.size()) {
        BeginUpdate();
        DeleteRow(row);
        EndFill();
    }
}

void NoteListView::DeleteAll()
{
    if (list == nullptr)
        return;
    rows.clear();
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
}

bool NoteListView::OnNotify(const NMHDR* header, LRESULT* result)
{
    if (list == nullptr || header->hwndFrom != list)
        return false;
    if (header->code == UINT(LVN_GETDISPINFOW)) {
        GetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header)));
        *result = 0;
        return true;
    }
    if (header->code == UINT(LVN_ODFINDITEMW)) {
        *result = FindRow(reinterpret_cast<const NMLVFINDITEMW*>(header));
        return true;
    }
    return false;
}

void NoteListView::GetDispInfo(NMLVDISPINFOW* info)
{
    LVITEMW& item = info->item;
    if (item.iItem < 0 || size_t(item.iItem) >= rows.size())
        return;
    const Row& row = rows[size_t(item.iItem)];
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0)
        CopyText(item.pszText, size_t(item.cchTextMax), item.iSubItem == 0 ? row.time.c_str() : row.title.c_str());
    if ((item.mask & LVIF_IMAGE) != 0 && item.iSubItem == 0)
        item.iImage = row.image;
}

// A letter typed on the list goes to the next row whose time starts with
// what was typed, from the row after the focused one round to the start,
// as in a list that holds its own rows.
int NoteListView::FindRow(const NMLVFINDITEMW* find)
{
    const LVFINDINFOW& what = find->lvfi;
    if ((what.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || what.psz == nullptr || rows.empty())
        return -1;
    size_t length = wcslen(what.psz);
    bool partial = (what.flags & LVFI_PARTIAL) != 0;
    int count = int(rows.size());
    int start = find->iStart < 0 || find->iStart >= count ? 0 : find->iStart;
    for (int n = 0; n < count; ++n) {
        int row = (start + n) % count;
        if (n > 0 && row == 0 && (what.flags & LVFI_WRAP) == 0)
            break;
        const std::wstring& text = rows[size_t(row)].time;
        if (partial ? _wcsnicmp(text.c_str(), what.psz, length) == 0 : _wcsicmp(text.c_str(), what.psz) == 0)
            return row;
    }
    return -1;
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
    // Another program that reads a row (LVM_GETITEMTEXT) has the control ask
    // the parent for it; the parent answers a notification only when it
    // is this thread's own send, which the entry lets it tell.
    OwnThreadSend::Entry entry(window, message, wParam, lParam);
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
    return list != nullptr && !rows.empty();
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
