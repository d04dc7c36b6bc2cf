// A Today item for the shell's tests. It behaves as an item written for the
// handheld's Today screen, and writes what the host did to it under
// HKLM\SOFTWARE\JotlingsTests\ShellTestItem\<its name>, where the tests (in
// the same process or on the device) read it. Its height answers come from
// the value "Height" there.
#include "platform/shell/include/todaycmn.h"

#include <string>

namespace {

const wchar_t kClass[] = L"ShellTestItemClass";
const wchar_t kRoot[] = L"SOFTWARE\\JotlingsTests\\ShellTestItem\\";
HINSTANCE library = nullptr;
HWND host = nullptr;

std::wstring KeyOf(const wchar_t* name)
{
    return std::wstring(kRoot) + name;
}

DWORD Read(const wchar_t* item, const wchar_t* value, DWORD missing)
{
    DWORD data = missing;
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, KeyOf(item).c_str(), value, RRF_RT_REG_DWORD, nullptr,
                     &data, &size) != ERROR_SUCCESS) {
        return missing;
    }
    return data;
}

void Write(const wchar_t* item, const wchar_t* value, DWORD data)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, KeyOf(item).c_str(), value, REG_DWORD, &data,
                    sizeof(data));
}

void WriteText(const wchar_t* item, const wchar_t* value, const wchar_t* text)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, KeyOf(item).c_str(), value, REG_SZ, text,
                    static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

void Count(const wchar_t* item, const wchar_t* value)
{
    Write(item, value, Read(item, value, 0) + 1);
}

// How many of this item's windows live on the device at once, across
// shells: "Live" now, "MostLive" the most there ever were.
void CountLive(const wchar_t* item, int change)
{
    HANDLE lock = CreateMutexW(nullptr, FALSE, L"ShellTestItemLive");
    WaitForSingleObject(lock, 5000);
    DWORD live = Read(item, L"Live", 0) + change;
    Write(item, L"Live", live);
    if (live > Read(item, L"MostLive", 0)) {
        Write(item, L"MostLive", live);
    }
    ReleaseMutex(lock);
    CloseHandle(lock);
}

const wchar_t* NameOf(HWND window)
{
    auto* name = reinterpret_cast<std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return name != nullptr ? name->c_str() : L"?";
}

LRESULT QueryHeight(HWND window, TODAYLISTITEM* item)
{
    Count(NameOf(window), L"Queries");
    if (item == nullptr) {
        return 0;
    }
    DWORD height = Read(NameOf(window), L"Height", 20);
    if (item->cyp == height) {
        return 0;
    }
    item->cyp = height;
    SetWindowPos(window, nullptr, 0, 0, 240, static_cast<int>(height), SWP_NOMOVE | SWP_NOZORDER);
    return 1;
}

LRESULT EraseBackground(HWND window, HDC dc)
{
    TODAYDRAWWATERMARKINFO info = {};
    info.hdc = dc;
    GetClientRect(window, &info.rc);
    info.hwnd = window;
    LRESULT answer = SendMessageW(GetParent(window), TODAYM_DRAWWATERMARK, 0,
                                  reinterpret_cast<LPARAM>(&info));
    Write(NameOf(window), L"WatermarkAnswer", static_cast<DWORD>(answer));
    // Where row 5 of this item sits on the host, and what the host drew there.
    POINT row = {5, 5};
    MapWindowPoints(window, GetParent(window), &row, 1);
    Write(NameOf(window), L"WatermarkRow", static_cast<DWORD>(row.y));
    Write(NameOf(window), L"WatermarkPixel", GetPixel(dc, 5, 5));
    return 1;
}

LRESULT CALLBACK ItemProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(created->lpCreateParams));
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, static_cast<COLORREF>(
                             SendMessageW(GetParent(window), TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0)));
        RECT rect;
        GetClientRect(window, &rect);
        rect.left = 30;
        DrawTextW(dc, NameOf(window), -1, &rect, DT_SINGLELINE | DT_VCENTER);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE:
        return QueryHeight(window, reinterpret_cast<TODAYLISTITEM*>(wParam));
    case WM_TODAYCUSTOM_CLEARCACHE:
        Count(NameOf(window), L"ClearCaches");
        return 0;
    case WM_DESTROY:
        // An item whose teardown takes a while ("UnloadDelay" ms), as one
        // that waits for its threads does.
        Count(NameOf(window), L"UnloadsBegun");
        Sleep(Read(NameOf(window), L"UnloadDelay", 0));
        CountLive(NameOf(window), -1);
        Count(NameOf(window), L"Unloads");
        return 0;
    case WM_NCDESTROY:
        delete reinterpret_cast<std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        library = instance;
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = ItemProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kClass;
        RegisterClassW(&windowClass);
    } else if (reason == DLL_PROCESS_DETACH) {
        UnregisterClassW(kClass, library);
    }
    return TRUE;
}

extern "C" HWND InitializeCustomItem(TODAYLISTITEM* item, HWND parent)
{
    if (item == nullptr) {
        return nullptr;
    }
    wchar_t name[MAX_ITEMNAME + 1] = {};
    for (int i = 0; i < MAX_ITEMNAME && item->szName[i] != L'\0'; ++i) {
        name[i] = item->szName[i];
    }
    Count(name, L"InitCount");
    Write(name, L"InitEnabled", static_cast<DWORD>(item->fEnabled));
    Write(name, L"InitOrder", item->dwOrder);
    Write(name, L"InitOptions", static_cast<DWORD>(item->fOptions));
    Write(name, L"InitType", static_cast<DWORD>(item->tlit));
    Write(name, L"InitInstanceIsLibrary", item->hinstDLL == library ? 1 : 0);
    WriteText(name, L"InitDll", item->szDLLPath);
    wchar_t parentClass[64] = L"";
    GetClassNameW(parent, parentClass, 64);
    WriteText(name, L"InitParentClass", parentClass);
    if (!item->fEnabled) {
        return nullptr;
    }
    // An item whose first load takes a while ("LoadDelay" ms), as one that
    // reads its notes does.
    Sleep(Read(name, L"LoadDelay", 0));
    host = parent;
    Write(name, L"TextColour",
          static_cast<DWORD>(SendMessageW(parent, TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0)));
    HWND window = CreateWindowExW(0, kClass, name, WS_CHILD | WS_VISIBLE, 0, 0, 240, 0, parent,
                                  nullptr, item->hinstDLL, new std::wstring(name));
    if (window != nullptr) {
        CountLive(name, 1);
    }
    return window;
}

extern "C" BOOL CustomItemOptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        Write(L"Options", L"Opened", Read(L"Options", L"Opened", 0) + 1);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        EndDialog(dialog, 0);
    }
    return FALSE;
}
