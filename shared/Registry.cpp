#include "shared/Registry.h"

#include <wchar.h>

namespace {

const REGSAM kReadWrite = KEY_READ | KEY_WRITE;

// A leading backslash is no part of a key name; the handheld accepts one.
const wchar_t* KeyName(const wchar_t* key)
{
    while (*key == L'\\')
        ++key;
    return key;
}

HKEY OpenExisting(const wchar_t* key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, KeyName(key), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return nullptr;
    return handle;
}

// A DWORD value of the open key; kRegMissing for a value of another type
// or size.
int QueryDword(HKEY handle, const wchar_t* name)
{
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value)
        return int(value);
    return kRegMissing;
}

RegStringRead QueryString(HKEY handle, const wchar_t* name, wchar_t* buffer, size_t count)
{
    buffer[0] = L'\0';
    DWORD type = 0, size = DWORD(count * sizeof(wchar_t));
    LONG status = RegQueryValueExW(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return RegStringRead::Missing;
    if (status != ERROR_SUCCESS || type != REG_SZ) {
        buffer[0] = L'\0';
        return RegStringRead::Unusable;
    }
    // A stored string need not carry its terminator.
    size_t units = size / sizeof(wchar_t);
    if (units >= count)
        units = count - 1;
    buffer[units] = L'\0';
    return RegStringRead::Read;
}

HKEY OpenOrCreate(const wchar_t* key, bool* created)
{
    HKEY handle = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, KeyName(key), 0, nullptr, 0, kReadWrite, nullptr, &handle,
                        &disposition) != ERROR_SUCCESS)
        return nullptr;
    if (created != nullptr)
        *created = disposition == REG_CREATED_NEW_KEY;
    return handle;
}

}  // namespace

int RegReadDword(const wchar_t* key, const wchar_t* name)
{
    bool created = false;
    HKEY handle = OpenOrCreate(key, &created);
    if (handle == nullptr)
        return kRegMissing;
    int result = created ? kRegMissing : QueryDword(handle, name);
    RegCloseKey(handle);
    return result;
}

void RegWriteDword(const wchar_t* key, const wchar_t* name, DWORD value)
{
    HKEY handle = OpenOrCreate(key, nullptr);
    if (handle == nullptr)
        return;
    RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(handle);
}

void RegReadString(const wchar_t* key, const wchar_t* name, wchar_t* buffer, size_t count)
{
    if (buffer == nullptr || count == 0)
        return;
    bool created = false;
    HKEY handle = OpenOrCreate(key, &created);
    if (handle == nullptr)
        return;
    buffer[0] = L'\0';
    if (!created)
        QueryString(handle, name, buffer, count);
    RegCloseKey(handle);
}

void RegWriteString(const wchar_t* key, const wchar_t* name, const wchar_t* text)
{
    HKEY handle = OpenOrCreate(key, nullptr);
    if (handle == nullptr)
        return;
    DWORD bytes = DWORD((wcslen(text) + 1) * sizeof(wchar_t));
    RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
    RegCloseKey(handle);
}

bool RegKeyExists(const wchar_t* key)
{
    HKEY handle = OpenExisting(key);
    if (handle == nullptr)
        return false;
    RegCloseKey(handle);
    return true;
}

bool RegCreateKey(const wchar_t* key)
{
    HKEY handle = OpenOrCreate(key, nullptr);
    if (handle == nullptr)
        return false;
    RegCloseKey(handle);
    return true;
}

int RegPeekDword(const wchar_t* key, const wchar_t* name)
{
    HKEY handle = OpenExisting(key);
    if (handle == nullptr)
        return kRegMissing;
    int result = QueryDword(handle, name);
    RegCloseKey(handle);
    return result;
}

RegStringRead RegPeekString(const wchar_t* key, const wchar_t* name, wchar_t* buffer, size_t count)
{
    if (buffer == nullptr || count == 0)
        return RegStringRead::Unusable;
    buffer[0] = L'\0';
    HKEY handle = OpenExisting(key);
    if (handle == nullptr)
        return RegStringRead::Missing;
    RegStringRead result = QueryString(handle, name, buffer, count);
    RegCloseKey(handle);
    return result;
}

DWORD RegValueCount(const wchar_t* key)
{
    HKEY handle = OpenExisting(key);
    if (handle == nullptr)
        return 0;
    DWORD values = 0;
    if (RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        values = 0;
    RegCloseKey(handle);
    return values;
}

bool RegSubkeyName(const wchar_t* key, DWORD index, wchar_t* name, size_t count)
{
    HKEY handle = OpenExisting(key);
    if (handle == nullptr)
        return false;
    DWORD length = DWORD(count);
    LONG status = RegEnumKeyExW(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    // A name that cannot be read comes back empty, and the walk goes on.
    if (status != ERROR_SUCCESS && count > 0)
        name[0] = L'\0';
    return status != ERROR_NO_MORE_ITEMS;
}
