// The full-screen yellow window in which one note is written and read: the
// title box, the expiry status line with its two image buttons, the ink
// control, and a menu bar with the "Edit" menu and the tool buttons. What
// becomes of the note when the window closes is decided by a subclass,
// through OnClose.
#pragma once

#include "dialogs/TitleList.h"
#include "notes/NoteRecord.h"
#include "notewindow/AlarmSound.h"
#include "notewindow/ExpiryPicker.h"
#include "notewindow/ImageButton.h"
#include "notewindow/InkControl.h"
#include "notewindow/NoteMenuBar.h"
#include "notewindow/RecordButtonWatcher.h"

#include <windows.h>

// The tool buttons after the menu bar's "Edit" (image in strip 170,
// command), ended by an empty entry.
const int kNoteToolCount = 7;
extern const TBBUTTON kNoteToolButtons[kNoteToolCount + 1];

extern const wchar_t kNoteWindowClass[];   // "JotlingWndClass"
extern const wchar_t kNoteWindowTitle[];   // "KORVA Jotlings"

class NoteWindow {
public:
    NoteWindow();
    virtual ~NoteWindow();
    NoteWindow(const NoteWindow&) = delete;
    NoteWindow& operator=(const NoteWindow&) = delete;

    // Called once, after the window is gone; save asks the owner to store
    // the note.
    virtual void OnClose(bool save) = 0;
    // Done with something to keep: called with the note collected and the
    // window still there. False keeps the window open, so that a note that
    // could not be stored is not lost.
    virtual bool StoreNote() { return true; }

    // Builds and shows the window over owner for the note already loaded
    // into Note(). Null when the window cannot be made.
    HWND Create(HWND owner, bool storedNote, bool alarm);
    // Asks the window to save or discard and close (1124).
    void RequestClose();
    void BringToFront();
    void DestroyWindowParts();
    // Copies title, zoom, ink and the working expiry into the note; true
    // when the expiry changed.
    bool CollectNote();

    // A preset of the expiry menu (118, 111-117) becomes the working expiry.
    void ApplyExpiryChoice(int command);
    // Recomputes the status line and repaints it.
    void UpdateExpiryText();
    // A choice of an alarm's "Snooze" menu: the note is kept pending, due
    // that much from now, and the window closes.
    void Snooze(int command);

    // The alarm's sound, by the settings: the "Snd" file "SndCount" times
    // ("PlaySnd"), the note's first recording "SndCount" times ("PlayRec").
    void StartAlarmSound();
    // Cuts the recording's playback and returns once it has ended; the wave
    // file plays on. The first step of closing an alarm note.
    void StopAlarmSound();
    // Push-to-talk into this (new) window: every other recording stops, this
    // one starts, and it lasts while the hardware record button is held.
    void StartRecordButtonRecording();

    // Sends 1126 for path to every note window of the program; one showing
    // exactly that file closes without saving.
    static void CloseWindowsShowingFile(const wchar_t* path);
    // Stops the voice recording of every note window (1127).
    static void StopRecordingEverywhere();
    static int LiveWindowCount() { return liveWindows; }

    HWND Window() const { return window; }
    // True from the start of a close until OnClose has returned: the close
    // waits for the window's threads and serves sent messages meanwhile.
    bool Closing() const { return closeRequested != 0; }
    NoteRecord& Note() { return note; }
    const wchar_t* FilePath() const { return filePath; }
    void SetFilePath(const wchar_t* path);
    const wchar_t* StatusText() const { return statusText; }
    const RECT& StatusRect() const { return statusRect; }
    bool IsModified() const { return modified != 0; }
    bool InWritingMode() const { return writingMode != 0; }
    InkControl& Ink() { return ink; }
    NoteMenuBar& MenuBar() { return menuBar; }
    ExpiryPicker& Picker() { return picker; }

protected:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool RegisterWindowClass(HINSTANCE instance);
    void CountWindowOff();
    void CreateTitleBox(HINSTANCE instance);
    void CreateExpiryMenu();
    void CreateMenuBar(HINSTANCE instance);

    void OnCommand(WORD id, WORD code, HWND from);
    bool OnActivate(WORD state, bool minimized);
    void OnCloseRequest();
    void CloseRequest();
    void FinishWhatIsUnderWay();
    void EndMenus(int count);
    void OnDiscard();
    void OnFileClosing(const wchar_t* path);
    void OnPickerClosed();
    void OnPaint();
    void OnButtonDown(int x, int y);
    void OnKeyUp(WPARAM key);
    void OnSipChange();
    void ToggleWritingMode();
    bool TypingFocusLeavesInk() const;
    void ToggleGrid();
    void ZoomBy(bool in);
    void OnUndo();

    HWND owner = nullptr;
    HWND window = nullptr;
    HWND titleBox = nullptr;
    HMENU expiryMenu = nullptr;
    InkControl ink;
    // After the ink control: it goes first, so that its thread never plays
    // from a control that is gone.
    AlarmSound alarmSound;
    ImageButton popupButton;
    ImageButton clockButton;
    NoteMenuBar menuBar;
    TitleList titles;
    ExpiryPicker picker;
    wchar_t statusText[256];
    RECT statusRect = {6, 26, 234, 41};
    BYTE storedNote = 0;
    BYTE titleFocused = 0;
    BYTE modified = 0;
    BYTE writingMode = 0;
    BYTE pageShown = 0;
    BYTE reopenKeyboard = 0;
    DWORD keyboardState = 0;
    BYTE alarm = 0;
    BYTE closeRequested = 0;
    // The child that had the focus when the window last lost the front.
    HWND focusedChild = nullptr;
    // Menus of this window on screen (WM_ENTERMENULOOP not yet ended).
    int menusShowing = 0;
    RecordButtonWatcher recordWatcher;
    NoteRecord note;
    wchar_t filePath[MAX_PATH];

    // Shared by every note window: the class lives while one does.
    static int liveWindows;
    static HBRUSH classBrush;
};
