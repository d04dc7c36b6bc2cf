#include "app/Settings.h"

#include "app/Registry.h"
#include "platform/common/Text.h"

#include <wchar.h>

const wchar_t kTodayItemKeyFirstRun[] = L"\\SOFTWARE\\Microsoft\\Today\\Items\\KORVA Jotlings";
const wchar_t kButtonTableKey[] = L"SOFTWARE\\Microsoft\\Shell\\Keys";

namespace {

const REGSAM kAllAccess = KEY_ALL_ACCESS;

bool KeyExists(const wchar_t* key)
{
    while (*key == L'\\')
        ++key;
    HKEY handle;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, kAllAccess, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

bool CreateKey(const wchar_t* key)
{
    HKEY handle;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

struct DwordDefault {
    const wchar_t* name;
    DWORD value;
};

// The first run's values, in the order they are written.
const DwordDefault kFirstRunDwords[] = {
    {L"SndCount", 1},       {L"DontPlay", 0},     {L"PlayRec", 1},       {L"PlaySnd", 0},
    {L"TurnOn", 1},         {L"Notify", 1},       {L"MenuCount", 5},     {L"FontSize", 9},
    {L"LockPos", 0},        {L"PosX", 147},       {L"PosY", 5},          {L"RecBtn", 0},
    {L"AutoDel", 0},        {L"TitlesCount", 0},  {L"Mode", 0},          {L"Page", 0},
    {L"Zoom", 3},           {L"TodayShowToday", 1}, {L"TodayExpired", 1}, {L"TodayFontSize", 9},
    {L"TodayCount", 4},
};

}  // namespace

void TodayLibraryPath(const wchar_t* modulePath, wchar_t* out, size_t count)
{
    static const wchar_t program[] = L"Jotlings.exe";
    const size_t programLength = 12;
    size_t length = wcslen(modulePath);
    if (length >= programLength && wcscmp(modulePath + length - programLength, program) == 0) {
        wchar_t folder[MAX_PATH];
        CopyText(folder, MAX_PATH, modulePath);
        folder[length - programLength < MAX_PATH ? length - programLength : MAX_PATH - 1] = L'\0';
        FormatText(out, count, L"%sKJotlings.dll", folder);
    } else {
        CopyText(out, count, modulePath);
    }
}

void FirstRunSetup(const wchar_t* notesFolder, const wchar_t* modulePath)
{
    wchar_t module[MAX_PATH] = L"";
    if (modulePath != nullptr)
        CopyText(module, MAX_PATH, modulePath);
    else if (GetModuleFileNameW(nullptr, module, MAX_PATH) == MAX_PATH)
        module[MAX_PATH - 1] = L'\0';

    if (!KeyExists(kSettingsKey)) {
        if (!CreateKey(kSettingsKey))
            return;
        RegWriteString(kSettingsKey, L"Jotlings", notesFolder);
        RegWriteString(kSettingsKey, L"Path", module);
        wchar_t sound[MAX_PATH];
        FormatText(sound, MAX_PATH, L"%s\\notify.wav", notesFolder);
        RegWriteString(kSettingsKey, L"Snd", sound);
        for (const DwordDefault& setting : kFirstRunDwords)
            RegWriteDword(kSettingsKey, setting.name, setting.value);
    }

    // An existing Today item key, a user's "Enabled" 0 included, is kept.
    if (KeyExists(kTodayItemKeyFirstRun))
        return;
    wchar_t library[MAX_PATH];
    TodayLibraryPath(module, library, MAX_PATH);
    RegWriteString(kTodayItemKeyFirstRun, L"DLL", library);
    RegWriteDword(kTodayItemKeyFirstRun, L"Flags", 0);
    RegWriteDword(kTodayItemKeyFirstRun, L"Options", 1);
    RegWriteDword(kTodayItemKeyFirstRun, L"Enabled", 1);
    RegWriteDword(kTodayItemKeyFirstRun, L"Order", 0);
    RegWriteDword(kTodayItemKeyFirstRun, L"Type", 4);
}

// Read without creating the key: an empty Today item key made by a read
// would stop the next first run from entering the item again.
bool IsTodayItemEnabled()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTodayItemKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0, type = 0, size = sizeof value;
    bool enabled = RegQueryValueExW(key, L"Enabled", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                       ERROR_SUCCESS &&
                   type == REG_DWORD && size == sizeof value && value == 1;
    RegCloseKey(key);
    return enabled;
}

int FindRecordButtonKey()
{
    HKEY table;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kButtonTableKey, 0, KEY_READ, &table) != ERROR_SUCCESS)
        return 0;
    static const struct {
        const wchar_t* name;
        int key;
    } kButtons[] = {{L"Side Button 5", kKeySideButton5}, {L"Button 5", kKeyButton5}, {L"Record", kKeyRecord}};

    int result = 0;
    wchar_t subkey[MAX_PATH];
    for (DWORD index = 0; result == 0; ++index) {
        DWORD length = MAX_PATH;
        LONG status = RegEnumKeyExW(table, index, subkey, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            continue;
        wchar_t path[MAX_PATH];
        if (FormatText(path, MAX_PATH, L"%s\\%s", kButtonTableKey, subkey) < 0)
            continue;
        HKEY button;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &button) != ERROR_SUCCESS)
            continue;
        wchar_t name[260];
        DWORD type = 0, size = sizeof name - sizeof(wchar_t);
        if (RegQueryValueExW(button, L"Name", nullptr, &type, reinterpret_cast<BYTE*>(name), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ) {
            name[size / sizeof(wchar_t)] = L'\0';
            for (const auto& b : kButtons) {
                if (wcscmp(name, b.name) == 0) {
                    result = b.key;
                    break;
                }
            }
        }
        RegCloseKey(button);
    }
    RegCloseKey(table);
    return result != 0 ? result : kKeyButton5;
}
