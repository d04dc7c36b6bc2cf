#include "platform/shell/src/TodaySettingsWindow.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/RegisterClassOnce.h"

#include "platform/shell/src/ScreenRequests.h"
#include "platform/shell/src/ShellConstants.h"
#include "platform/shell/src/TodayHost.h"

#include <commctrl.h>

namespace shell {

namespace {

const wchar_t kPrompt[] = L"Select items to display on the Today screen:";
const int kMargin = 6;
const int kPromptHeight = 30;
const int kButtonHeight = 24;
const int kButtonWidth = 80;

}  // namespace

TodaySettingsWindow::TodaySettingsWindow(HWND screen, const TodayItemList& list)
    : screen_(screen),
      list_(list),
      window_(nullptr),
      listView_(nullptr),
      optionsButton_(nullptr),
      instance_(nullptr),
      filling_(false)
{
}

TodaySettingsWindow::~TodaySettingsWindow()
{
    if (window_ != nullptr) {
        destroying_ = true;
        DestroyWindow(window_);
    }
}

bool TodaySettingsWindow::Create(HINSTANCE instance)
{
    instance_ = instance;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kTodaySettingsClass;
    if (!RegisterClassOnce(windowClass)) {
        return false;
    }
    // The list view's notices come by SendMessage on this thread.
    OwnThreadSend::Watch();
    window_ = CreateWindowExW(0, kTodaySettingsClass, L"Settings", WS_POPUP | WS_CLIPCHILDREN, 0,
                              kWorkTop, kScreenWidth, kWorkBottom - kWorkTop, nullptr, nullptr,
                              instance, this);
    if (window_ == nullptr) {
        return false;
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    // The list takes the keys, so that the arrows pick an item.
    SetFocus(listView_);
    return true;
}

LRESULT CALLBACK TodaySettingsWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<TodaySettingsWindow, &TodaySettingsWindow::window_, &TodaySettingsWindow::HandleMessage>(window, message, wParam, lParam);
}

LRESULT TodaySettingsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        if (OwnThreadSend::FromOwnThread(window_, message, wParam, lParam)) {
            OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        }
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_CLOSE:
        Save();
        return 0;
    case WM_DESTROY:
        // Only the window's own end (Done, or its owner going) lets the
        // object go; another program's WM_DESTROY leaves the window working.
        if (destroying_)
            RemovePropW(window_, kDoneButtonProperty);
        return 0;
    case WM_NCDESTROY:
        if (!destroying_)
            return 0;
        return LetObjectWindowGo(window_, message, wParam, lParam);
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void TodaySettingsWindow::OnCreate()
{
    // The navigation bar shows its ok button for this window.
    SetPropW(window_, kDoneButtonProperty, reinterpret_cast<HANDLE>(1));
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    RECT client;
    GetClientRect(window_, &client);
    int listBottom = client.bottom - kButtonHeight - 2 * kMargin;
    listView_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER |
            LVS_SHOWSELALWAYS,
        kMargin, kPromptHeight, client.right - 2 * kMargin, listBottom - kPromptHeight, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance_, nullptr);
    SendMessageW(listView_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    SendMessageW(listView_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = client.right - 2 * kMargin - 24;
    SendMessageW(listView_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    optionsButton_ = CreateWindowExW(
        0, L"BUTTON", L"Options...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
        kMargin, listBottom + kMargin, kButtonWidth, kButtonHeight, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOptionsId)), instance_, nullptr);
    SendMessageW(optionsButton_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    Fill();
}

void TodaySettingsWindow::Fill()
{
    filling_ = true;
    entries_ = list_.Read();
    SendMessageW(listView_, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < entries_.size(); ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(entries_[i].name.c_str());
        int row = static_cast<int>(SendMessageW(listView_, LVM_INSERTITEMW, 0,
                                                reinterpret_cast<LPARAM>(&item)));
        ListView_SetCheckState(listView_, row, entries_[i].enabled ? TRUE : FALSE);
    }
    if (!entries_.empty()) {
        ListView_SetItemState(listView_, 0, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    filling_ = false;
    UpdateOptionsButton();
}

int TodaySettingsWindow::SelectedIndex() const
{
    int row = static_cast<int>(SendMessageW(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                            LVNI_SELECTED));
    if (row < 0 || static_cast<size_t>(row) >= entries_.size()) {
        return -1;
    }
    return row;
}

void TodaySettingsWindow::UpdateOptionsButton()
{
    int row = SelectedIndex();
    EnableWindow(optionsButton_, row >= 0 && entries_[row].options);
}

void TodaySettingsWindow::OnNotify(const NMHDR* header)
{
    if (header != nullptr && header->idFrom == kListId && header->code == LVN_ITEMCHANGED &&
        !filling_) {
        UpdateOptionsButton();
    }
}

void TodaySettingsWindow::OnCommand(int id)
{
    if (id == IDOK) {
        Save();
    } else if (id == kOptionsId) {
        OpenSelectedOptions();
    }
}

void TodaySettingsWindow::OpenSelectedOptions()
{
    int row = SelectedIndex();
    if (row < 0) {
        return;
    }
    if (TodayHost::OpenOptions(entries_[row], window_)) {
        ScreenRequests::Post(screen_, kMsgTodaySettingsDone, 0);
    }
}

void TodaySettingsWindow::Save()
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        bool checked = ListView_GetCheckState(listView_, static_cast<int>(i)) != FALSE;
        if (checked != entries_[i].enabled) {
            list_.SetEnabled(entries_[i].name, checked);
        }
    }
    destroying_ = true;
    HWND window = window_;
    DestroyWindow(window);
    ScreenRequests::Post(screen_, kMsgTodaySettingsDone, 1);
}

void TodaySettingsWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    RECT prompt = {kMargin, 4, kScreenWidth - kMargin, kPromptHeight};
    DrawTextW(dc, kPrompt, -1, &prompt, DT_WORDBREAK);
    SelectObject(dc, old);
    EndPaint(window_, &paint);
}

}  // namespace shell
