#include "platform/shell/src/TodayHost.h"

#include "platform/common/Text.h"

namespace shell {

namespace {

// The item's options procedure returns a BOOL, a 32-bit value; the dialog
// manager reads a pointer-sized one. Called through this thunk, the answer
// is widened properly instead of carrying whatever the upper half of the
// register held.
PFNCUSTOMOPTIONSDLGPROC runningOptions = nullptr;

INT_PTR CALLBACK OptionsThunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (runningOptions == nullptr) {
        return FALSE;
    }
    BOOL answer = runningOptions(dialog, message, wParam, lParam);
    return static_cast<INT_PTR>(answer);
}

}  // namespace

TodayHost::TodayHost(const wchar_t* itemsKey) : list_(itemsKey) {}

TodayHost::~TodayHost()
{
    UnloadAll();
}

void TodayHost::Load(HWND screen)
{
    if (busy_ > 0) {
        loadRefused_ = true;
        return;
    }
    Busy busy(busy_);
    loadRefused_ = false;
    UnloadAll();
    loadedList_ = list_.Read();
    for (const TodayItemEntry& entry : loadedList_) {
        if (entry.enabled && items_.size() < k_cTodayItemsMax) {
            LoadOne(entry, screen);
        }
    }
}

bool TodayHost::LoadOne(const TodayItemEntry& entry, HWND screen)
{
    HMODULE library = LoadLibraryW(entry.dll.c_str());
    if (library == nullptr) {
        if (GetFileAttributesW(entry.dll.c_str()) == INVALID_FILE_ATTRIBUTES) {
            missingLibraries_.push_back(entry.dll);
        }
        return false;
    }
    auto initialize = reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(reinterpret_cast<void*>(
        GetProcAddress(library, MAKEINTRESOURCEA(ORDINAL_INITIALIZEITEM))));
    if (initialize == nullptr) {
        FreeLibrary(library);
        return false;
    }
    std::unique_ptr<Hosted> hosted(new Hosted());
    TODAYLISTITEM& item = hosted->item;
    CopyText(item.szName, MAX_ITEMNAME, entry.name.c_str());
    item.tlit = tlitCustom;
    item.dwOrder = entry.order;
    item.cyp = 0;
    item.fEnabled = TRUE;
    item.fOptions = entry.options ? TRUE : FALSE;
    item.grflags = entry.flags;
    CopyText(item.szDLLPath, MAX_PATH, entry.dll.c_str());
    item.hinstDLL = library;
    item.hwndCustom = nullptr;
    item.fSizeOnDraw = FALSE;
    item.prgbCachedData = nullptr;
    item.cbCachedData = 0;
    hosted->library = library;

    HWND window = initialize(&item, screen);
    if (window == nullptr || !IsWindow(window)) {
        FreeLibrary(library);
        return false;
    }
    item.hwndCustom = window;
    // The first question comes at once, so the item has its height before
    // the screen is first drawn.
    SendMessageW(window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, reinterpret_cast<WPARAM>(&item), 0);
    items_.push_back(std::move(hosted));
    return true;
}

void TodayHost::Unload()
{
    if (busy_ > 0) {
        return;
    }
    Busy busy(busy_);
    UnloadAll();
}

void TodayHost::UnloadAll()
{
    // Windows first: an item's window procedure lives in its library.
    for (auto& hosted : items_) {
        if (IsWindow(hosted->item.hwndCustom)) {
            DestroyWindow(hosted->item.hwndCustom);
        }
    }
    for (auto& hosted : items_) {
        FreeLibrary(hosted->library);
    }
    items_.clear();
    loadedList_.clear();
    missingLibraries_.clear();
}

bool TodayHost::ListChanged() const
{
    return list_.Read() != loadedList_;
}

bool TodayHost::MissingLibraryArrived() const
{
    for (const std::wstring& path : missingLibraries_) {
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            return true;
        }
    }
    return false;
}

bool TodayHost::QueryHeights()
{
    Busy busy(busy_);
    bool changed = false;
    for (auto& hosted : items_) {
        if (!IsWindow(hosted->item.hwndCustom)) {
            continue;
        }
        if (SendMessageW(hosted->item.hwndCustom, WM_TODAYCUSTOM_QUERYREFRESHCACHE,
                         reinterpret_cast<WPARAM>(&hosted->item), 0) == 1) {
            changed = true;
        }
    }
    return changed;
}

void TodayHost::ClearCaches()
{
    Busy busy(busy_);
    for (auto& hosted : items_) {
        if (IsWindow(hosted->item.hwndCustom)) {
            SendMessageW(hosted->item.hwndCustom, WM_TODAYCUSTOM_CLEARCACHE, 0, 0);
        }
    }
}

int TodayHost::Layout(int top, int visibleBottom)
{
    Busy busy(busy_);
    int y = top;
    for (auto& hosted : items_) {
        HWND window = hosted->item.hwndCustom;
        if (!IsWindow(window)) {
            continue;
        }
        SetWindowPos(window, nullptr, 0, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT rect;
        GetWindowRect(window, &rect);
        int height = rect.bottom - rect.top;
        if (y + height > visibleBottom) {
            int shown = visibleBottom - y;
            // The window owns the region from here on.
            SetWindowRgn(window, CreateRectRgn(0, 0, rect.right - rect.left, shown > 0 ? shown : 0),
                         TRUE);
        } else {
            SetWindowRgn(window, nullptr, TRUE);
        }
        // A height beyond the screen is an item's mistake; it must not push
        // every other item out of reach.
        DWORD asked = hosted->item.cyp;
        if (asked > 4000) {
            asked = 4000;
        }
        y += static_cast<int>(asked);
    }
    return y;
}

bool TodayHost::OpenOptions(const TodayItemEntry& entry, HWND owner)
{
    if (!entry.options) {
        return false;
    }
    // Loading again shares the hosted item's instance, so the dialog edits
    // the settings the running item uses.
    HMODULE library = LoadLibraryW(entry.dll.c_str());
    if (library == nullptr) {
        return false;
    }
    auto procedure = reinterpret_cast<PFNCUSTOMOPTIONSDLGPROC>(reinterpret_cast<void*>(
        GetProcAddress(library, MAKEINTRESOURCEA(ORDINAL_OPTIONSDIALOGPROC))));
    bool shown = false;
    if (procedure != nullptr &&
        FindResourceW(library, MAKEINTRESOURCEW(IDD_TODAY_CUSTOM), RT_DIALOG) != nullptr) {
        PFNCUSTOMOPTIONSDLGPROC outer = runningOptions;
        runningOptions = procedure;
        shown = DialogBoxParamW(library, MAKEINTRESOURCEW(IDD_TODAY_CUSTOM), owner, OptionsThunk,
                                0) != -1;
        runningOptions = outer;
    }
    FreeLibrary(library);
    return shown;
}

}  // namespace shell
