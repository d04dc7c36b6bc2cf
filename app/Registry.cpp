#include "app/Registry.h"

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
    int result = kRegMissing;
    if (!created) {
        DWORD value = 0, type = 0, size = sizeof value;
        // A value of another type or size reads as missing.
        if (RegQueryValueExW(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof value)
            result = int(value);
    }
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
    if (!created) {
        DWORD type = 0, size = DWORD(count * sizeof(wchar_t));
        LONG status = RegQueryValueExW(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        if (status != ERROR_SUCCESS || type != REG_SZ) {
            buffer[0] = L'\0';
        } else {
            // A stored string need not carry its terminator.
            size_t units = size / sizeof(wchar_t);
            if (units >= count)
                units = count - 1;
            buffer[units] = L'\0';
        }
    }
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
