#include "bench/BareList.h"

#include <commctrl.h>

namespace bench {

namespace {

const int kListLeft = 5, kListTop = 5, kListWidth = 230, kListHeight = 170;

}  // namespace

HWND MakeBareList(HWND parent)
{
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, kListLeft,
                                kListTop, kListWidth, kListHeight, parent, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
    const wchar_t* headings[] = {L"Time", L"Title"};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNW info = {};
        info.mask = LVCF_TEXT | LVCF_WIDTH;
        info.cx = 100;
        info.pszText = const_cast<wchar_t*>(headings[column]);
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
    }
    return list;
}

void RefillBareList(HWND list, const std::vector<std::pair<std::wstring, std::wstring>>& rows)
{
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, rows.size(), 0);
    int row = 0;
    for (const auto& texts : rows) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(texts.first.c_str());
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMW title = {};
        title.iSubItem = 1;
        title.pszText = const_cast<wchar_t*>(texts.second.c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&title));
        ++row;
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
}

HWND MakeBareBand(HWND owner)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND band = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 294, 240, 26, owner, nullptr, instance,
                                nullptr);
    return CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                           WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NOPARENTALIGN |
                               CCS_NODIVIDER,
                           0, 0, 240, 26, band, nullptr, instance, nullptr);
}

}  // namespace bench
