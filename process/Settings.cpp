#include "process/Settings.h"

#include "platform/common/Text.h"
#include "shared/Registry.h"

#include <wchar.h>

const wchar_t kTodayItemKeyFirstRun[] = L"\\SOFTWARE\\Microsoft\\Today\\Items\\KORVA Jotlings";
const wchar_t kButtonTableKey[] = L"SOFTWARE\\Microsoft\\Shell\\Keys";

namespace {

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

// The key itself says nothing: a read makes it, and so does the Today
// item's options dialog. The program's path and its notes folder, which no
// one but the first run writes and without which the Today item can
// neither schedule the program nor list a note, say whether it ran. A
// single value the user deleted later is not written back.
bool IsFirstRun()
{
    wchar_t text[MAX_PATH];
    return RegPeekString(kSettingsKey, L"Jotlings", text, MAX_PATH) == RegStringRead::Missing &&
           RegPeekString(kSettingsKey, L"Path", text, MAX_PATH) == RegStringRead::Missing;
}

void WriteStringIfMissing(const wchar_t* name, const wchar_t* text)
{
    wchar_t there[MAX_PATH];
    if (RegPeekString(kSettingsKey, name, there, MAX_PATH) == RegStringRead::Missing)
        RegWriteString(kSettingsKey, name, text);
}

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

    if (IsFirstRun()) {
        if (!RegCreateKey(kSettingsKey))
            return;
        // A value already there was written since the key was deleted (the
        // Today item's options, a setter): the user's, and kept.
        WriteStringIfMissing(L"Jotlings", notesFolder);
        WriteStringIfMissing(L"Path", module);
        wchar_t sound[MAX_PATH];
        FormatText(sound, MAX_PATH, L"%s\\notify.wav", notesFolder);
        WriteStringIfMissing(L"Snd", sound);
        for (const DwordDefault& setting : kFirstRunDwords) {
            if (RegPeekDword(kSettingsKey, setting.name) == kRegMissing)
                RegWriteDword(kSettingsKey, setting.name, setting.value);
        }
    }

    // An existing Today item key, a user's "Enabled" 0 included, is kept.
    if (RegKeyExists(kTodayItemKeyFirstRun))
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
    return RegPeekDword(kTodayItemKey, L"Enabled") == 1;
}

int FindRecordButtonKey()
{
    if (!RegKeyExists(kButtonTableKey))
        return 0;
    static const struct {
        const wchar_t* name;
        int key;
    } kButtons[] = {{L"Side Button 5", kKeySideButton5}, {L"Button 5", kKeyButton5}, {L"Record", kKeyRecord}};

    wchar_t subkey[MAX_PATH];
    for (DWORD index = 0; RegSubkeyName(kButtonTableKey, index, subkey, MAX_PATH); ++index) {
        wchar_t path[MAX_PATH], name[260];
        if (subkey[0] == L'\0' || FormatText(path, MAX_PATH, L"%s\\%s", kButtonTableKey, subkey) < 0 ||
            RegPeekString(path, L"Name", name, 260) != RegStringRead::Read)
            continue;
        for (const auto& button : kButtons) {
            if (wcscmp(name, button.name) == 0)
                return button.key;
        }
    }
    return kKeyButton5;
}
