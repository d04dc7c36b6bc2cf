#include "process/Application.h"

#include "diag/TraceLog.h"
#include "process/Settings.h"
#include "platform/common/Text.h"
#include "shared/NotesFolder.h"
#include "shared/Registry.h"

#include <cecompat.h>
#include <shlobj.h>

Application* g_application = nullptr;

HINSTANCE ProgramInstance()
{
    if (g_application != nullptr && g_application->Instance() != nullptr)
        return g_application->Instance();
    return GetModuleHandleW(nullptr);
}

namespace {

const LONG kNotLoaded = -1;
const wchar_t kSoundNotSet[] = L"?";
// Not a note's name in any case: it ends in no note extension.
const wchar_t kHeadCacheName[] = L"NoteHeads.cache";

struct SettingInfo {
    const wchar_t* name;
    int fallback;   // what a missing value reads as
};

// In the order of the cache slots.
const SettingInfo kSettings[] = {
    {L"FontSize", 9}, {L"MenuCount", 5}, {L"Notify", 1}, {L"TurnOn", 1}, {L"DontPlay", 0},
    {L"PlayRec", 1},  {L"PlaySnd", 0},   {L"SndCount", 1}, {L"RecBtn", 0}, {L"AutoDel", 0},
    {L"Mode", 0},     {L"Page", 0},      {L"Zoom", 3},
};

}  // namespace

Application::Application(const wchar_t* documentsFolder)
{
    for (volatile LONG& slot : settings)
        slot = kNotLoaded;
    CopyText(soundPath, MAX_PATH, kSoundNotSet);
    InitializeCriticalSection(&soundPathLock);
    notesFolder[0] = L'\0';
    CopyText(noteExtension, 6, L".jot");

    changeEvent = CreateEventW(nullptr, TRUE, FALSE, kChangeEventName);
    if (changeEvent == nullptr)
        Trace(L"\"%s\" is another program's, and no event: the Today item learns of changes from the notes "
              L"folder alone\n",
              kChangeEventName);

    wchar_t documents[MAX_PATH] = L"";
    if (documentsFolder != nullptr)
        CopyText(documents, MAX_PATH, documentsFolder);
    else
        SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE);
    CreateDirectoryW(documents, nullptr);
    ProgramNotesFolder(documents, notesFolder, MAX_PATH);
    CreateDirectoryW(notesFolder, nullptr);

    wchar_t data[MAX_PATH] = L"";
    if (documentsFolder != nullptr)
        CopyText(data, MAX_PATH, documentsFolder);
    else
        SHGetSpecialFolderPathW(nullptr, data, CSIDL_APPDATA, TRUE);
    wchar_t ownData[MAX_PATH];
    headCachePath[0] = L'\0';
    if (FormatText(ownData, MAX_PATH, L"%s\\Jotlings", data) >= 0) {
        CreateDirectoryW(ownData, nullptr);
        FormatText(headCachePath, MAX_PATH, L"%s\\%s", ownData, kHeadCacheName);
    }

    FirstRunSetup(notesFolder);
}

Application::~Application()
{
    if (changeEvent != nullptr)
        CloseHandle(changeEvent);
    DeleteCriticalSection(&soundPathLock);
}

void Application::SignalChange()
{
    EventModify(changeEvent, EVENT_SET);
}

int Application::RecordButtonKey()
{
    if (recordButtonKey == 0)
        InterlockedExchange(&recordButtonKey, FindRecordButtonKey());
    return recordButtonKey;
}

int Application::CachedSetting(Setting setting)
{
    // Two threads that fill a slot at once store the same value.
    if (settings[setting] == kNotLoaded) {
        int value = RegReadDword(kSettingsKey, kSettings[setting].name);
        InterlockedExchange(&settings[setting], value == kRegMissing ? kSettings[setting].fallback : value);
    }
    return settings[setting];
}

void Application::StoreSetting(Setting setting, int value)
{
    RegWriteDword(kSettingsKey, kSettings[setting].name, DWORD(value));
    InterlockedExchange(&settings[setting], value);
}

int Application::FontSize() { return CachedSetting(kFontSize); }
void Application::SetFontSize(int value) { StoreSetting(kFontSize, value); }
int Application::MenuCount() { return CachedSetting(kMenuCount); }
void Application::SetMenuCount(int value) { StoreSetting(kMenuCount, value); }
bool Application::Notify() { return CachedSetting(kNotify) != 0; }
void Application::SetNotify(bool value) { StoreSetting(kNotify, BYTE(value)); }
bool Application::TurnOn() { return CachedSetting(kTurnOn) != 0; }
void Application::SetTurnOn(bool value) { StoreSetting(kTurnOn, BYTE(value)); }
bool Application::DontPlay() { return CachedSetting(kDontPlay) != 0; }
void Application::SetDontPlay(bool value) { StoreSetting(kDontPlay, BYTE(value)); }
bool Application::PlayRec() { return CachedSetting(kPlayRec) != 0; }
void Application::SetPlayRec(bool value) { StoreSetting(kPlayRec, BYTE(value)); }
bool Application::PlaySnd() { return CachedSetting(kPlaySnd) != 0; }
void Application::SetPlaySnd(bool value) { StoreSetting(kPlaySnd, BYTE(value)); }
int Application::SndCount() { return CachedSetting(kSndCount); }
void Application::SetSndCount(int value) { StoreSetting(kSndCount, value); }
bool Application::RecBtn() { return CachedSetting(kRecBtn) != 0; }
void Application::SetRecBtn(int value) { StoreSetting(kRecBtn, value); }
bool Application::AutoDel() { return CachedSetting(kAutoDel) != 0; }
void Application::SetAutoDel(int value) { StoreSetting(kAutoDel, value); }
int Application::Mode() { return CachedSetting(kMode); }
void Application::SetMode(int value) { StoreSetting(kMode, value); }
int Application::Page() { return CachedSetting(kPage); }
void Application::SetPage(int value) { StoreSetting(kPage, value); }
int Application::Zoom() { return CachedSetting(kZoom); }
void Application::SetZoom(int value) { StoreSetting(kZoom, value); }

// The alarm's sound thread reads the path while the options may set it;
// the lock keeps each copy whole.
void Application::GetSoundPath(wchar_t* buffer, size_t count)
{
    EnterCriticalSection(&soundPathLock);
    bool cached = wcscmp(soundPath, kSoundNotSet) != 0;
    if (cached)
        CopyText(buffer, count, soundPath);
    LeaveCriticalSection(&soundPathLock);
    if (!cached)
        RegReadString(kSettingsKey, L"Snd", buffer, count);
}

void Application::SetSoundPath(const wchar_t* path)
{
    RegWriteString(kSettingsKey, L"Snd", path);
    EnterCriticalSection(&soundPathLock);
    CopyText(soundPath, MAX_PATH, path);
    LeaveCriticalSection(&soundPathLock);
}
