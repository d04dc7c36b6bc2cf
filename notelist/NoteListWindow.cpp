#include "notelist/NoteListWindow.h"

#include "process/Application.h"
#include "dialogs/AboutBox.h"
#include "dialogs/Help.h"
#include "notewindow/NoteYellow.h"
#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/RegisterClassOnce.h"
#include "notes/FindFolding.h"
#include "platform/common/Text.h"
#include "resources/resource.h"

#include <aygshell.h>

#include <string_view>

const wchar_t kNoteListClass[] = L"AllJotlingsWnd";

namespace {

const wchar_t kListTitle[] = L"KORVA Jotlings";
// Made hidden and shown once its children are in it: each child made in a
// shown window costs a round of the display's traffic. It is shown before
// the notes are sorted and filled in, so that the window stands at once
// however long those take.
const DWORD kListWindowStyle = WS_BORDER;

const int kListLeft = 5, kListTop = 5, kListWidth = 230, kListHeight = 170;
// The list's line that the find box takes, with a gap below the box.
const int kFindLine = kFindBarHeight + 2;
const int kPreviewLeft = 5, kPreviewTop = 180, kPreviewWidth = 230, kPreviewHeight = 84;

}  // namespace

NoteListWindow::NoteListWindow()
{
    previewPath[0] = L'\0';
}

NoteListWindow::~NoteListWindow()
{
    if (previewRecord != nullptr) {
        previewRecord->ClearData();
        delete previewRecord;
    }
    if (window != nullptr && IsWindow(window)) {
        // Detached first: the messages of its destruction go to
        // DefWindowProcW, not to an object being taken apart.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        preview.Destroy();
        list.Destroy();
        DestroyWindow(window);
    }
    if (popupMenu != nullptr)
        DestroyMenu(popupMenu);
    if (background != nullptr)
        DeleteObject(background);
}

void NoteListWindow::Show()
{
    if (window == nullptr) {
        if (CreateListWindow()) {
            SortByColumn(-1);
            FillList();
        }
    } else if (options.IsOpen()) {
        options.BringToFront();
    } else if (g_aboutBox != nullptr && g_aboutBox->Dialog() != nullptr) {
        g_aboutBox->BringToFront();
    } else if (titlesEditor.Dialog() != nullptr) {
        titlesEditor.BringToFront();
    } else {
        SetForegroundWindow(window);
        SipShowIM(SIPF_OFF);
    }
}

bool NoteListWindow::CreateListWindow()
{
    HINSTANCE instance = ProgramInstance();
    if (background == nullptr)
        background = CreateSolidBrush(kNoteYellow);
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = kNoteListClass;
    if (!RegisterClassOnce(windowClass))
        return false;
    OwnThreadSend::Watch();
    if (CreateWindowExW(0, kNoteListClass, kListTitle, kListWindowStyle, 0, 0, 240, 320, nullptr, nullptr,
                        instance, this) == nullptr) {
        window = nullptr;
        return false;
    }
    CreatePopupMenu();
    SHINITDLGINFO init = {SHIDIM_FLAGS, window, SHIDIF_SIZEDLGFULLSCREEN};
    SHInitDialog(&init);
    CreateMenuBar();
    list.Create(window, kListLeft, kListTop, kListWidth, kListHeight);
    findBar.Create(window, list.Window(), kListLeft, kListTop, kListWidth);
    preview.Create(window, IDC_LIST_PREVIEW, kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight, true);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    return true;
}

void NoteListWindow::CreatePopupMenu()
{
    if (popupMenu != nullptr)
        DestroyMenu(popupMenu);
    popupMenu = ::CreatePopupMenu();
    // Inserted by position, as the menu reads top to bottom: "Edit ...",
    // "Select All", a separator, "Set as expired", "Delete".
    InsertMenuW(popupMenu, 0, MF_BYPOSITION | MF_STRING, IDM_LIST_EDIT, L"Edit ...");
    InsertMenuW(popupMenu, 1, MF_BYPOSITION | MF_STRING, IDM_LIST_DELETE, L"Delete");
    InsertMenuW(popupMenu, 1, MF_BYPOSITION | MF_STRING, IDM_LIST_SELECT_ALL, L"Select All");
    InsertMenuW(popupMenu, 2, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(popupMenu, 3, MF_BYPOSITION | MF_STRING, IDM_LIST_SET_EXPIRED, L"Set as expired");
}

void NoteListWindow::CreateMenuBar()
{
    // The earlier bar's menu, which that bar owns: the handheld's program
    // frees it before making the bar again, and the bar, finding the handle
    // gone, does not free it twice.
    if (menu != nullptr)
        DestroyMenu(menu);
    menu = nullptr;
    SHMENUBARINFO info = {};
    info.cbSize = sizeof(info);
    info.hwndParent = window;
    info.nToolBarId = IDR_LIST_MENUBAR;
    info.hInstRes = ProgramInstance();
    if (SHCreateMenuBar(&info))
        menu = reinterpret_cast<HMENU>(SendMessageW(info.hwndMB, SHCMBM_GETMENU, 0, 0));
}

void NoteListWindow::RefreshList()
{
    if (window == nullptr)
        return;
    FillList(true);
    SetPreview(nullptr, nullptr);
}

std::vector<NoteEntry*> NoteListWindow::ShownEntries(int* total)
{
    bool filtering = Filtering();
    std::vector<NoteEntry*> shown;
    *total = 0;
    for (NoteEntry* e = entries.First(); e != nullptr; e = e->next) {
        ++*total;
        if (!filtering || Matches(*e))
            shown.push_back(e);
    }
    return shown;
}

void NoteListWindow::FillList(bool refill)
{
    NoteEntryLock lock(entries);
    int total = 0;
    std::vector<NoteEntry*> shown = ShownEntries(&total);
    if (refill)
        list.BeginRefill(int(shown.size()));
    else
        list.BeginFill(int(shown.size()));
    rowPaths.clear();
    rowPaths.reserve(shown.size());
    for (NoteEntry* e : shown) {
        if (window == nullptr)
            break;
        list.AppendNote(e->title.c_str(), *e, e->expired != 0);
        rowPaths.push_back(e->path);
    }
    list.EndFill();
    shownQuery = Filtering() ? findQuery : FindQuery();
    ShowFindCount(total);
}

// The rows the find leaves, reached from the rows there are: only the notes
// that go are taken out and only those that come are put in, each at its
// place, so that the rows that stay keep their selection and focus. The
// rows are the found notes in the entries' order, so one walk of both
// tells each note's old and new place. A query that narrows the last one
// reads no note that was not shown, and one that widens it none that was.
void NoteListWindow::UpdateRows()
{
    NoteEntryLock lock(entries);
    FindQuery query = Filtering() ? findQuery : FindQuery();
    bool narrower = query.Within(shownQuery);
    bool wider = shownQuery.Within(query);
    std::vector<std::wstring> paths;
    paths.reserve(rowPaths.size());
    bool updating = false;
    size_t i = 0;
    int row = 0, total = 0;
    for (NoteEntry* e = entries.First(); e != nullptr && window != nullptr; e = e->next) {
        ++total;
        bool was = i < rowPaths.size() && rowPaths[i] == e->path;
        bool found = was ? wider || Matches(*e) : !narrower && Matches(*e);
        if (was)
            ++i;
        if (was && found) {
            paths.push_back(std::move(rowPaths[i - 1]));
            ++row;
            continue;
        }
        if (!was && !found)
            continue;
        if (!updating) {
            list.BeginUpdate();
            updating = true;
        }
        if (was) {
            list.DeleteRow(row);
        } else {
            list.InsertNote(row, e->title.c_str(), *e, e->expired != 0);
            paths.push_back(e->path);
            ++row;
        }
    }
    if (updating)
        list.EndFill();
    bool inStep = i == rowPaths.size();
    rowPaths.swap(paths);
    shownQuery = query;
    // Rows that are not the entries' any more (never so after a fill):
    // filled anew rather than left wrong.
    if (!inStep && window != nullptr)
        FillList(true);
    else
        ShowFindCount(total);
}

void NoteListWindow::ShowFindCount(int total)
{
    if (findBar.IsOpen())
        findBar.ShowCount(int(rowPaths.size()), total, Filtering());
}

int NoteListWindow::RowOf(const std::wstring& path) const
{
    if (path.empty())
        return -1;
    for (size_t row = 0; row < rowPaths.size(); ++row) {
        if (rowPaths[row] == path)
            return int(row);
    }
    return -1;
}

bool NoteListWindow::Matches(const NoteEntry& entry)
{
    const NoteTextCache::Text& text = textCache.Get(entry);
    return findQuery.Matches(text.foldedTitle, text.folded);
}

NoteEntry* NoteListWindow::EntryAtRow(int row)
{
    if (row < 0)
        return nullptr;
    if (!Filtering())
        return entries.At(row);
    return size_t(row) < rowPaths.size() ? entries.Find(rowPaths[size_t(row)].c_str()) : nullptr;
}

void NoteListWindow::OpenFind()
{
    if (window == nullptr)
        return;
    if (!findBar.IsOpen()) {
        // Texts read in an earlier find may have been changed by others.
        textCache.Revalidate();
        findBar.Open();
        PlaceList();
        NoteEntryLock lock(entries);
        ShowFindCount(entries.Count());
    } else {
        findBar.Open();
    }
}

void NoteListWindow::CloseFind()
{
    if (!findBar.IsOpen())
        return;
    findBar.Close();
    findQuery = FindQuery();
    PlaceList();
    Refilter();
    if (window != nullptr && list.Window() != nullptr)
        SetFocus(list.Window());
}

void NoteListWindow::PlaceList()
{
    int line = findBar.IsOpen() ? kFindLine : 0;
    list.Move(kListLeft, kListTop + line, kListWidth, kListHeight - line);
}

void NoteListWindow::OnFindCommand(WORD id, WORD code)
{
    if (id == IDC_LIST_FIND_CLOSE && code == BN_CLICKED) {
        CloseFind();
    } else if (id == IDC_LIST_FIND_EDIT) {
        if (code == EN_CHANGE && findBar.IsOpen()) {
            FindQuery typed(findBar.Text().c_str());
            // A space typed after a word asks for nothing new.
            if (typed.Words() != findQuery.Words()) {
                findQuery = typed;
                Refilter();
            }
        } else if (code == EN_SETFOCUS) {
            SipShowIM(SIPF_ON);
        } else if (code == EN_KILLFOCUS) {
            SipShowIM(SIPF_OFF);
        } else if (code == kFindNotifyToList && list.Window() != nullptr) {
            SetFocus(list.Window());
            if (list.FocusedRow() == -1 && list.ItemCount() > 0)
                list.SelectForContextMenu(0);
        }
    }
}

void NoteListWindow::Refilter()
{
    if (window == nullptr)
        return;
    auto pathAt = [this](int row) {
        return row >= 0 && size_t(row) < rowPaths.size() ? rowPaths[size_t(row)] : std::wstring();
    };
    std::wstring focusedPath = pathAt(list.FocusedRow()), markPath = pathAt(list.GetSelectionMark());
    restoringRows = true;
    UpdateRows();
    // The list moves the focus and the selection mark of a row taken out
    // to the row that comes up in its place: a note the user never chose,
    // which "Edit ..." would open.
    int focused = list.FocusedRow();
    if (focused != -1 && pathAt(focused) != focusedPath) {
        list.DropFocus();
        focused = -1;
    } else if (focused != -1) {
        ListView_EnsureVisible(list.Window(), focused, FALSE);
    }
    // The popup acts on the selection from the mark: a mark dropped with its
    // note would make the next hold collapse a selection the user still
    // sees. It stays with its note, or goes to the focused one.
    int mark = RowOf(markPath);
    list.SetSelectionMark(mark != -1 ? mark : focused);
    restoringRows = false;
    bool previewListed = false;
    for (const std::wstring& path : rowPaths) {
        if (path == previewPath) {
            previewListed = true;
            break;
        }
    }
    if (previewListed)
        MarkPreview();
    else if (previewPath[0] != L'\0')
        SetPreview(nullptr, nullptr);
}

void NoteListWindow::MarkPreview()
{
    if (previewPath[0] == L'\0')
        return;
    std::vector<TextSpan> spans;
    if (Filtering())
        spans = findQuery.SpansIn(textCache.Get(previewPath).text);
    if (spans.empty() && !previewMarked)
        return;
    std::vector<UINT32> parts;
    for (const TextSpan& span : spans) {
        parts.push_back(span.start);
        parts.push_back(span.length);
    }
    preview.MarkText(parts.data(), spans.size());
    previewMarked = !spans.empty();
}

void NoteListWindow::SetPreview(NoteRecord* record, const wchar_t* path)
{
    if (record != nullptr && path != nullptr) {
        CopyText(previewPath, MAX_PATH, path);
        preview.SetInkData(record->data, record->dataLength);
        // The control holds the ink now, and a preview never gives it back.
        record->ClearData();
        preview.SetPreviewView();
        preview.SetZoom(int(record->zoom));
    } else if (previewPath[0] != L'\0' || previewRecord != nullptr || !preview.IsUnmodified()) {
        // Made again only when it shows something: every refill of the
        // list empties the preview, and making the control cost a save
        // with 1000 notes listed a quarter of its time.
        previewPath[0] = L'\0';
        preview.Recreate(false);
    }
    // A new content, or a new control: no marks on it yet.
    previewMarked = false;
    if (previewRecord != nullptr) {
        previewRecord->ClearData();
        delete previewRecord;
    }
    previewRecord = record;
    if (record != nullptr && path != nullptr && Filtering())
        MarkPreview();
}

LRESULT CALLBACK NoteListWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<NoteListWindow, &NoteListWindow::window, &NoteListWindow::HandleMessage>(
        hwnd, message, wParam, lParam);
}

LRESULT NoteListWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_ACTIVE)
            OnActivate();
        return 0;
    case WM_CLOSE:
        // The note windows are this window's: the open note is kept first,
        // as Done would keep it, rather than go down with them.
        if (!CloseCurrentNote())
            return 0;
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_DESTROY:
        // The list, the find box and the preview go with their parent.
        list.Destroy();
        findBar.Destroy();
        findQuery = FindQuery();
        rowPaths.clear();
        preview.Destroy();
        return 0;
    case WM_NCDESTROY: {
        HWND self = window;
        window = nullptr;
        return DefWindowProcW(self, message, wParam, lParam);
    }
    case WM_NOTIFY:
        if (!OwnThreadSend::FromOwnThread(window, message, wParam, lParam))
            return 0;
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_HELP:
        ShowHelp(kHelpFile, L"AllJotl");
        return 0;
    case WM_COMMAND:
        if (lParam != 0 && findBar.Owns(reinterpret_cast<HWND>(lParam)))
            OnFindCommand(LOWORD(wParam), HIWORD(wParam));
        else
            OnCommand(LOWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        // The count stands on the window's yellow.
        if (reinterpret_cast<HWND>(lParam) == findBar.Count()) {
            SetBkColor(reinterpret_cast<HDC>(wParam), kNoteYellow);
            return reinterpret_cast<LRESULT>(background);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_DRAWITEM:
        return findBar.Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_KEYDOWN:
        if (wParam == 'F' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            OpenFind();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case kMsgListPopupMenu:
        OnPopupMenu(int(wParam), int(lParam));
        return 0;
    case kMsgOptionsAccepted:
        OnOptionsAccepted();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT NoteListWindow::OnNotify(const NMHDR* header)
{
    LRESULT answer = 0;
    if (list.OnNotify(header, &answer))
        return answer;
    if (header->idFrom == UINT_PTR(kNoteListId)) {
        if (header->code == UINT(LVN_COLUMNCLICK)) {
            SortByColumn(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
            RefreshList();
        } else if (header->code == UINT(LVN_ITEMCHANGED) && !restoringRows) {
            const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
            if (change->iItem == -1)
                PreviewNote(-1);
            else if ((change->uNewState & LVIS_FOCUSED) != 0)
                PreviewNote(change->iItem);
        }
    }
    if (header->code == UINT(GN_CONTEXTMENU) && list.GetSelectionMark() != -1) {
        list.SelectForContextMenu(list.GetSelectionMark());
        const NMRGINFO* hold = reinterpret_cast<const NMRGINFO*>(header);
        PostMessageW(window, kMsgListPopupMenu, WPARAM(hold->ptAction.x), LPARAM(hold->ptAction.y));
        return 1;
    }
    return 0;
}

void NoteListWindow::OnCommand(WORD id)
{
    switch (id) {
    case IDM_LIST_EDIT:
        OpenNote(list.GetSelectionMark());
        break;
    case IDM_LIST_DELETE:
        DeleteSelected();
        break;
    case IDM_LIST_SET_EXPIRED:
        SetSelectedExpired();
        break;
    case IDM_LIST_SELECT_ALL:
        list.SelectAll();
        break;
    case IDM_LIST_NEW:
        NewNote(false);
        break;
    case IDM_LIST_OPTIONS:
        ShowOptions(window);
        break;
    case IDM_LIST_TITLES:
        titlesEditor.Run(window);
        break;
    case IDM_LIST_ABOUT:
        ShowAbout();
        break;
    case IDM_LIST_FIND:
        OpenFind();
        break;
    default:
        break;
    }
}

// The point is the held one, in the list's client area; the menu opens
// there on the screen.
void NoteListWindow::OnPopupMenu(int x, int y)
{
    POINT at = {x + list.Left(), y + list.Top()};
    ClientToScreen(window, &at);
    TrackPopupMenuEx(popupMenu, 0, at.x, at.y, window, nullptr);
}

void NoteListWindow::OnOptionsAccepted()
{
    ApplyOptions();
    if (g_application != nullptr)
        g_application->SignalChange();
    CreateMenuBar();
}
