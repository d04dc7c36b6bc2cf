// A window's shell menu bar, built from a menu-bar resource, with tool
// buttons appended from a strip of 16 x 16 images, each with the tooltip
// whose string id is its command.
#pragma once

#include <windows.h>
#include <commctrl.h>

class NoteMenuBar {
public:
    NoteMenuBar();
    virtual ~NoteMenuBar();
    NoteMenuBar(const NoteMenuBar&) = delete;
    NoteMenuBar& operator=(const NoteMenuBar&) = delete;

    // descriptions: buttonCount tool buttons (a list that may also end with
    // a command 0 entry); copied. False, with a line in the trace log, when
    // the shell makes no menu bar.
    bool Create(const TBBUTTON* descriptions, int menuBarId, int bitmapId, int buttonCount, HWND parent,
                HINSTANCE instance);
    // Places window over the parent's client area down to the menu bar.
    void FitWindow(HWND window);
    // Enables or disables a tool button; the toolbar hears of it only when
    // its state changes.
    void Enable(int command, bool on);
    void SetState(int command, BYTE state);
    void Destroy();

    HWND Window() const { return menuBar; }

private:
    const TBBUTTON* FindTool(int command) const;
    void LoadTooltips();
    int CountMenuButtons(int menuBarId) const;
    int StripImageCount(int bitmapId) const;
    void SetTooltips();

    HINSTANCE instance = nullptr;
    TBBUTTON* descriptions = nullptr;
    const wchar_t** tooltips = nullptr;
    size_t tooltipBytes = 0;
    HWND parent = nullptr;
    int toolCount = 0;
    int menuButtonCount = 0;
    HWND menuBar = nullptr;
};
