// The subkeys of a registry key, by name: how the platform's stores kept in
// the registry (timed runs, the Today screen's items) list what they hold.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The names of key's subkeys, in the registry's order. The list ends at the
// first that cannot be read: a key deleted meanwhile fails for every index,
// and asking on would not end.
inline std::vector<std::wstring> SubkeyNames(HKEY key)
{
    std::vector<std::wstring> names;
    for (DWORD index = 0;; ++index) {
        // A key's name has at most 255 characters.
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return names;
        names.push_back(name);
    }
}

// The same for HKEY_LOCAL_MACHINE\path; none when it cannot be opened.
inline std::vector<std::wstring> LocalMachineSubkeyNames(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    std::vector<std::wstring> names = SubkeyNames(key);
    RegCloseKey(key);
    return names;
}
