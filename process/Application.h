// The program's process-wide object: the notes folder, the change event
// that tells the Today item to refresh, the instance, and the settings.
#pragma once

#include "shared/SharedNames.h"

#include <windows.h>

#include <stddef.h>

class Application {
public:
    // documentsFolder replaces the user's documents folder and the
    // application data folder (tests).
    explicit Application(const wchar_t* documentsFolder = nullptr);
    virtual ~Application();

    const wchar_t* NotesFolder() const { return notesFolder; }
    const wchar_t* NoteExtension() const { return noteExtension; }
    // Where the store keeps the heads it read (notes/HeadCacheFile.h): in
    // the application data folder, away from the notes and their exports.
    const wchar_t* HeadCachePath() const { return headCachePath; }
    // Tells the Today item that notes or options changed.
    void SignalChange();
    HANDLE ChangeEvent() const { return changeEvent; }

    HINSTANCE Instance() const { return instance; }
    void SetInstance(HINSTANCE value) { instance = value; }

    // The hardware record button's key code; 0 while the platform has no
    // button table (asked again at the next call).
    int RecordButtonKey();

    // Settings: each getter reads the registry once, then its cache.
    int FontSize();
    void SetFontSize(int value);
    int MenuCount();
    void SetMenuCount(int value);
    bool Notify();
    void SetNotify(bool value);
    bool TurnOn();
    void SetTurnOn(bool value);
    bool DontPlay();
    void SetDontPlay(bool value);
    bool PlayRec();
    void SetPlayRec(bool value);
    bool PlaySnd();
    void SetPlaySnd(bool value);
    int SndCount();
    void SetSndCount(int value);
    bool RecBtn();
    void SetRecBtn(int value);
    bool AutoDel();
    void SetAutoDel(int value);
    int Mode();
    void SetMode(int value);
    int Page();
    void SetPage(int value);
    int Zoom();
    void SetZoom(int value);
    // Copies the alarm's sound file path into buffer (count characters).
    void GetSoundPath(wchar_t* buffer, size_t count);
    void SetSoundPath(const wchar_t* path);

private:
    enum Setting {
        kFontSize, kMenuCount, kNotify, kTurnOn, kDontPlay, kPlayRec, kPlaySnd,
        kSndCount, kRecBtn, kAutoDel, kMode, kPage, kZoom, kSettingCount
    };
    int CachedSetting(Setting setting);
    void StoreSetting(Setting setting, int value);

    HANDLE changeEvent = nullptr;
    // Every slot starts as -1, "not loaded yet".
    volatile LONG settings[kSettingCount];
    wchar_t soundPath[MAX_PATH];
    CRITICAL_SECTION soundPathLock;
    wchar_t notesFolder[MAX_PATH];
    wchar_t noteExtension[6];
    wchar_t headCachePath[MAX_PATH];
    volatile LONG recordButtonKey = 0;
    HINSTANCE instance = nullptr;
};

// The process-wide objects, made by the entry routine.
extern Application* g_application;

// The instance every window and resource of the program uses: the
// Application's, or this module's while there is none yet.
HINSTANCE ProgramInstance();
