// The all-notes window's find box: a one-line edit above the list, beside
// it how many notes it finds, and a button that closes it. The bar holds
// no find state of its own: the window reads what is typed and tells the
// bar the count. Its controls report to the window as a dialog's do, by
// WM_COMMAND with their ids: the edit's EN_CHANGE, EN_SETFOCUS and
// EN_KILLFOCUS, kFindNotifyToList when Enter or Down asks for the list, and
// the close button's BN_CLICKED, which Esc in the edit sends as well.
#pragma once

#include <windows.h>

#include <string>

// The height the bar takes above the list: one line of the list's text.
const int kFindBarHeight = 18;
// WM_COMMAND code from the edit: the user moves on to the list.
const WORD kFindNotifyToList = 0x7001;

class FindBar {
public:
    FindBar() = default;
    ~FindBar();
    FindBar(const FindBar&) = delete;
    FindBar& operator=(const FindBar&) = delete;

    // The bar goes in parent's client area at (left, top) across width;
    // its controls follow the child after among parent's children. They
    // are made hidden the first time the bar opens.
    void Create(HWND parent, HWND after, int left, int top, int width);
    void Destroy();

    // Shows the bar with the caret in the edit; once open, it selects what
    // was typed.
    void Open();
    // Hides the bar and empties the edit.
    void Close();
    bool IsOpen() const { return open; }

    std::wstring Text() const;
    // "3 of 412"; with nothing typed, "412 notes".
    void ShowCount(int found, int total, bool typed);
    // The close button is drawn by the bar: the window passes its
    // WM_DRAWITEM on. True when it was the bar's.
    bool Draw(const DRAWITEMSTRUCT* item);
    bool Owns(HWND control) const { return control != nullptr && (control == edit || control == closeButton); }

    HWND Edit() const { return edit; }
    HWND Count() const { return count; }
    HWND CloseButton() const { return closeButton; }

private:
    static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnEditKey(WPARAM key);
    bool MakeControls();
    void DestroyControls();

    HWND parent = nullptr;
    HWND previousSibling = nullptr;
    int barLeft = 0;
    int barTop = 0;
    int barWidth = 0;
    HWND edit = nullptr;
    HWND count = nullptr;
    HWND closeButton = nullptr;
    WNDPROC editProc = nullptr;
    bool open = false;
};
