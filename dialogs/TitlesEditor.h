// The titles editor: dialog 179, a full-screen modal dialog in which the
// user adds, deletes, reorders and clears the ready-made titles. It ends
// only through Done, which always saves.
#pragma once

#include <windows.h>

class TitlesEditor {
public:
    TitlesEditor();
    virtual ~TitlesEditor();

    void Run(HWND owner);
    void BringToFront();
    HWND Dialog() const { return dialog; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // The handlers are private members of the implementation.

    HWND dialog = nullptr;
    HWND owner = nullptr;
    HWND list = nullptr;
    HWND edit = nullptr;
    HWND moveUp = nullptr;
    HWND moveDown = nullptr;
    HWND deleteOne = nullptr;
    HWND add = nullptr;
    HWND deleteAll = nullptr;
};
