// The About box: dialog 158 with the program's name, version and picture.
// One object for the whole run; its dialog handle is set while it is open.
#pragma once

#include <windows.h>

class AboutBox {
public:
    AboutBox();
    virtual ~AboutBox();

    // Runs the dialog modally over owner; returns when the user taps Done.
    void Run(HWND owner);
    // Brings the open dialog forward (the all-notes window does this instead
    // of showing itself while the box is open).
    void BringToFront();
    HWND Dialog() const { return dialog; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnDestroy();

    HWND dialog = nullptr;
    HWND owner = nullptr;
    // The product name's larger type, made for the open dialog.
    HFONT nameFont = nullptr;
};

// The process-wide About box, made by the entry routine.
extern AboutBox* g_aboutBox;
