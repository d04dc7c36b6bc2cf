#include "notelist/FindBar.h"

#include "platform/common/Text.h"
#include "process/Application.h"
#include "resources/resource.h"

namespace {

const int kCountWidth = 56;
const int kGap = 2;

bool ControlDown()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

}  // namespace

FindBar::~FindBar()
{
    Destroy();
}

void FindBar::Create(HWND parentWindow, HWND after, int left, int top, int width)
{
    Destroy();
    parent = parentWindow;
    previousSibling = after;
    barLeft = left;
    barTop = top;
    barWidth = width;
}

// Most lists are never searched: the controls are made at the first Open,
// and take the place among the window's children that they would have had
// if made with it, right after the list, so that Tab still reaches them in
// that order.
bool FindBar::MakeControls()
{
    if (edit != nullptr)
        return true;
    if (parent == nullptr)
        return false;
    HINSTANCE instance = ProgramInstance();
    int closeLeft = barLeft + barWidth - kFindBarHeight;
    int countLeft = closeLeft - kGap - kCountWidth;
    edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, barLeft, barTop,
                           countLeft - kGap - barLeft, kFindBarHeight, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST_FIND_EDIT)), instance, nullptr);
    count = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_RIGHT | SS_CENTERIMAGE | SS_NOPREFIX, countLeft, barTop,
                            kCountWidth, kFindBarHeight, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST_FIND_COUNT)), instance, nullptr);
    closeButton = CreateWindowExW(0, L"BUTTON", L"Close find", WS_CHILD | BS_OWNERDRAW, closeLeft, barTop,
                                  kFindBarHeight, kFindBarHeight, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST_FIND_CLOSE)), instance, nullptr);
    if (edit == nullptr || count == nullptr || closeButton == nullptr) {
        DestroyControls();
        return false;
    }
    HWND place = previousSibling;
    for (HWND control : {edit, count, closeButton}) {
        if (place != nullptr && IsWindow(place))
            SetWindowPos(control, place, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        place = control;
    }
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    for (HWND control : {edit, count})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(edit, EM_LIMITTEXT, 254, 0);
    SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FindBar::EditProc)));
    return true;
}

void FindBar::Destroy()
{
    DestroyControls();
    parent = previousSibling = nullptr;
}

void FindBar::DestroyControls()
{
    for (HWND control : {edit, count, closeButton}) {
        if (control != nullptr && IsWindow(control))
            DestroyWindow(control);
    }
    edit = count = closeButton = nullptr;
    editProc = nullptr;
    open = false;
}

void FindBar::Open()
{
    if (!MakeControls())
        return;
    if (!open) {
        open = true;
        for (HWND control : {edit, count, closeButton})
            ShowWindow(control, SW_SHOW);
    }
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

void FindBar::Close()
{
    if (!open)
        return;
    // Marked closed first: emptying the edit reports a change, which is
    // no new find.
    open = false;
    for (HWND control : {edit, count, closeButton})
        ShowWindow(control, SW_HIDE);
    SetWindowTextW(edit, L"");
    SetWindowTextW(count, L"");
}

std::wstring FindBar::Text() const
{
    if (edit == nullptr)
        return std::wstring();
    wchar_t text[256] = L"";
    GetWindowTextW(edit, text, 256);
    return text;
}

void FindBar::ShowCount(int found, int total, bool typed)
{
    if (count == nullptr)
        return;
    wchar_t text[40];
    if (typed)
        FormatText(text, 40, L"%d of %d", found, total);
    else
        FormatText(text, 40, total == 1 ? L"%d note" : L"%d notes", total);
    SetWindowTextW(count, text);
}

bool FindBar::Draw(const DRAWITEMSTRUCT* item)
{
    if (item == nullptr || item->hwndItem != closeButton || closeButton == nullptr)
        return false;
    RECT r = item->rcItem;
    bool pressed = (item->itemState & ODS_SELECTED) != 0;
    DrawFrameControl(item->hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    // A cross, drawn rather than taken from a font that may lack one.
    HPEN pen = CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(item->hDC, pen);
    int inset = 5 + (pressed ? 1 : 0);
    MoveToEx(item->hDC, r.left + inset, r.top + inset, nullptr);
    LineTo(item->hDC, r.right - inset, r.bottom - inset);
    MoveToEx(item->hDC, r.right - inset, r.top + inset, nullptr);
    LineTo(item->hDC, r.left + inset, r.bottom - inset);
    SelectObject(item->hDC, old);
    DeleteObject(pen);
    return true;
}

LRESULT CALLBACK FindBar::EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* bar = reinterpret_cast<FindBar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (bar == nullptr || bar->editProc == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_KEYDOWN:
        if (bar->OnEditKey(wParam) == 0)
            return 0;
        break;
    case WM_CHAR:
        // Esc, Enter and Ctrl+F did their work as keys; the edit would beep.
        if (wParam == VK_ESCAPE || wParam == VK_RETURN || wParam == 0x06)
            return 0;
        break;
    case WM_GETDLGCODE:
        return CallWindowProcW(bar->editProc, window, message, wParam, lParam) | DLGC_WANTALLKEYS;
    default:
        break;
    }
    return CallWindowProcW(bar->editProc, window, message, wParam, lParam);
}

// 0 when the key was the bar's.
LRESULT FindBar::OnEditKey(WPARAM key)
{
    WPARAM id = 0;
    if (key == VK_ESCAPE)
        id = MAKEWPARAM(IDC_LIST_FIND_CLOSE, BN_CLICKED);
    else if (key == VK_RETURN || key == VK_DOWN)
        id = MAKEWPARAM(IDC_LIST_FIND_EDIT, kFindNotifyToList);
    else if (key == 'F' && ControlDown())
        SendMessageW(edit, EM_SETSEL, 0, -1);
    else
        return 1;
    if (id != 0)
        SendMessageW(parent, WM_COMMAND, id, reinterpret_cast<LPARAM>(LOWORD(id) == IDC_LIST_FIND_CLOSE ? closeButton : edit));
    return 0;
}
