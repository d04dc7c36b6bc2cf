// Shared by the dialog tests: a clean settings key, the stored titles, a
// recorder for started programs, and a modal dialog driven from inside its
// own message loop.
#pragma once

#include "dialogs/TitleList.h"
#include "process/Settings.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using Titles = std::vector<std::wstring>;

inline void RemoveSettingsKey()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSettingsKey);
}

inline Titles StoredTitles()
{
    TitleList titles;
    Titles out(titles.Count());
    for (int i = 0; i < titles.Count(); ++i) {
        wchar_t text[260] = L"";
        titles.GetAt(i, text, 260);
        out[i] = text;
    }
    return out;
}

inline void StoreTitles(const Titles& texts)
{
    TitleList titles;
    titles.Clear();
    for (const std::wstring& text : texts)
        titles.Append(text.c_str());
    titles.Save();
}

// Command lines ShowHelp would have started PegHelp.exe with.
inline std::vector<std::wstring>& HelpCommandLines()
{
    static std::vector<std::wstring> lines;
    return lines;
}

inline BOOL RecordStart(const wchar_t* program, wchar_t* commandLine)
{
    HelpCommandLines().push_back(std::wstring(program) + L" " + commandLine);
    return TRUE;
}

// Runs `run`, which shows a modal dialog, and calls `script` inside that
// dialog's message loop with the dialog `dialogOf` names. A dialog the script
// leaves open is closed with Done (IDOK).
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
