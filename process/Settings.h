// Where the settings live, what the first run writes, and the lookups that
// read the platform's registry (the Today item entry, the record button).
#pragma once

#include "shared/SharedNames.h"

#include <windows.h>

#include <stddef.h>

extern const wchar_t kTodayItemKeyFirstRun[]; // the same key, as the first run names it
extern const wchar_t kButtonTableKey[];       // "SOFTWARE\Microsoft\Shell\Keys"

// Virtual-key codes of the hardware record button, by its name in the
// platform's button table.
const int kKeySideButton5 = 0xC1;
const int kKeyButton5 = 0xC5;
const int kKeyRecord = 0xCF;

// Writes the default settings when the settings key is missing, and enters
// the Today item in the Today screen's list when its key is missing.
// modulePath is the program's own file (GetModuleFileNameW by default).
void FirstRunSetup(const wchar_t* notesFolder, const wchar_t* modulePath = nullptr);

// The Today item library beside the program: a path ending in
// "Jotlings.exe" ends in "KJotlings.dll" instead; any other stays as it is.
void TodayLibraryPath(const wchar_t* modulePath, wchar_t* out, size_t count);

// True when the Today item's "Enabled" value is exactly 1.
bool IsTodayItemEnabled();

// The record button's key code from the platform's button table; 197 when
// no button matches, 0 when the table cannot be opened.
int FindRecordButtonKey();
