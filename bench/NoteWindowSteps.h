// Where the time of opening a note goes: the platform calls of the note
// window's creation (NoteWindow::Create with its title box, ink control,
// image buttons, expiry menu, NoteMenuBar::Create, the shell's sizing and
// the show), made in the same order on a bare window of the same kind, each
// step timed on its own. The calls are copied here rather than run through the program's
// classes, so that every step can be timed and the copy says plainly what
// the window asks of the platform.
#pragma once

#include "dialogs/TitleList.h"
#include "notes/NoteRecord.h"

#include <windows.h>
#include <commctrl.h>

namespace bench {

class NoteWindowSteps {
public:
    static const int kStepCount = 29;
    // The first step of the menu bar: SHCreateMenuBar's bar puts the send
    // watch on its thread, so a pass without the watch stops before it.
    static const int kFirstMenuBarStep = 15;
    static const char* StepName(int step);

    NoteWindowSteps() = default;
    ~NoteWindowSteps();
    NoteWindowSteps(const NoteWindowSteps&) = delete;
    NoteWindowSteps& operator=(const NoteWindowSteps&) = delete;

    // Makes the window for note step by step, each step's milliseconds into
    // times[step] (kStepCount of them; -1 for the steps not made), then
    // destroys it untimed. Without throughMenuBar it stops before the menu
    // bar. False when the window or the ink control could not be made.
    bool Run(const NoteRecord& note, bool throughMenuBar, double* times);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ImageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK InnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD CALLBACK StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* given);

    void MakeTitleBox();
    void FillTitleBox();
    bool MakeInk();
    void SetUpInk();
    void SubclassInk();
    void MakeImageButtons();
    void MakeExpiryMenu();
    void StreamNoteIn(const NoteRecord& note);
    void UpdateStatus(const NoteRecord& note);
    void LoadTooltips();
    bool MakeMenuBar();
    void CountMenuAndStrip();
    void AddToolBitmap();
    void AddToolButtons();
    void SetTooltips();
    void SetButtonStates();
    void Destroy();

    HINSTANCE instance = nullptr;
    HBRUSH classBrush = nullptr;
    HBRUSH inkBrush = nullptr;
    HWND window = nullptr;
    HWND titleBox = nullptr;
    HWND ink = nullptr;
    HWND inner = nullptr;
    WNDPROC innerProc = nullptr;
    HWND popupButton = nullptr;
    HWND clockButton = nullptr;
    HBITMAP popupBitmap = nullptr;
    HBITMAP clockBitmap = nullptr;
    HMENU expiryMenu = nullptr;
    HWND menuBar = nullptr;
    int menuButtonCount = 0;
    int stripImages = 0;
    bool writingMode = true;
    TBBUTTON tools[8] = {};
    const wchar_t* tooltips[64] = {};
    wchar_t statusText[256] = L"";
    TitleList titles;
    const BYTE* streamAt = nullptr;
    DWORD streamLeft = 0;
};

}  // namespace bench
