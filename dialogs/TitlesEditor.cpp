#include "dialogs/TitlesEditor.h"

#include "dialogs/Help.h"
#include "dialogs/ModalDialog.h"
#include "dialogs/TitleList.h"
#include "process/Application.h"
#include "process/UserPrompt.h"
#include "resources/resource.h"

#include <aygshell.h>
#include <cecompat.h>

namespace {

const wchar_t kHelpAnchor[] = L"Titles";
const wchar_t kDuplicateText[] = L"Title with the same text already exists!";
const wchar_t kDuplicateCaption[] = L"Already exists";
const wchar_t kDeleteAllText[] = L"Are you sure you want to delete all titles?";
const wchar_t kDeleteAllCaption[] = L"Delete all";

// Titles are read from the controls into this many characters.
const int kTextChars = 260;
// The list box's size in pixels with the input panel up and down.
const int kListWidth = 151;
const int kListHeightPanelUp = 128;
const int kListHeightPanelDown = 209;
// The grey band along the bottom edge, where the menu bar would be.
const int kBandHeight = 25;

// The list box item's text, or false when it is missing or too long for out.
bool ItemText(HWND list, int index, wchar_t* out, int count)
{
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length >= count)
        return false;
    return SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(out)) != LB_ERR;
}

int ItemCount(HWND list)
{
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : int(count);
}

}  // namespace

TitlesEditor::TitlesEditor() : ModalDialog(IDD_TITLES_EDITOR) {}

TitlesEditor::~TitlesEditor() = default;

INT_PTR TitlesEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_SETTINGCHANGE:
        OnSettingChange(wParam);
        return FALSE;
    case WM_HELP:
        ShowHelp(kHelpFile, kHelpAnchor);
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void TitlesEditor::OnInitDialog()
{
    SHINITDLGINFO info = {};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_FULLSCREENNOMENUBAR;
    SHInitDialog(&info);
    BringDialogToFront(dialog);
    SipShowIM(SIPF_OFF);
    SipShowIM(SIPF_ON);
    InitControls();
}

void TitlesEditor::InitControls()
{
    TitleList titles;
    list = GetDlgItem(dialog, IDC_TITLES_LIST);
    edit = GetDlgItem(dialog, IDC_TITLES_EDIT);
    moveUp = GetDlgItem(dialog, IDC_TITLES_UP);
    moveDown = GetDlgItem(dialog, IDC_TITLES_DOWN);
    deleteOne = GetDlgItem(dialog, IDC_TITLES_DELETE);
    add = GetDlgItem(dialog, IDC_TITLES_ADD);
    deleteAll = GetDlgItem(dialog, IDC_TITLES_DELETE_ALL);
    EnableWindow(add, FALSE);
    EnableWindow(deleteOne, FALSE);
    EnableWindow(moveUp, FALSE);
    EnableWindow(moveDown, FALSE);
    EnableWindow(deleteAll, titles.Count() > 0);
    for (int i = 0; i < titles.Count(); ++i) {
        wchar_t title[kTextChars] = L"";
        titles.GetAt(i, title, kTextChars);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
    }
}

void TitlesEditor::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    RECT client;
    GetClientRect(dialog, &client);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
    Rectangle(dc, client.left - 1, client.bottom - kBandHeight, client.right + 1, client.bottom + 1);
    SelectObject(dc, oldBrush);
    EndPaint(dialog, &paint);
}

// The list gives the input panel room when it is up and takes it back when
// it goes down; its top-left corner stays where it is. The panel's own
// change at start-up arrives before the handles are kept, so the list is
// looked up here.
void TitlesEditor::OnSettingChange(WPARAM action)
{
    HWND listBox = GetDlgItem(dialog, IDC_TITLES_LIST);
    if (action != SPI_SETSIPINFO || listBox == nullptr)
        return;
    SIPINFO info = {};
    info.cbSize = sizeof info;
    if (!SHSipInfo(SPI_GETSIPINFO, 0, &info, 0))
        return;
    int height = (info.fdwFlags & SIPF_ON) ? kListHeightPanelUp : kListHeightPanelDown;
    // Without SWP_NOZORDER the list would rise to the top of the z-order and
    // become the first stop of the tab order, taking the focus that the
    // dialog gives the title box when it opens.
    SetWindowPos(listBox, nullptr, 0, 0, kListWidth, height, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

void TitlesEditor::OnCommand(WORD id, WORD notification)
{
    switch (id) {
    case IDOK:
        SaveFromDialog();
        EndDialog(dialog, 1);
        break;
    case IDC_TITLES_EDIT:
        OnEditNotification(notification);
        break;
    case IDC_TITLES_ADD:
        Add();
        break;
    case IDC_TITLES_DELETE:
        DeleteSelected();
        break;
    case IDC_TITLES_LIST:
        if (notification == LBN_SELCHANGE)
            UpdateButtons();
        break;
    case IDC_TITLES_UP:
        MoveSelected(-1);
        break;
    case IDC_TITLES_DOWN:
        MoveSelected(1);
        break;
    case IDC_TITLES_DELETE_ALL:
        DeleteAllTitles();
        break;
    default:
        break;
    }
}

void TitlesEditor::OnEditNotification(WORD notification)
{
    switch (notification) {
    case EN_SETFOCUS:
        SipShowIM(SIPF_ON);
        break;
    case EN_KILLFOCUS:
        SipShowIM(SIPF_OFF);
        break;
    case EN_CHANGE: {
        wchar_t text[kTextChars] = L"";
        GetWindowTextW(edit, text, kTextChars);
        EnableWindow(add, text[0] != L'\0');
        break;
    }
    default:
        break;
    }
}

void TitlesEditor::UpdateButtons()
{
    LRESULT selection = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selection == LB_ERR) {
        EnableWindow(deleteOne, FALSE);
        EnableWindow(moveUp, FALSE);
        EnableWindow(moveDown, FALSE);
        return;
    }
    EnableWindow(deleteOne, TRUE);
    EnableWindow(moveUp, selection != 0);
    EnableWindow(moveDown, selection != ItemCount(list) - 1);
}

void TitlesEditor::Add()
{
    wchar_t text[kTextChars] = L"";
    GetWindowTextW(edit, text, kTextChars);
    if (text[0] == L'\0')
        return;
    // The list box's own search ignores letter case, and so does the refusal.
    if (SendMessageW(list, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(text)) != LB_ERR) {
        Ask(kDuplicateText, kDuplicateCaption, MB_OK);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return;
    }
    SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text));
    UpdateButtons();
    EnableWindow(deleteAll, TRUE);
}

void TitlesEditor::DeleteSelected()
{
    LRESULT selection = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selection == LB_ERR)
        return;
    SendMessageW(list, LB_DELETESTRING, selection, 0);
    UpdateButtons();
    EnableWindow(deleteAll, ItemCount(list) > 0);
}

// step -1 moves the selected title up, +1 down; nothing at either end.
void TitlesEditor::MoveSelected(int step)
{
    LRESULT selection = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (selection == LB_ERR)
        return;
    int from = int(selection);
    int to = from + step;
    if (to < 0 || to >= ItemCount(list))
        return;
    wchar_t text[kTextChars];
    if (!ItemText(list, from, text, kTextChars))
        return;
    SendMessageW(list, LB_DELETESTRING, from, 0);
    SendMessageW(list, LB_INSERTSTRING, to, reinterpret_cast<LPARAM>(text));
    SendMessageW(list, LB_SETCURSEL, to, 0);
    UpdateButtons();
}

void TitlesEditor::DeleteAllTitles()
{
    if (Ask(kDeleteAllText, kDeleteAllCaption, MB_YESNO) != IDYES)
        return;
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    UpdateButtons();
    EnableWindow(deleteAll, FALSE);
}

// Done always saves: the list box, first to last, becomes the stored list,
// without empty texts, "---no title---" and exact duplicates.
void TitlesEditor::SaveFromDialog()
{
    TitleList titles;
    titles.Clear();
    int count = ItemCount(list);
    for (int i = 0; i < count; ++i) {
        wchar_t text[kTextChars];
        if (ItemText(list, i, text, kTextChars))
            titles.AddUnique(text);
    }
    titles.Save();
}

int TitlesEditor::Ask(const wchar_t* text, const wchar_t* caption, UINT buttons)
{
    return AskUser(dialog, text, caption, buttons);
}
