// Helpers of the shell's tests: registry set-up under a private key, the
// test Today item's path and observations.
#pragma once

#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>

namespace shelltest {

const wchar_t kItemsKey[] = L"SOFTWARE\\JotlingsTests\\TodayItems";
const wchar_t kObservationsKey[] = L"SOFTWARE\\JotlingsTests\\ShellTestItem";

inline void DeleteKey(const wchar_t* path)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, path);
}

inline std::wstring TestItemPath()
{
    return BesideTestProgram(L"testitems\\ShellTestItem.dll");
}

inline void WriteDword(const std::wstring& key, const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, REG_DWORD, &value, sizeof(value));
}

inline void WriteItem(const wchar_t* name, DWORD order, DWORD enabled, DWORD options,
                      DWORD type = 4, const std::wstring& dll = TestItemPath())
{
    std::wstring key = std::wstring(kItemsKey) + L"\\" + name;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"DLL", REG_SZ, dll.c_str(),
                    static_cast<DWORD>((dll.size() + 1) * sizeof(wchar_t)));
    WriteDword(key, L"Flags", 0);
    WriteDword(key, L"Options", options);
    WriteDword(key, L"Enabled", enabled);
    WriteDword(key, L"Order", order);
    WriteDword(key, L"Type", type);
}

inline std::wstring ObservationKey(const wchar_t* item)
{
    return std::wstring(kObservationsKey) + L"\\" + item;
}

inline void SetHeight(const wchar_t* item, DWORD height)
{
    WriteDword(ObservationKey(item), L"Height", height);
}

// An observation of the test item, or `missing` when it never wrote it.
inline DWORD Observed(const wchar_t* item, const wchar_t* value, DWORD missing = 0xFFFFFFFF)
{
    DWORD data = missing;
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, ObservationKey(item).c_str(), value, RRF_RT_REG_DWORD,
                     nullptr, &data, &size) != ERROR_SUCCESS) {
        return missing;
    }
    return data;
}

inline std::wstring ObservedText(const wchar_t* item, const wchar_t* value)
{
    wchar_t text[MAX_PATH] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, ObservationKey(item).c_str(), value, RRF_RT_REG_SZ,
                     nullptr, text, &size) != ERROR_SUCCESS) {
        return std::wstring();
    }
    return text;
}

inline RECT RectInParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace shelltest
