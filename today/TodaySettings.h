// The four settings of the Today item ("TodayCount", "TodayFontSize",
// "TodayExpired", "TodayShowToday") and its options dialog (resource 500),
// which the Today screen runs with export ordinal 241.
#pragma once

#include <windows.h>

class TodaySettings {
public:
    TodaySettings() = default;
    virtual ~TodaySettings() = default;

    // From the registry, with 5, 9, 0 and 0 for missing values.
    void Read();
    void Write() const;

    // The count and the font size as the item uses them: any program can
    // write the registry, and a value beyond what the options offer (1 to
    // 10 notes, 8 to 12 pixels) is taken as the nearest one offered.
    LONG ShownCount() const;
    LONG FontSize() const;

    // The dialog procedure's work; every message answers 0.
    BOOL DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    // Single 32-bit fields: the dialog stores them on the host's thread while
    // a refresh may read them on another.
    volatile LONG count = 5;
    volatile LONG fontSize = 9;
    volatile LONG expired = 0;
    volatile LONG showToday = 0;

private:
    void OnInitDialog(HWND dialog);
    void OnDone(HWND dialog);
    void OnCancel(HWND dialog);

    HWND countList_ = nullptr;
    HWND fontList_ = nullptr;
    HWND expiredBox_ = nullptr;
    HWND todayBox_ = nullptr;
};

extern TodaySettings g_todaySettings;
