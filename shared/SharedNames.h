// The names the program and its Today item meet by: the registry keys, the
// change event and the main window's class and title. One definition, in the
// small library that Jotlings.exe and KJotlings.dll both link.
#pragma once

extern const wchar_t kSettingsKey[];       // "SOFTWARE\KORVA\Jotlings"
extern const wchar_t kTodayItemKey[];      // "SOFTWARE\Microsoft\Today\Items\KORVA Jotlings"
extern const wchar_t kChangeEventName[];   // "KORVA Jotlings Event"
// The program loads these from its string table (entries 3 and 1); the Today
// item, which has no such table, names them here.
extern const wchar_t kMainWindowClass[];   // "JOTLINGS"
extern const wchar_t kMainWindowTitle[];   // "KORVA Jotlings"
