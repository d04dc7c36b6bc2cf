#include "notelist/NoteListWindow.h"

#include "app/Application.h"
#include "dialogs/AboutBox.h"
#include "dialogs/Help.h"
#include "notewindow/NoteYellow.h"
#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/RegisterClassOnce.h"
#include "platform/common/Text.h"
#include "resources/resource.h"

#include <aygshell.h>

const wchar_t kNoteListClass[] = L"AllJotlingsWnd";

namespace {

const wchar_t kListTitle[] = L"KORVA Jotlings";
// Made hidden, and shown once it is filled: each change to a shown window
// is repainted and costs a round of the display's traffic, and a hidden
// list takes its rows in half the time.
const DWORD kListWindowStyle = WS_BORDER;

const int kListLeft = 5, kListTop = 5, kListWidth = 230, kListHeight = 170;
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
            ShowWindow(window, SW_SHOWNORMAL);
            SetForegroundWindow(window);
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
    preview.Create(window, IDC_LIST_PREVIEW, kPreviewLeft, kPreviewTop, kPreviewWidth, kPreviewHeight, true);
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

void NoteListWindow::FillList(bool refill)
{
    NoteEntryLock lock(entries);
    int count = entries.Count();
    // A visible list redraws at every row; a thousand of them would take
    // seconds under the redraw, a fraction of one without it.
    if (refill)
        list.BeginRefill(count);
    else
        list.BeginFill(count);
    for (NoteEntry* e = entries.First(); e != nullptr && window != nullptr; e = e->next)
        list.AppendNote(e->title.c_str(), *e, e->expired != 0);
    list.EndFill();
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
    if (previewRecord != nullptr) {
        previewRecord->ClearData();
        delete previewRecord;
    }
    previewRecord = record;
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
        // The list and the preview go with their parent.
        list.Destroy();
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
        OnCommand(LOWORD(wParam));
        return 0;
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
    if (header->idFrom == UINT_PTR(kNoteListId)) {
        if (header->code == UINT(LVN_COLUMNCLICK)) {
            SortByColumn(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
            RefreshList();
        } else if (header->code == UINT(LVN_ITEMCHANGED)) {
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
