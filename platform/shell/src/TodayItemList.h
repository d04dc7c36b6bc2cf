// The Today screen's list of items, as the registry holds it: one subkey of
// "SOFTWARE\Microsoft\Today\Items" per item.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace shell {

struct TodayItemEntry {
    std::wstring name;  // the subkey's name
    std::wstring dll;
    DWORD type = 0;
    DWORD order = 0;
    DWORD flags = 0;
    bool enabled = false;
    bool options = false;

    bool operator==(const TodayItemEntry& other) const;
    bool operator!=(const TodayItemEntry& other) const { return !(*this == other); }
};

class TodayItemList {
public:
    static const wchar_t kDefaultKey[];

    // keyPath is relative to HKEY_LOCAL_MACHINE; tests pass a private one.
    explicit TodayItemList(const wchar_t* keyPath = kDefaultKey);

    // Every item of type 4 (supplied by a library), enabled or not, in
    // "Order" and then by name. Subkeys without a "DLL" are left out.
    std::vector<TodayItemEntry> Read() const;
    bool SetEnabled(const std::wstring& name, bool enabled) const;
    const std::wstring& KeyPath() const { return keyPath_; }

private:
    std::wstring keyPath_;
};

}  // namespace shell
