#include "dialogs/OptionsWindow.h"

#include "dialogs/Help.h"
#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/RegisterClassOnce.h"
#include "process/Application.h"
#include "resources/resource.h"

#include <aygshell.h>
#include <cecompat.h>
#include <commctrl.h>
#include <prsht.h>

namespace {

const wchar_t kFrameClass[] = L"Jotlings options";
const wchar_t kFrameTitle[] = L"Options";
const DWORD kFrameStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION;
const wchar_t kHelpAnchor[] = L"SGeneral";

// PSH_PROPSHEETPAGE, PSH_USECALLBACK, PSH_HASHELP and the handheld's
// PSH_MAXIMIZE.
const DWORD kSheetFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_HASHELP | CE_PSH_MAXIMIZE;
// The property sheet's own tab control and Apply button, by the ids comctl32
// gives them: the tabs go to the bottom and the buttons are hidden, as the
// handheld's sheet has them.
const int kTabControlId = 12320;
const int kApplyButtonId = 0x3021;
const int kPageCount = 3;
const int kPageTemplates[kPageCount] = {IDD_OPTIONS_GENERAL, IDD_OPTIONS_JOTLING, IDD_OPTIONS_SOUND};

const int kLargestFontSize = 12;
const int kFewestRepetitions = 1;
const int kMostRepetitions = 100;
const int kFrameStripHeight = 25;
// The frame's own request to make the pages Wine's sheet has not made yet.
const UINT kMsgMakeEveryPage = WM_APP + 1;

const wchar_t* const kFontSizes[] = {L"12 pts.", L"11 pts.", L"10 pts.", L"9 pts.", L"8 pts.", nullptr};
const wchar_t* const kModes[] = {L"Writing", L"Typing", nullptr};
const wchar_t* const kPageStyles[] = {L"Blank", L"Grid", L"Ruled lines", L"Dotted lines",
                                      L"Left margin", L"Top margin", L"Left-top margin", nullptr};
const wchar_t* const kZoomSteps[] = {L"25 %", L"50 %", L"75 %", L"100 %", L"150 %", L"200 %", L"300 %", nullptr};

const wchar_t kWaveFilter[] = L"Wave files\0*.wav\0";
const wchar_t kBrowseTitle[] = L"Select notification sound";

// Each control's id, in the order of the Control enumeration, and the
// items of the lists.
struct ControlInfo {
    int id;
    const wchar_t* const* items;
};
const ControlInfo kControls[] = {
    {IDC_OPTIONS_FONT, kFontSizes},
    {IDC_OPTIONS_NOTIFY, nullptr},
    {IDC_OPTIONS_TURN_ON, nullptr},
    {IDC_OPTIONS_RECORD_BUTTON, nullptr},
    {IDC_OPTIONS_AUTO_DELETE, nullptr},
    {IDC_OPTIONS_MODE, kModes},
    {IDC_OPTIONS_PAGE_STYLE, kPageStyles},
    {IDC_OPTIONS_ZOOM, kZoomSteps},
    {IDC_OPTIONS_PLAY_RECORDING, nullptr},
    {IDC_OPTIONS_PLAY_FILE, nullptr},
    {IDC_OPTIONS_SOUND_FILE, nullptr},
    {IDC_OPTIONS_BROWSE, nullptr},
    {IDC_OPTIONS_REPEAT_LABEL, nullptr},
    {IDC_OPTIONS_REPEAT, nullptr},
    {IDC_OPTIONS_REPEAT_SPIN, nullptr},
    {IDC_OPTIONS_DONT_PLAY, nullptr},
};

OptionsWindow::OpenFileFunction g_openFile = &GetOpenFileNameW;

// The sheet's callback carries no object; the one sheet being opened is
// this one.
OptionsWindow* g_openingSheet = nullptr;

// The leading digits of a text; large numbers stop growing past the range.
int LeadingNumber(const wchar_t* text)
{
    int number = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        number = number * 10 + (*text - L'0');
        if (number > 10 * kMostRepetitions)
            break;
    }
    return number;
}

}  // namespace

OptionsWindow::OptionsWindow() = default;

OptionsWindow::~OptionsWindow()
{
    DestroyFrame();
}

void OptionsWindow::SetOpenFileFunction(OpenFileFunction function)
{
    g_openFile = function != nullptr ? function : &GetOpenFileNameW;
}

void OptionsWindow::Open(HWND parentWindow)
{
    if (window != nullptr) {
        BringToFront();
        return;
    }
    parent = parentWindow;
    for (HWND& control : controls)
        control = nullptr;
    accepted = false;
    OwnThreadSend::Watch();

    HINSTANCE instance = ProgramInstance();
    WNDCLASSW frameClass = {};
    frameClass.style = CS_HREDRAW | CS_VREDRAW;
    frameClass.lpfnWndProc = &OptionsWindow::FrameProc;
    frameClass.hInstance = instance;
    frameClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    frameClass.lpszClassName = kFrameClass;
    if (!RegisterClassOnce(frameClass))
        return;
    CreateWindowExW(0, kFrameClass, kFrameTitle, kFrameStyle, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                    GetSystemMetrics(SM_CYSCREEN), parent, nullptr, instance, this);
    if (window == nullptr) {
        UnregisterClassW(kFrameClass, instance);
        return;
    }
    RunSheet();
    // Accepted or cancelled, the pages are gone now and the frame goes with
    // them: an empty frame is of no use to anyone.
    DestroyFrame();
}

void OptionsWindow::RunSheet()
{
    HINSTANCE instance = ProgramInstance();
    PROPSHEETPAGEW pages[kPageCount] = {};
    for (int i = 0; i < kPageCount; ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGEW);
        pages[i].dwFlags = PSP_PREMATURE;
        pages[i].hInstance = instance;
        pages[i].pszTemplate = MAKEINTRESOURCEW(kPageTemplates[i]);
        pages[i].pfnDlgProc = &OptionsWindow::PageProc;
        pages[i].lParam = reinterpret_cast<LPARAM>(this);
    }
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = CeTranslateSheetFlags(kSheetFlags);
    header.hwndParent = window;
    header.hInstance = instance;
    header.pszCaption = MAKEINTRESOURCEW(IDS_APP_TITLE);
    header.nPages = kPageCount;
    header.nStartPage = 0;
    header.ppsp = pages;
    header.pfnCallback = &OptionsWindow::SheetCallback;
    g_openingSheet = this;
    PropertySheetW(&header);
    g_openingSheet = nullptr;
    sheet = nullptr;
}

void OptionsWindow::DestroyFrame()
{
    HWND frame = window;
    window = nullptr;
    sheet = nullptr;
    if (frame != nullptr) {
        DestroyWindow(frame);
        UnregisterClassW(kFrameClass, ProgramInstance());
    }
    for (HWND& control : controls)
        control = nullptr;
}

void OptionsWindow::Close()
{
    if (window == nullptr)
        return;
    // The sheet's own ok reads the pages and ends the sheet, after which
    // Open takes the frame down; destroying the frame under the running
    // sheet would pull its pages away in the middle of its apply.
    if (sheet != nullptr && IsWindow(sheet)) {
        PropSheet_PressButton(sheet, PSBTN_OK);
        return;
    }
    DestroyFrame();
}

void OptionsWindow::BringToFront()
{
    if (window == nullptr)
        return;
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    SHINITDLGINFO init = {};
    init.dwMask = SHIDIM_FLAGS;
    init.hDlg = window;
    init.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN;
    SHInitDialog(&init);
    // Hidden, then shown, as in BringDialogToFront.
    SHFullScreen(window, SHFS_HIDESIPBUTTON);
    SHFullScreen(window, SHFS_SHOWSIPBUTTON);
    // On the handheld the sheet is drawn inside its frame; here it is a
    // window of its own above the frame, and comes forward with it.
    if (sheet != nullptr)
        SetForegroundWindow(sheet);
}

// ---------------------------------------------------------------------------
// The frame window
// ---------------------------------------------------------------------------

LRESULT CALLBACK OptionsWindow::FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<OptionsWindow, &OptionsWindow::window, &OptionsWindow::HandleFrameMessage>(
        frame, message, wParam, lParam);
}

LRESULT OptionsWindow::HandleFrameMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnFramePaint();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            Close();
        return 0;
    case kMsgMakeEveryPage:
        MakeEveryPage();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void OptionsWindow::OnFramePaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
    Rectangle(dc, client.left - 1, client.bottom - kFrameStripHeight, client.right + 1, client.bottom + 1);
    SelectObject(dc, oldBrush);
    EndPaint(window, &paint);
}

// ---------------------------------------------------------------------------
// The property sheet
// ---------------------------------------------------------------------------

int CALLBACK OptionsWindow::SheetCallback(HWND sheetWindow, UINT message, LPARAM)
{
    switch (message) {
    case PSCB_INITIALIZED: {
        HWND tabs = GetDlgItem(sheetWindow, kTabControlId);
        SetWindowLongPtrW(tabs, GWL_STYLE, GetWindowLongPtrW(tabs, GWL_STYLE) | TCS_BOTTOM);
        if (g_openingSheet != nullptr) {
            g_openingSheet->ArrangeSheet(sheetWindow);
            PostMessageW(g_openingSheet->window, kMsgMakeEveryPage, 0, 0);
        }
        return 0;
    }
    case PSCB_GETVERSION:
        return CE_COMCTL32_VERSION;
    default:
        return 0;
    }
}

// The handheld's sheet fills the work area: pages over the whole width, the
// tabs along the bottom, no buttons, and its ok in the navigation bar.
// Wine's sheet is a desktop dialog with a caption and OK, Cancel, Apply and
// Help buttons, so it is given that shape here.
void OptionsWindow::ArrangeSheet(HWND sheetWindow)
{
    sheet = sheetWindow;
    SHINITDLGINFO init = {};
    init.dwMask = SHIDIM_FLAGS;
    init.hDlg = sheet;
    init.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN;
    SHInitDialog(&init);
    const int buttons[] = {IDOK, IDCANCEL, kApplyButtonId, IDHELP};
    for (int id : buttons)
        ShowWindow(GetDlgItem(sheet, id), SW_HIDE);

    // The tab control's borders lie just outside the sheet, so the pages
    // get every pixel of its width.
    HWND tabs = GetDlgItem(sheet, kTabControlId);
    RECT client;
    GetClientRect(sheet, &client);
    RECT outer = client;
    SendMessageW(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&outer));
    SetWindowPos(tabs, nullptr, outer.left, outer.top, outer.right - outer.left, client.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    RECT pageArea;
    GetClientRect(tabs, &pageArea);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pageArea));
    MapWindowPoints(tabs, sheet, reinterpret_cast<POINT*>(&pageArea), 2);
    for (int i = 0; i < kPageCount; ++i) {
        HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_INDEXTOHWND, i, 0));
        if (page != nullptr)
            SetWindowPos(page, nullptr, pageArea.left, pageArea.top, pageArea.right - pageArea.left,
                         pageArea.bottom - pageArea.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The handheld makes every page when the sheet opens (PSP_PREMATURE), so
// that all controls are known and read on accepting even when the user never
// looked at a page. Wine's sheet makes a page only when it is first shown:
// each missing page is shown once, with painting held off, and the start
// page brought back.
void OptionsWindow::MakeEveryPage()
{
    if (sheet == nullptr || !IsWindow(sheet))
        return;
    int start = PropSheet_HwndToIndex(sheet, PropSheet_GetCurrentPageHwnd(sheet));
    SendMessageW(sheet, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < kPageCount; ++i) {
        if (PropSheet_IndexToHwnd(sheet, i) == nullptr)
            PropSheet_SetCurSel(sheet, nullptr, i);
    }
    PropSheet_SetCurSel(sheet, nullptr, start < 0 ? 0 : start);
    SendMessageW(sheet, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(sheet, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// ---------------------------------------------------------------------------
// The pages
// ---------------------------------------------------------------------------

INT_PTR CALLBACK OptionsWindow::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(page, message, wParam, lParam);
    Creation creation = CheckCreation(page, message, GetWindowLongPtrW(page, GWLP_USERDATA) != 0);
    if (creation == Creation::Repeated)
        return FALSE;
    if (message == WM_INITDIALOG) {
        auto* description = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
        auto* self = reinterpret_cast<OptionsWindow*>(description->lParam);
        SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (self->sheet == nullptr)
            self->sheet = GetParent(page);
        self->InitPage(page);
        return TRUE;
    }
    auto* self = reinterpret_cast<OptionsWindow*>(GetWindowLongPtrW(page, GWLP_USERDATA));
    if (self == nullptr)
        return FALSE;
    switch (message) {
    case WM_NOTIFY:
        if (!OwnThreadSend::FromOwnThread(page, message, wParam, lParam))
            return FALSE;
        return self->OnPageNotify(page, *reinterpret_cast<NMHDR*>(lParam));
    case WM_HELP:
        ShowHelp(kHelpFile, kHelpAnchor);
        // Handled: passed on, it would reach the all-notes window, which
        // opens its own topic over this one.
        return TRUE;
    case WM_COMMAND:
        self->OnPageCommand(page, LOWORD(wParam), HIWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR OptionsWindow::OnPageNotify(HWND page, const NMHDR& header)
{
    switch (header.code) {
    case PSN_APPLY:
        // Every page gets it; the first one reads all pages while they all
        // still exist.
        if (!accepted)
            ReadControls();
        SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    case PSN_HELP:
        ShowHelp(kHelpFile, kHelpAnchor);
        return FALSE;
    case PSN_QUERYCANCEL:
        SendMessageW(page, WM_COMMAND, IDCANCEL, 0);
        SetWindowLongPtrW(page, DWLP_MSGRESULT, FALSE);
        return TRUE;
    default:
        return FALSE;
    }
}

void OptionsWindow::OnPageCommand(HWND page, int id, int code)
{
    switch (id) {
    case IDC_OPTIONS_DONT_PLAY:
        if (code == BN_CLICKED) {
            EnableFileControls(false);
            EnableRepeatControls(false);
        }
        break;
    case IDC_OPTIONS_PLAY_RECORDING:
        if (code == BN_CLICKED) {
            EnableFileControls(false);
            EnableRepeatControls(true);
        }
        break;
    case IDC_OPTIONS_PLAY_FILE:
        if (code == BN_CLICKED) {
            EnableFileControls(true);
            EnableRepeatControls(true);
        }
        break;
    case IDC_OPTIONS_BROWSE:
        if (code == BN_CLICKED)
            BrowseForSound(page);
        break;
    case IDC_OPTIONS_REPEAT:
        if (code == EN_CHANGE)
            KeepRepetitionsInRange();
        break;
    default:
        break;
    }
}

void OptionsWindow::InitPage(HWND page)
{
    FindControls(page);
    if (values.dontPlay) {
        values.playRecording = false;
        values.playFile = false;
    } else if (values.playRecording) {
        values.playFile = false;
    }
    ShowValues();
    EnableFileControls(values.playFile);
    EnableRepeatControls(values.playFile || values.playRecording);
}

// A page holds only some of the controls; the others are found when their
// page is made.
void OptionsWindow::FindControls(HWND page)
{
    for (int i = 0; i < kControlCount; ++i) {
        if (controls[i] != nullptr)
            continue;
        controls[i] = GetDlgItem(page, kControls[i].id);
        if (controls[i] == nullptr || kControls[i].items == nullptr)
            continue;
        for (const wchar_t* const* item = kControls[i].items; *item != nullptr; ++item)
            SendMessageW(controls[i], CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(*item));
    }
}

void OptionsWindow::ShowValues()
{
    SetChecked(kDontPlayRadio, values.dontPlay);
    SetChecked(kPlayRecordingRadio, values.playRecording);
    SetChecked(kPlayFileRadio, values.playFile);
    if (controls[kRepeatSpin] != nullptr) {
        SendMessageW(controls[kRepeatSpin], UDM_SETRANGE32, kFewestRepetitions, kMostRepetitions);
        SendMessageW(controls[kRepeatSpin], UDM_SETPOS32, 0, values.repetitions);
    }
    // An index outside a list leaves it without a selection.
    if (controls[kFontList] != nullptr)
        SendMessageW(controls[kFontList], CB_SETCURSEL, kLargestFontSize - values.fontSize, 0);
    SetChecked(kNotifyBox, values.notify);
    SetChecked(kTurnOnBox, values.turnOn);
    SetChecked(kRecordButtonBox, values.recordButton);
    SetChecked(kAutoDeleteBox, values.autoDelete);
    if (controls[kSoundFileBox] != nullptr)
        SetWindowTextW(controls[kSoundFileBox], values.soundFile);
    if (controls[kModeList] != nullptr)
        SendMessageW(controls[kModeList], CB_SETCURSEL, values.mode, 0);
    if (controls[kPageStyleList] != nullptr)
        SendMessageW(controls[kPageStyleList], CB_SETCURSEL, values.pageStyle, 0);
    if (controls[kZoomList] != nullptr)
        SendMessageW(controls[kZoomList], CB_SETCURSEL, values.zoom, 0);
}

void OptionsWindow::EnableFileControls(bool on)
{
    Enable(kSoundFileBox, on);
    Enable(kBrowseButton, on);
}

void OptionsWindow::EnableRepeatControls(bool on)
{
    Enable(kRepeatBox, on);
    Enable(kRepeatSpin, on);
    Enable(kRepeatLabel, on);
}

void OptionsWindow::BrowseForSound(HWND page)
{
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = page;
    request.hInstance = ProgramInstance();
    request.lpstrFilter = kWaveFilter;
    request.lpstrFile = path;
    request.nMaxFile = MAX_PATH;
    request.lpstrTitle = kBrowseTitle;
    request.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (g_openFile(&request) && controls[kSoundFileBox] != nullptr) {
        path[MAX_PATH - 1] = L'\0';
        SetWindowTextW(controls[kSoundFileBox], path);
    }
}

// Setting the text raises EN_CHANGE again, which then finds it in range.
void OptionsWindow::KeepRepetitionsInRange()
{
    HWND box = controls[kRepeatBox];
    if (box == nullptr)
        return;
    wchar_t text[MAX_PATH + 1] = L"";
    GetWindowTextW(box, text, MAX_PATH + 1);
    int number = LeadingNumber(text);
    if (number < kFewestRepetitions)
        SetWindowTextW(box, L"1");
    else if (number > kMostRepetitions)
        SetWindowTextW(box, L"100");
}

// A control whose page was never made, or a list without a selection,
// leaves its value as it was loaded.
void OptionsWindow::ReadControls()
{
    int fontIndex = ListSelection(kFontList, -1);
    if (fontIndex >= 0)
        values.fontSize = kLargestFontSize - fontIndex;
    const struct {
        Control control;
        bool* flag;
    } flags[] = {
        {kNotifyBox, &values.notify},
        {kTurnOnBox, &values.turnOn},
        {kDontPlayRadio, &values.dontPlay},
        {kPlayRecordingRadio, &values.playRecording},
        {kPlayFileRadio, &values.playFile},
        {kRecordButtonBox, &values.recordButton},
        {kAutoDeleteBox, &values.autoDelete},
    };
    for (const auto& flag : flags) {
        if (controls[flag.control] != nullptr)
            *flag.flag = IsChecked(flag.control);
    }
    if (controls[kSoundFileBox] != nullptr)
        GetWindowTextW(controls[kSoundFileBox], values.soundFile, MAX_PATH);
    if (controls[kRepeatSpin] != nullptr)
        values.repetitions = static_cast<int>(SendMessageW(controls[kRepeatSpin], UDM_GETPOS32, 0, 0));
    values.mode = ListSelection(kModeList, values.mode);
    values.pageStyle = ListSelection(kPageStyleList, values.pageStyle);
    values.zoom = ListSelection(kZoomList, values.zoom);
    accepted = true;
    PostMessageW(parent, kMsgOptionsAccepted, 0, 0);
}

bool OptionsWindow::IsChecked(Control control) const
{
    return controls[control] != nullptr && SendMessageW(controls[control], BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionsWindow::SetChecked(Control control, bool checked)
{
    if (controls[control] != nullptr)
        SendMessageW(controls[control], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void OptionsWindow::Enable(Control control, bool on)
{
    if (controls[control] != nullptr)
        EnableWindow(controls[control], on);
}

int OptionsWindow::ListSelection(Control control, int unchanged) const
{
    if (controls[control] == nullptr)
        return unchanged;
    LRESULT index = SendMessageW(controls[control], CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? unchanged : static_cast<int>(index);
}
