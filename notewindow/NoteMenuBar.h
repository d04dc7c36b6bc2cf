// A window's shell menu bar, built from a menu-bar resource, with tool
// buttons appended from a strip of 16 x 16 images, each with the tooltip
// whose string id is its command.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

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
    // Enables or disables a tool button; the toolbar hears of it only when
    // its state changes.
    void Enable(int command, bool on);
    void SetState(int command, BYTE state);
    void Destroy();

    HWND Window() const { return menuBar; }

private:
    const TBBUTTON* FindTool(int command) const;
    int ToolCount() const { return static_cast<int>(descriptions.size()); }
    void LoadTooltips();
    bool HasTooltips() const;
    int CountMenuButtons(int menuBarId) const;
    int StripImageCount(int bitmapId) const;
    void SetTooltips();

    HINSTANCE instance = nullptr;
    std::vector<TBBUTTON> descriptions;
    // One per tool button, empty where it has none. The handheld's bar keeps
    // the pointers it is given rather than copies, so the texts and the
    // array handed over live as long as the bar.
    std::vector<std::wstring> tooltipTexts;
    std::vector<const wchar_t*> tooltips;
    HWND parent = nullptr;
    int menuButtonCount = 0;
    HWND menuBar = nullptr;
};
