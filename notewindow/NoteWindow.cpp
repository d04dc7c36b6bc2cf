#include "notewindow/NoteWindow.h"

#include "dialogs/Help.h"
#include "notes/ExpiryRules.h"
#include "notewindow/InkControlMessages.h"
#include "notewindow/NoteWindowMessages.h"
#include "notewindow/NoteYellow.h"
#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/RegisterClassOnce.h"
#include "platform/common/Text.h"
#include "process/Application.h"
#include "process/UserPrompt.h"
#include "resources/resource.h"

#include <aygshell.h>
#include <stdlib.h>
#include <wchar.h>
#include <windowsx.h>

#include <vector>

const wchar_t kNoteWindowClass[] = L"JotlingWndClass";
const wchar_t kNoteWindowTitle[] = L"KORVA Jotlings";

int NoteWindow::liveWindows = 0;
HBRUSH NoteWindow::classBrush = nullptr;

namespace {

const DWORD kNoteWindowStyle = WS_POPUP | WS_CAPTION;
// The handheld's title box also has bit 0x8, which no header names and
// neither system's combo box reads; it is kept so the style is the same.
const DWORD kUnnamedComboBit = 0x0008;
// 0x5020020A on the handheld. The title box keeps its text scrolling
// sideways, so that a title longer than the box can still be typed whole.
const DWORD kTitleBoxStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_HASSTRINGS | CBS_DROPDOWN | kUnnamedComboBit | CBS_AUTOHSCROLL;
const int kTitleTextLength = 260;

// Keyboard states: why the input panel is up.
const DWORD kKeyboardIdle = 0;
const DWORD kKeyboardForTitle = 1;
const DWORD kKeyboardForTyping = 2;
const DWORD kKeyboardByItself = 3;

const BYTE kButtonPressed = TBSTATE_ENABLED | TBSTATE_PRESSED;   // 6
const BYTE kButtonReleased = TBSTATE_ENABLED;                    // 4
const int kPageGrid = 1;
const int kZoomIndexSmallest = 0;
const int kZoomIndexLargest = 6;

const int kInkTop = 44;
const int kInkWidth = 242;
const int kInkHeight = 226;

const int kExpiryChoices[] = {kCmdExpiryNever,  kCmdExpiry10Minutes, kCmdExpiry15Minutes, kCmdExpiry30Minutes,
                              kCmdExpiry1Hour,  kCmdExpiry2Hours,    kCmdExpiryTomorrow,  kCmdExpiryNextWeek};
const wchar_t* const kExpiryChoiceTexts[] = {L"Never expire", L"10 minutes", L"15 minutes", L"30 minutes",
                                             L"1 hour",       L"2 hours",    L"Tomorrow",   L"Next week"};

// The path handed to CloseWindowsShowingFile's windows while it sends:
// 1126 carries a pointer and is believed only for this one.
const wchar_t* g_closingPath = nullptr;

bool IsNoteWindow(HWND candidate)
{
    wchar_t title[MAX_PATH], className[MAX_PATH];
    return GetWindowTextW(candidate, title, MAX_PATH) > 0 && wcscmp(title, kNoteWindowTitle) == 0 &&
           GetClassNameW(candidate, className, MAX_PATH) > 0 && wcscmp(className, kNoteWindowClass) == 0;
}

// Every note window on the device is sent message. The server finds them by
// class and title: asking each top-level window of every program for both
// from here cost a round trip to the server a window, a millisecond of
// every open. All are found before the first is sent to, since a window
// sent to may go.
void SendToNoteWindows(UINT message)
{
    std::vector<HWND> found;
    for (HWND window = FindWindowExW(nullptr, nullptr, kNoteWindowClass, kNoteWindowTitle); window != nullptr;
         window = FindWindowExW(nullptr, window, kNoteWindowClass, kNoteWindowTitle)) {
        // The server compares without regard to case.
        if (IsNoteWindow(window))
            found.push_back(window);
    }
    for (HWND window : found)
        SendMessageW(window, message, 0, reinterpret_cast<LPARAM>(g_closingPath));
}

// Expiries are equal when both never expire, or both are the same time.
bool SameExpiry(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    if (NeverExpires(a) || NeverExpires(b))
        return NeverExpires(a) && NeverExpires(b);
    return CompareTimes(a, b) == 0;
}

bool SipIsUp()
{
    SIPINFO info = {};
    info.cbSize = sizeof(info);
    return SHSipInfo(SPI_GETSIPINFO, 0, &info, 0) && (info.fdwFlags & SIPF_ON) != 0;
}

}  // namespace

// Image in strip 170, command; the empty entry ends the table.
const TBBUTTON kNoteToolButtons[kNoteToolCount + 1] = {
    {3, IDM_NOTE_ZOOM_OUT, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
    {4, IDM_NOTE_ZOOM_IN, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
    {6, IDM_NOTE_UNDO, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
    {0, -1, 0, BTNS_SEP, {0}, 0, 0},
    {5, IDM_NOTE_RECORD, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
    {8, IDM_NOTE_PEN_MODE, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
    {10, IDM_NOTE_GRID, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
    {0, 0, 0, 0, {0}, 0, 0},
};

NoteWindow::NoteWindow()
{
    statusText[0] = L'\0';
    filePath[0] = L'\0';
}

NoteWindow::~NoteWindow()
{
    if (window != nullptr)
        DestroyWindowParts();
    note.ClearData();
}

void NoteWindow::SetFilePath(const wchar_t* path)
{
    CopyText(filePath, MAX_PATH, path != nullptr ? path : L"");
}

bool NoteWindow::RegisterWindowClass(HINSTANCE instance)
{
    if (liveWindows == 0) {
        // When the last window could not unregister the class, the class
        // still paints with this brush: keep it rather than make another.
        if (classBrush == nullptr)
            classBrush = CreateSolidBrush(kNoteYellow);
        WNDCLASSW windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hbrBackground = classBrush;
        windowClass.lpszClassName = kNoteWindowClass;
        if (!RegisterClassOnce(windowClass)) {
            DeleteObject(classBrush);
            classBrush = nullptr;
            return false;
        }
    }
    ++liveWindows;
    return true;
}

void NoteWindow::CountWindowOff()
{
    if (liveWindows <= 0)
        return;
    if (--liveWindows == 0 && UnregisterClassW(kNoteWindowClass, ProgramInstance())) {
        DeleteObject(classBrush);
        classBrush = nullptr;
    }
}

HWND NoteWindow::Create(HWND ownerWindow, bool stored, bool alarmWindow)
{
    HINSTANCE instance = ProgramInstance();
    owner = ownerWindow;
    storedNote = stored ? 1 : 0;
    alarm = alarmWindow ? 1 : 0;
    if (!RegisterWindowClass(instance))
        return nullptr;
    OwnThreadSend::Watch();
    if (CreateWindowExW(0, kNoteWindowClass, kNoteWindowTitle, kNoteWindowStyle, 0, 0, 240, 320, owner, nullptr,
                        instance, this) == nullptr) {
        // Counted off again: a window that never existed must not keep the
        // class (and a stale brush) for the next one.
        window = nullptr;
        CountWindowOff();
        return nullptr;
    }

    CreateTitleBox(instance);
    ink.Create(window, IDC_NOTE_INK, -1, kInkTop, kInkWidth, kInkHeight, true);
    popupButton.Create(window, instance, IDB_POPUP_BUTTON, L"PopupBtnClass", IDC_NOTE_POPUP, 201, 6, 16, 16);
    clockButton.Create(window, instance, IDB_CLOCK_BUTTON, L"ClockBtnClass", IDC_NOTE_CLOCK, 220, 6, 16, 16);
    CreateExpiryMenu();
    modified = 0;

    if (storedNote) {
        // After the title list's first entry was selected into the box. The
        // handheld posts this; a desktop system refuses to post a pointer
        // below WM_USER, and the selection is done by now anyway.
        SetWindowTextW(titleBox, note.title);
        ink.SetInkData(note.data, note.dataLength);
        ink.SetZoom(int(note.zoom));
        picker.WorkingExpiry() = note.expiry;
    } else {
        ink.SetZoomIndex(g_application->Zoom());
        picker.WorkingExpiry().wHour = kNeverExpiresHour;
    }
    UpdateExpiryText();

    writingMode = g_application->Mode() == 0 ? 1 : 0;
    ink.SetInputMode(writingMode ? 0 : 1);
    CreateMenuBar(instance);

    // The shell sizes the window to the screen above its menu bar and takes
    // the caption off while it is still hidden, so that it shows once, at
    // its place: each change to a shown window is repainted and costs a
    // round of the display's traffic.
    SHINITDLGINFO init = {SHIDIM_FLAGS, window, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
    SHInitDialog(&init);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    SHFullScreen(window, SHFS_SHOWSIPBUTTON);

    keyboardState = kKeyboardIdle;
    reopenKeyboard = writingMode ? 0 : 1;
    if (!writingMode)
        SetFocus(ink.Window());
    return window;
}

void NoteWindow::CreateTitleBox(HINSTANCE instance)
{
    titleBox = CreateWindowExW(0, L"COMBOBOX", L"", kTitleBoxStyle, 5, 4, 192, 185, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_NOTE_TITLE)), instance, nullptr);
    SendMessageW(titleBox, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    titles.Load();
    SendMessageW(titleBox, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < titles.Count(); ++i) {
        wchar_t title[kTitleTextLength];
        titles.GetAt(i, title, kTitleTextLength);
        SendMessageW(titleBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
    }
    if (titles.Count() > 0)
        SendMessageW(titleBox, CB_SETCURSEL, 0, 0);
}

void NoteWindow::CreateExpiryMenu()
{
    expiryMenu = CreatePopupMenu();
    for (size_t i = 0; i < sizeof(kExpiryChoices) / sizeof(kExpiryChoices[0]); ++i)
        InsertMenuW(expiryMenu, UINT(-1), MF_BYPOSITION | MF_STRING, kExpiryChoices[i], kExpiryChoiceTexts[i]);
}

void NoteWindow::CreateMenuBar(HINSTANCE instance)
{
    menuBar.Create(kNoteToolButtons, alarm ? IDR_ALARM_MENUBAR : IDR_NOTE_MENUBAR, IDB_NOTE_TOOLS, kNoteToolCount,
                   window, instance);
    menuBar.Enable(IDM_NOTE_UNDO, false);
    menuBar.SetState(IDM_NOTE_PEN_MODE, writingMode ? kButtonPressed : kButtonReleased);
    int page = g_application->Page();
    if (page != 0) {
        pageShown = 1;
        menuBar.SetState(IDM_NOTE_GRID, kButtonPressed);
        ink.SetPageStyle(true, page);
    } else {
        menuBar.SetState(IDM_NOTE_GRID, kButtonReleased);
    }
    // The setting's zoom decides these, also for a stored note with its own.
    int zoom = g_application->Zoom();
    if (zoom == kZoomIndexSmallest)
        menuBar.Enable(IDM_NOTE_ZOOM_OUT, false);
    if (zoom == kZoomIndexLargest)
        menuBar.Enable(IDM_NOTE_ZOOM_IN, false);
}

void NoteWindow::RequestClose()
{
    if (window != nullptr)
        SendMessageW(window, kMsgNoteCloseRequest, 0, 0);
}

void NoteWindow::BringToFront()
{
    SetForegroundWindow(window);
    SHFullScreen(window, SHFS_HIDETASKBAR);
    SHFullScreen(window, SHFS_SHOWSIPBUTTON);
}

void NoteWindow::EndMenus(int count)
{
    for (; count > 0 && menusShowing > 0; --count) {
        --menusShowing;
        EndMenuShowing();
    }
}

void NoteWindow::DestroyWindowParts()
{
    // A menu whose end this window will not hear holds no request up.
    EndMenus(menusShowing);
    if (window != nullptr) {
        picker.ClosePicker();
        popupButton.Destroy();
        clockButton.Destroy();
        ink.Destroy();
        // The focus comes back to the window first, so that a title box that
        // had it hears CBN_KILLFOCUS while its parent still answers, and the
        // input panel goes down.
        SetFocus(window);
        HWND closing = window;
        DestroyWindow(closing);
        menuBar.Destroy();
        DestroyMenu(expiryMenu);
        window = nullptr;
        titleBox = nullptr;
        expiryMenu = nullptr;
        CountWindowOff();
    }
    recordWatcher.Stop();
}

void NoteWindow::StartAlarmSound()
{
    int count = g_application->SndCount();
    AlarmSound::StopFiles();
    // An alarm always sounds unless the user chose "Don't play": a note
    // without a recording to play gets the alarm's file instead of silence.
    bool playRecording = g_application->PlayRec() && alarmSound.PlayRecording(ink, count);
    bool playFile = g_application->PlaySnd() ||
                    (g_application->PlayRec() && !playRecording && !g_application->DontPlay());
    if (playFile) {
        // Read here and handed over as a copy: the thread outlives this
        // window when the file is longer than the reading of the note.
        wchar_t path[MAX_PATH] = L"";
        g_application->GetSoundPath(path, MAX_PATH);
        AlarmSound::PlayFile(path, count);
    }
}

void NoteWindow::StopAlarmSound()
{
    alarmSound.StopRecording();
}

void NoteWindow::StartRecordButtonRecording()
{
    if (window == nullptr)
        return;
    StopRecordingEverywhere();
    SendMessageW(window, kMsgNoteRecordButton, 0, 0);
    ink.StartVoiceRecording();
    // The note was opened to hold this recording: it is kept whenever the
    // window closes, also before the button is let go.
    modified = 1;
    recordWatcher.Start(StopRecordingEverywhere);
}

bool NoteWindow::CollectNote()
{
    wchar_t title[kTitleLength];
    title[0] = L'\0';
    SendMessageW(titleBox, WM_GETTEXT, kTitleLength, reinterpret_cast<LPARAM>(title));
    CopyText(note.title, kTitleLength, title[0] != L'\0' ? title : kNoTitle);

    note.zoom = DWORD(ink.GetZoom());
    BYTE* data = nullptr;
    DWORD size = 0;
    // The note keeps the ink it has unless the control hands over new.
    if (ink.GetInkData(&data, &size)) {
        note.ClearData();
        note.TakeData(data, size);
    }

    titles.Load();
    titles.MoveToFront(note.title);
    titles.Save();

    const SYSTEMTIME& working = picker.WorkingExpiry();
    if (SameExpiry(working, note.expiry))
        return false;
    note.expiry = working;
    return true;
}

void NoteWindow::ApplyExpiryChoice(int command)
{
    if (!ApplyExpiryChoiceTo(command, &picker.WorkingExpiry()))
        return;
    note.expired = 0;
    modified = 1;
    UpdateExpiryText();
}

// The alarm comes again later: the note is kept pending at the new time,
// as ok keeps a note whose time the user moved on.
void NoteWindow::Snooze(int command)
{
    if (!alarm || !SnoozeTo(command, &picker.WorkingExpiry()))
        return;
    note.expired = 0;
    modified = 1;
    UpdateExpiryText();
    PostMessageW(window, kMsgNoteCloseRequest, 0, 0);
}

void NoteWindow::UpdateExpiryText()
{
    ExpiryStatusText(picker.WorkingExpiry(), storedNote != 0, note.expired != 0, statusText, 256);
    if (window == nullptr)
        return;
    InvalidateRect(window, &statusRect, TRUE);
    UpdateWindow(window);
}

void NoteWindow::CloseWindowsShowingFile(const wchar_t* path)
{
    const wchar_t* previous = g_closingPath;
    g_closingPath = path;
    SendToNoteWindows(kMsgNoteFileClosing);
    g_closingPath = previous;
}

void NoteWindow::StopRecordingEverywhere()
{
    SendToNoteWindows(kMsgNoteStopRecording);
}

LRESULT CALLBACK NoteWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<NoteWindow, &NoteWindow::window, &NoteWindow::HandleMessage>(hwnd, message, wParam,
                                                                                         lParam);
}

LRESULT NoteWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetTimer(window, kNoteStatusTimer, kNoteStatusTimerMs, nullptr);
        return 0;
    case kMsgNoteCloseRequest:
        OnCloseRequest();
        return 0;
    case kMsgNoteDiscard:
        OnDiscard();
        return 0;
    case kMsgNoteFileClosing:
        if (OwnThreadSend::FromOwnThread(window, message, wParam, lParam))
            OnFileClosing(reinterpret_cast<const wchar_t*>(lParam));
        return 0;
    case kMsgNoteStopRecording:
        ink.StopVoiceRecording();
        return 0;
    case WM_ACTIVATE:
        if (OnActivate(LOWORD(wParam), HIWORD(wParam) != 0))
            return 0;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_ENTERMENULOOP:
        // The Edit menu or the expiry menu: requests wait until it goes.
        ++menusShowing;
        BeginMenuShowing();
        return 0;
    case WM_EXITMENULOOP:
        EndMenus(1);
        return 0;
    case kMsgNotePopupMenu:
        TrackPopupMenuEx(expiryMenu, TPM_RIGHTALIGN, 217, 48, window, nullptr);
        return 0;
    case kMsgNoteOpenPicker:
        picker.ShowPicker(window, clockButton.Window());
        return 0;
    case kMsgPickerClosed:
        OnPickerClosed();
        return 0;
    case kMsgNoteRecordButton:
        BringToFront();
        ink.ToggleRecorder();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        UpdateExpiryText();
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_NOTIFY:
        if (OwnThreadSend::FromOwnThread(window, message, wParam, lParam) &&
            reinterpret_cast<const NMHDR*>(lParam)->code == UINT(NM_CLICK))
            BringToFront();
        return 0;
    case WM_KEYUP:
        OnKeyUp(wParam);
        return 0;
    case WM_HELP:
        ShowHelp(kHelpFile, L"Edit");
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETSIPINFO)
            OnSipChange();
        return 0;
    case WM_CLOSE:
        // However the window is asked to close, the note goes through the
        // close request, so nothing typed is lost on the way.
        PostMessageW(window, kMsgNoteCloseRequest, 0, 0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void NoteWindow::OnCommand(WORD id, WORD code, HWND from)
{
    switch (id) {
    case IDOK:
        PostMessageW(window, kMsgNoteCloseRequest, 0, 0);
        break;
    case IDC_NOTE_TITLE:
        if (code == CBN_SETFOCUS) {
            keyboardState = kKeyboardForTitle;
            SipShowIM(SIPF_ON);
            titleFocused = 1;
            modified = 1;
        } else if (code == CBN_KILLFOCUS) {
            titleFocused = 0;
            SipShowIM(SIPF_OFF);
        }
        break;
    case IDC_NOTE_INK:
        if (code == EN_SETFOCUS) {
            menuBar.Enable(IDM_NOTE_UNDO, true);
            if (!writingMode && keyboardState != kKeyboardByItself) {
                keyboardState = kKeyboardForTyping;
                SipShowIM(SIPF_ON);
            }
        } else if (code == EN_KILLFOCUS && TypingFocusLeavesInk()) {
            reopenKeyboard = 1;
        }
        break;
    case IDM_NOTE_PEN_MODE:
        ToggleWritingMode();
        break;
    case kCmdExpiry10Minutes: case kCmdExpiry15Minutes: case kCmdExpiry30Minutes: case kCmdExpiry1Hour:
    case kCmdExpiry2Hours: case kCmdExpiryTomorrow: case kCmdExpiryNextWeek: case kCmdExpiryNever:
        ApplyExpiryChoice(id);
        break;
    case IDM_SNOOZE_5_MINUTES: case IDM_SNOOZE_15_MINUTES: case IDM_SNOOZE_1_HOUR: case IDM_SNOOZE_TOMORROW:
        Snooze(id);
        break;
    case IDM_NOTE_GRID:
        ToggleGrid();
        break;
    case IDM_NOTE_ZOOM_IN:
        ZoomBy(true);
        break;
    case IDM_NOTE_ZOOM_OUT:
        ZoomBy(false);
        break;
    case IDM_NOTE_RECORD:
        BringToFront();
        ink.ToggleRecorder();
        modified = 1;
        break;
    case IDM_NOTE_UNDO:
        OnUndo();
        break;
    case IDM_NOTE_CLEAR_ALL:
        // The control made afresh reports itself unmodified. A stored note
        // has changed all the same and must be written so; a new one left
        // empty is still nothing to keep.
        ink.Recreate(true);
        if (storedNote)
            modified = 1;
        menuBar.Enable(IDM_NOTE_UNDO, false);
        break;
    case IDM_NOTE_CUT:
        ink.Cut();
        break;
    case IDM_NOTE_COPY:
        ink.Copy();
        break;
    case IDM_NOTE_PASTE:
        ink.Paste();
        break;
    default:
        break;
    }
    if (from != nullptr && from == ink.Window() && (id == kInkChangedByPen || id == kInkChangedByTyping))
        menuBar.Enable(IDM_NOTE_UNDO, true);
}

// The keyboard comes back after the user typed and went elsewhere (the
// title box, a menu): only when typing, and only when the focus leaves the
// control, not when it moves between the control's own windows.
bool NoteWindow::TypingFocusLeavesInk() const
{
    if (writingMode)
        return false;
    HWND gaining = GetFocus();
    return gaining == nullptr || (gaining != ink.Window() && !IsChild(ink.Window(), gaining));
}

void NoteWindow::ToggleWritingMode()
{
    writingMode = writingMode ? 0 : 1;
    ink.SetInputMode(writingMode ? 0 : 1);
    if (writingMode) {
        menuBar.SetState(IDM_NOTE_PEN_MODE, kButtonPressed);
        // The user chose the pen: the keyboard goes and stays down.
        reopenKeyboard = 0;
        SipShowIM(SIPF_OFF);
    } else {
        menuBar.SetState(IDM_NOTE_PEN_MODE, kButtonReleased);
    }
    SetFocus(ink.Window());
}

void NoteWindow::ToggleGrid()
{
    pageShown = pageShown ? 0 : 1;
    int style = g_application->Page();
    if (style == 0 && pageShown)
        style = kPageGrid;
    ink.SetPageStyle(pageShown != 0, style);
    menuBar.SetState(IDM_NOTE_GRID, pageShown ? kButtonPressed : kButtonReleased);
}

void NoteWindow::ZoomBy(bool in)
{
    BringToFront();
    if (in) {
        menuBar.Enable(IDM_NOTE_ZOOM_IN, ink.ZoomIn());
        menuBar.Enable(IDM_NOTE_ZOOM_OUT, true);
    } else {
        menuBar.Enable(IDM_NOTE_ZOOM_OUT, ink.ZoomOut());
        menuBar.Enable(IDM_NOTE_ZOOM_IN, true);
    }
}

void NoteWindow::OnUndo()
{
    BringToFront();
    ink.Undo();
    if (ink.CanUndo()) {
        menuBar.Enable(IDM_NOTE_ZOOM_OUT, true);
        menuBar.Enable(IDM_NOTE_ZOOM_IN, true);
    } else {
        menuBar.Enable(IDM_NOTE_UNDO, false);
    }
}

// As a dialog does: the child that had the focus when the window lost the
// front (the page or the title box) has it again when the window comes
// back, so that the input panel's keys reach it rather than the window.
bool NoteWindow::OnActivate(WORD state, bool minimized)
{
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus))
            focusedChild = focus;
        return false;
    }
    if (minimized || focusedChild == nullptr || !IsWindow(focusedChild) || !IsChild(window, focusedChild))
        return false;
    SetFocus(focusedChild);
    return true;
}

void NoteWindow::OnCloseRequest()
{
    // A request that arrives while this one asks the user why the note
    // could not be stored waits for that answer.
    if (window == nullptr || closeRequested)
        return;
    closeRequested = 1;
    CloseRequest();
    closeRequested = 0;
}

void NoteWindow::CloseRequest()
{
    FinishWhatIsUnderWay();
    bool untouched = ink.IsUnmodified() && !modified;
    if (untouched && (!storedNote || !alarm)) {
        SendMessageW(window, kMsgNoteDiscard, 0, 0);
        return;
    }
    if (CollectNote())
        note.expired = 0;
    if (!StoreNote())
        return;
    DestroyWindowParts();
    OnClose(true);
}

// However the note closes (ok, an alarm, the record button, another note
// opened), what the user is in the middle of is finished as they would
// finish it, so that the note collected holds it.
void NoteWindow::FinishWhatIsUnderWay()
{
    // The control adds a recording to its content only when it stops, and
    // throws away one still running when it is destroyed: stopped here, as
    // the recorder's Stop would, it is in the note.
    ink.StopVoiceRecording();
    // A time being picked is taken as its ok would take it: the close may be
    // the very alarm the user was putting off.
    picker.CloseTakingChoice();
    // Also a choice whose 1524 is still on its way: a tap on another
    // program closes the pop-up, and the request it sends comes first.
    if (picker.Changed())
        OnPickerClosed();
}

void NoteWindow::OnDiscard()
{
    if (window == nullptr)
        return;
    BYTE wasClosing = closeRequested;
    closeRequested = 1;
    DestroyWindowParts();
    OnClose(false);
    closeRequested = wasClosing;
}

void NoteWindow::OnFileClosing(const wchar_t* path)
{
    // The path is a pointer: believed only while CloseWindowsShowingFile of
    // this very thread is handing it out.
    if (path == nullptr || path != g_closingPath)
        return;
    if (filePath[0] != L'\0' && wcscmp(path, filePath) == 0)
        OnDiscard();
}

void NoteWindow::OnPickerClosed()
{
    if (picker.Changed()) {
        note.expired = 0;
        UpdateExpiryText();
        SetTimer(window, kNoteStatusTimer, kNoteStatusTimerMs, nullptr);
        modified = 1;
    }
    ink.SetCompact(false);
}

void NoteWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ previousFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, kNoteYellow);
    RECT text = statusRect;
    DrawTextW(dc, statusText, -1, &text, DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, previousFont);
    EndPaint(window, &paint);
}

void NoteWindow::OnButtonDown(int x, int y)
{
    BringToFront();
    if (x >= statusRect.left && x <= statusRect.right && y >= statusRect.top && y <= statusRect.bottom)
        PostMessageW(window, kMsgNoteOpenPicker, 0, 0);
}

void NoteWindow::OnKeyUp(WPARAM key)
{
    if (g_application->RecBtn() && int(key) == g_application->RecordButtonKey())
        StopRecordingEverywhere();
}

void NoteWindow::OnSipChange()
{
    bool up = SipIsUp();
    // Only the note in front moves its keyboard and focus: one that lost
    // the front (a message, another program) lost its focus with it, which
    // is no trip of the user's from the title box to the page; it gets its
    // focus back when it comes to the front again.
    if (GetActiveWindow() != window) {
        ink.SetCompact(up);
        return;
    }
    // Not while the picker is open: the keyboard would cover its "None".
    if (!up && reopenKeyboard && !picker.IsOpen()) {
        reopenKeyboard = 0;
        keyboardState = kKeyboardIdle;
        SipShowIM(SIPF_ON);
        return;
    }
    if (up && keyboardState == kKeyboardIdle && !titleFocused && !picker.IsOpen()) {
        keyboardState = kKeyboardByItself;
        SendMessageW(ink.Window(), WM_SETFOCUS, 0, 0);
        // The user raised the keyboard: the note switches to typing.
        if (writingMode)
            ToggleWritingMode();
    }
    keyboardState = kKeyboardIdle;
    ink.SetCompact(up);
}
