// What the dialog tests share: a clean settings key, the stored titles, and
// running a modal dialog with a script that acts inside its message loop.
#pragma once

#include "app/Settings.h"
#include "dialogs/TitleList.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

inline void RemoveSettingsKey()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSettingsKey);
}

inline std::vector<std::wstring> StoredTitles()
{
    TitleList titles;
    std::vector<std::wstring> out;
    for (int i = 0; i < titles.Count(); ++i) {
        wchar_t text[260] = L"";
        titles.GetAt(i, text, 260);
        out.push_back(text);
    }
    return out;
}

inline void StoreTitles(const std::vector<std::wstring>& texts)
{
    TitleList titles;
    titles.Clear();
    for (const std::wstring& text : texts)
        titles.Append(text.c_str());
    titles.Save();
}

// Runs `run` (which shows a modal dialog) and calls `script` from inside the
// dialog's message loop, with the dialog that `dialogOf` then names. A
// dialog the script leaves open is closed with Done (IDOK).
inline void WithModalDialog(const std::function<void()>& run, const std::function<HWND()>& dialogOf,
                            const std::function<void(HWND)>& script)
{
    static const std::function<HWND()>* currentDialogOf;
    static const std::function<void(HWND)>* currentScript;
    currentDialogOf = &dialogOf;
    currentScript = &script;
    SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        HWND dialog = (*currentDialogOf)();
        (*currentScript)(dialog);
        if (dialog != nullptr && IsWindow(dialog))
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    run();
}

// Programs that ShowHelp would have started: program and command line.
struct StartedProgram {
    std::wstring program;
    std::wstring commandLine;
};

inline std::vector<StartedProgram>& StartedPrograms()
{
    static std::vector<StartedProgram> started;
    return started;
}

inline BOOL RecordStart(const wchar_t* program, wchar_t* commandLine)
{
    StartedPrograms().push_back({program, commandLine});
    return TRUE;
}

// Hands every message waiting for this thread to its window.
inline void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
