// The pop-up in which the user sets a note's expiry to an exact date and
// time: a time field over a month calendar. It also holds the note window's
// working expiry, which it shows when it opens and overwrites when it closes.
// Each closing posts kMsgPickerClosed (1524) to the owner, which then reads
// Changed() and WorkingExpiry().
#pragma once

#include <windows.h>

class ExpiryPicker {
public:
    ExpiryPicker();
    virtual ~ExpiryPicker();
    ExpiryPicker(const ExpiryPicker&) = delete;
    ExpiryPicker& operator=(const ExpiryPicker&) = delete;

    // Opens the pop-up at (78, 70), 163 x 189, over owner; anchor is the
    // clock button. False when the pop-up cannot be created.
    bool ShowPicker(HWND owner, HWND anchor);
    // Destroys the pop-up and forgets its windows; nothing else.
    void ClosePicker();
    // The note closes while the pop-up is up (an alarm, the record button):
    // the choice shown is taken as ok would take it, then the pop-up goes.
    // A pop-up the user never changed gives no choice: its time is only the
    // one it opened with (now, for a note that never expires). True when
    // the working expiry changed since the opening.
    bool CloseTakingChoice();

    bool IsOpen() const { return popup != nullptr; }
    HWND Window() const { return popup; }
    bool Changed() const { return changed != 0; }
    SYSTEMTIME& WorkingExpiry() { return workingExpiry; }
    const SYSTEMTIME& WorkingExpiry() const { return workingExpiry; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnActivate(WPARAM wParam);
    void OnNotify(const NMHDR* header);
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnDestroyed();
    bool CreateControls(HINSTANCE instance);
    void ReadChoice();
    void DiscardPendingStylus(HWND window);

    HWND owner = nullptr;
    HWND popup = nullptr;
    HWND timeField = nullptr;
    HWND calendar = nullptr;
    HWND anchor = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
    BYTE closing = 0;
    SYSTEMTIME workingExpiry = {};
    BYTE changed = 0;
    // The user changed the time field or the calendar since the opening.
    BYTE touched = 0;
};
