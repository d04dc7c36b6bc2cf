#include "platform/shell/src/TodayItemList.h"

#include "platform/common/RegistryKeys.h"
#include "platform/shell/include/todaycmn.h"

#include <algorithm>

namespace shell {

const wchar_t TodayItemList::kDefaultKey[] = L"SOFTWARE\\Microsoft\\Today\\Items";

namespace {

DWORD ReadDword(HKEY key, const wchar_t* name, DWORD missing)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value)) {
        return missing;
    }
    return value;
}

std::wstring ReadPath(HKEY key, const wchar_t* name)
{
    wchar_t buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::wstring();
    }
    buffer[MAX_PATH - 1] = L'\0';
    return buffer;
}

}  // namespace

bool TodayItemEntry::operator==(const TodayItemEntry& other) const
{
    return name == other.name && dll == other.dll && type == other.type &&
           order == other.order && flags == other.flags && enabled == other.enabled &&
           options == other.options;
}

TodayItemList::TodayItemList(const wchar_t* keyPath)
    : keyPath_(keyPath != nullptr ? keyPath : kDefaultKey)
{
}

std::vector<TodayItemEntry> TodayItemList::Read() const
{
    std::vector<TodayItemEntry> items;
    for (const std::wstring& name : LocalMachineSubkeyNames(keyPath_)) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (keyPath_ + L"\\" + name).c_str(), 0, KEY_READ, &key) !=
            ERROR_SUCCESS) {
            continue;
        }
        TodayItemEntry entry;
        entry.name = name;
        entry.dll = ReadPath(key, L"DLL");
        entry.type = ReadDword(key, L"Type", 0);
        entry.order = ReadDword(key, L"Order", 0);
        entry.flags = ReadDword(key, L"Flags", 0);
        entry.enabled = ReadDword(key, L"Enabled", 0) == 1;
        entry.options = ReadDword(key, L"Options", 0) == 1;
        RegCloseKey(key);
        if (entry.type == tlitCustom && !entry.dll.empty()) {
            items.push_back(entry);
        }
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const TodayItemEntry& a, const TodayItemEntry& b) {
                         return a.order != b.order ? a.order < b.order : a.name < b.name;
                     });
    return items;
}

bool TodayItemList::SetEnabled(const std::wstring& name, bool enabled) const
{
    std::wstring path = keyPath_ + L"\\" + name;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD value = enabled ? 1 : 0;
    bool done = RegSetValueExW(key, L"Enabled", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&value),
                               sizeof(value)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return done;
}

}  // namespace shell
