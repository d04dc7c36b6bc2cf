// The options window: a full-screen frame holding a property sheet with the
// pages "General", "Jotling" and "Sound". It edits the values it holds and
// tells its parent when the user accepted them; loading them from the
// settings and storing them back is the parent's business (OptionSettings.h).
#pragma once

#include <windows.h>
#include <commdlg.h>

// Posted to the parent (wParam 0, lParam 0) when the user accepted the
// pages; the values are read by then.
const UINT kMsgOptionsAccepted = WM_USER + 400;

// The settings the pages edit, with the settings' meanings.
struct OptionValues {
    int menuCount = 0;        // no page shows it; carried through unchanged
    int fontSize = 0;         // 8 to 12
    bool turnOn = false;
    bool notify = false;
    bool dontPlay = false;
    bool playRecording = false;
    bool playFile = false;
    wchar_t soundFile[MAX_PATH] = L"";
    int repetitions = 0;      // 1 to 100
    bool recordButton = false;
    bool autoDelete = false;
    int mode = 0;             // index in "Writing", "Typing"
    int pageStyle = 0;        // index in the page styles
    int zoom = 0;             // index in the zoom steps
};

class OptionsWindow {
public:
    OptionsWindow();
    virtual ~OptionsWindow();
    OptionsWindow(const OptionsWindow&) = delete;
    OptionsWindow& operator=(const OptionsWindow&) = delete;

    // Opens the window over parent and runs the pages until the user
    // accepts or cancels them; then the window is gone again. Called while
    // the pages are open, it brings them to the front instead.
    void Open(HWND parent);
    // Accepts the open pages (as their ok does); without pages, closes the
    // frame.
    void Close();
    void BringToFront();

    bool IsOpen() const { return window != nullptr; }
    HWND Window() const { return window; }
    // The property sheet while it runs, else null.
    HWND Sheet() const { return sheet; }

    OptionValues& Values() { return values; }
    const OptionValues& Values() const { return values; }

    // "Browse" asks for a file through this; tests point it elsewhere.
    // Null puts GetOpenFileNameW back.
    typedef BOOL(WINAPI* OpenFileFunction)(OPENFILENAMEW* request);
    static void SetOpenFileFunction(OpenFileFunction function);

private:
    enum Control {
        kFontList, kNotifyBox, kTurnOnBox, kRecordButtonBox, kAutoDeleteBox,
        kModeList, kPageStyleList, kZoomList,
        kPlayRecordingRadio, kPlayFileRadio, kSoundFileBox, kBrowseButton,
        kRepeatLabel, kRepeatBox, kRepeatSpin, kDontPlayRadio,
        kControlCount
    };

    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnFramePaint();

    static int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM lParam);
    void ArrangeSheet(HWND sheetWindow);
    void MakeEveryPage();
    void RunSheet();
    void DestroyFrame();

    static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnPageNotify(HWND page, const NMHDR& header);
    void OnPageCommand(HWND page, int id, int code);
    void InitPage(HWND page);
    void FindControls(HWND page);
    void ShowValues();
    void EnableFileControls(bool on);
    void EnableRepeatControls(bool on);
    void BrowseForSound(HWND page);
    void KeepRepetitionsInRange();
    void ReadControls();

    bool IsChecked(Control control) const;
    void SetChecked(Control control, bool checked);
    void Enable(Control control, bool on);
    int ListSelection(Control control, int unchanged) const;

    HWND window = nullptr;
    HWND parent = nullptr;
    HWND sheet = nullptr;
    HWND controls[kControlCount] = {};
    // Set once the accepted pages were read, so that the PSN_APPLY every
    // page gets reads them only once.
    bool accepted = false;
    OptionValues values;
};
