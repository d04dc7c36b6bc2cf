#include "bench/NoteWindowSteps.h"

#include "bench/BenchSupport.h"
#include "notes/ExpiryRules.h"
#include "notewindow/NoteWindow.h"
#include "process/Application.h"
#include "resources/resource.h"

#include <aygshell.h>
#include <inkx.h>
#include <richedit.h>

#include <stdlib.h>
#include <string.h>

namespace bench {

namespace {

const wchar_t kStepsClass[] = L"BenchStepsNoteWnd";
const wchar_t kTitle[] = L"Bench steps";
const wchar_t kPopupClass[] = L"BenchStepsPopupBtn";
const wchar_t kClockClass[] = L"BenchStepsClockBtn";
const COLORREF kYellow = RGB(255, 255, 0);
const DWORD kNoteWindowStyle = WS_POPUP | WS_CAPTION;
const DWORD kTitleBoxStyle = 0x5020020A | CBS_AUTOHSCROLL;
const DWORD kInkStyle = 0x50B000CC;
const int kInkId = 105;
const int kCreationZoom = 200;
const int kImageSize = 16;
const int kTooltipLength = 128;
const int kMaxMenuButtons = 32;
const UINT_PTR kStatusTimer = 1;
const UINT kStatusTimerMs = 60000;
const RECT kStatusRect = {6, 26, 234, 41};
const BYTE kButtonPressed = TBSTATE_ENABLED | TBSTATE_PRESSED;
const BYTE kButtonReleased = TBSTATE_ENABLED;
const WPARAM kPageStyleValues[7] = {16, 4, 2, 32, 0, 1, 8};


const int kExpiryChoices[] = {kCmdExpiryNever,  kCmdExpiry10Minutes, kCmdExpiry15Minutes, kCmdExpiry30Minutes,
                              kCmdExpiry1Hour,  kCmdExpiry2Hours,    kCmdExpiryTomorrow,  kCmdExpiryNextWeek};
const wchar_t* const kExpiryTexts[] = {L"Never expire", L"10 minutes", L"15 minutes", L"30 minutes",
                                       L"1 hour",       L"2 hours",    L"Tomorrow",   L"Next week"};

const char* const kStepNames[] = {
    "note window class (RegisterClassW, brush)",
    "CreateWindowExW (note window, its timer)",
    "title box: CreateWindowExW COMBOBOX, WM_SETFONT",
    "title box: titles read (TitleList::Load)",
    "title box: CB_ADDSTRING each title, CB_SETCURSEL",
    "ink: CreateWindowExW InkX",
    "ink: inner window, view set-up, mode, zoom 200",
    "ink: subclass, paint of the empty page, undo",
    "image buttons: 2 x class, LoadBitmapW, window",
    "expiry menu: CreatePopupMenu, 8 x InsertMenuW",
    "SetWindowTextW (the note's title)",
    "ink: stream in (EM_STREAMIN)",
    "ink: zoom to the note's",
    "status line: text, InvalidateRect, UpdateWindow",
    "ink: input mode",
    "menu bar: 7 tooltips (LoadStringW)",
    "menu bar: SHCreateMenuBar",
    "menu bar: LoadMenuW count, LoadBitmapW strip",
    "menu bar: CommandBar_AddBitmap",
    "menu bar: TB_ADDBUTTONSW (7 tools)",
    "menu bar: TB_GETBUTTON x 7, TB_SETTOOLTIPS",
    "menu bar: WM_PAINT sent",
    "button states, page style",
    "SHInitDialog (Done button, full screen)",
    "ShowWindow (SW_SHOWNORMAL)",
    "SetForegroundWindow",
    "SHFullScreen (SHFS_SHOWSIPBUTTON)",
    "SetFocus on the ink (typing mode only)",
    "first paint of the ink (UpdateWindow)",
};
static_assert(sizeof(kStepNames) / sizeof(kStepNames[0]) == NoteWindowSteps::kStepCount, "a name for every step");

bool IsTool(const TBBUTTON& button)
{
    return (button.fsStyle & (BTNS_SEP | BTNS_DROPDOWN)) == 0;
}

void RegisterImageClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure)
{
    // Registered by the first pass and kept, as the image buttons' classes
    // are kept for the program's run.
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

}  // namespace

const char* NoteWindowSteps::StepName(int step)
{
    return step >= 0 && step < kStepCount ? kStepNames[step] : "";
}

NoteWindowSteps::~NoteWindowSteps()
{
    Destroy();
}

bool NoteWindowSteps::Run(const NoteRecord& note, bool throughMenuBar, double* times)
{
    for (int i = 0; i < kStepCount; ++i)
        times[i] = -1;
    instance = ProgramInstance();
    int step = 0;
    auto time = [&](auto&& work) {
        double start = Now();
        work();
        times[step++] = Now() - start;
    };

    time([&] {
        classBrush = CreateSolidBrush(kYellow);
        WNDCLASSW windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hbrBackground = classBrush;
        windowClass.lpszClassName = kStepsClass;
        RegisterClassW(&windowClass);
    });
    time([&] {
        CreateWindowExW(0, kStepsClass, kTitle, kNoteWindowStyle, 0, 0, 240, 320, nullptr, nullptr, instance,
                        this);
    });
    if (window == nullptr) {
        Destroy();
        return false;
    }
    time([&] { MakeTitleBox(); });
    time([&] { titles.Load(); });
    time([&] { FillTitleBox(); });
    bool inkMade = false;
    time([&] { inkMade = MakeInk(); });
    if (!inkMade) {
        Destroy();
        return false;
    }
    time([&] { SetUpInk(); });
    time([&] { SubclassInk(); });
    time([&] { MakeImageButtons(); });
    time([&] { MakeExpiryMenu(); });
    time([&] { SetWindowTextW(titleBox, note.title); });
    time([&] { StreamNoteIn(note); });
    time([&] { SendMessageW(inner, kInkMsgSetZoom, 0, LPARAM(note.zoom)); });
    time([&] { UpdateStatus(note); });
    writingMode = g_application->Mode() == 0;
    time([&] { SendMessageW(inner, kInkMsgSetInputMode, writingMode ? kInkModeWriting : kInkModeTyping, 0); });
    if (throughMenuBar) {
        time([&] { LoadTooltips(); });
        bool barMade = false;
        time([&] { barMade = MakeMenuBar(); });
        if (barMade) {
            time([&] { CountMenuAndStrip(); });
            time([&] { AddToolBitmap(); });
            time([&] { AddToolButtons(); });
            time([&] { SetTooltips(); });
            time([&] { SendMessageW(menuBar, WM_PAINT, 0, 0); });
        } else {
            step += 5;
        }
        time([&] { SetButtonStates(); });
        time([&] {
            SHINITDLGINFO init = {SHIDIM_FLAGS, window, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
            SHInitDialog(&init);
        });
        time([&] { ShowWindow(window, SW_SHOWNORMAL); });
        time([&] { SetForegroundWindow(window); });
        time([&] { SHFullScreen(window, SHFS_SHOWSIPBUTTON); });
        time([&] {
            if (!writingMode)
                SetFocus(ink);
        });
        time([&] { UpdateWindow(inner); });
    }
    Destroy();
    return true;
}

void NoteWindowSteps::MakeTitleBox()
{
    titleBox = CreateWindowExW(0, L"COMBOBOX", L"", kTitleBoxStyle, 5, 4, 192, 185, window,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_NOTE_TITLE)), instance, nullptr);
    SendMessageW(titleBox, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

void NoteWindowSteps::FillTitleBox()
{
    SendMessageW(titleBox, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < titles.Count(); ++i) {
        wchar_t title[260];
        titles.GetAt(i, title, 260);
        SendMessageW(titleBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
    }
    if (titles.Count() > 0)
        SendMessageW(titleBox, CB_SETCURSEL, 0, 0);
}

bool NoteWindowSteps::MakeInk()
{
    ink = CreateWindowExW(0, INKX_CLASS_NAME, L"", kInkStyle, -1, 44, 242, 226, window,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kInkId)), instance, nullptr);
    return ink != nullptr;
}

void NoteWindowSteps::SetUpInk()
{
    inner = reinterpret_cast<HWND>(SendMessageW(ink, kInkMsgGetInnerWindow, 0, 0));
    INT32 setup[6] = {15, 2, 200, 16, 0, 0};
    SendMessageW(inner, kInkMsgViewSetup, 0, reinterpret_cast<LPARAM>(setup));
    SendMessageW(inner, kInkMsgSetInputMode, kInkModeWriting, 0);
    inkBrush = CreateSolidBrush(kYellow);
    SendMessageW(inner, kInkMsgSetZoom, 0, kCreationZoom);
}

void NoteWindowSteps::SubclassInk()
{
    if (inner != nullptr) {
        SetWindowLongPtrW(inner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        innerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(inner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InnerProc)));
        InvalidateRect(inner, nullptr, TRUE);
        UpdateWindow(inner);
    }
    SendMessageW(inner, kInkMsgEmptyUndo, 0, 0);
}

void NoteWindowSteps::MakeImageButtons()
{
    struct Button {
        const wchar_t* name;
        int bitmapId, id, x;
        HBITMAP* bitmap;
        HWND* window;
    } buttons[] = {{kPopupClass, IDB_POPUP_BUTTON, IDC_NOTE_POPUP, 201, &popupBitmap, &popupButton},
                   {kClockClass, IDB_CLOCK_BUTTON, IDC_NOTE_CLOCK, 220, &clockBitmap, &clockButton}};
    for (const Button& button : buttons) {
        RegisterImageClass(instance, button.name, ImageProc);
        *button.bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(button.bitmapId));
        *button.window = CreateWindowExW(0, button.name, L"Button", WS_CHILD | WS_VISIBLE, button.x, 6, kImageSize,
                                         kImageSize, window,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), instance,
                                         *button.bitmap);
    }
}

void NoteWindowSteps::MakeExpiryMenu()
{
    expiryMenu = CreatePopupMenu();
    for (size_t i = 0; i < sizeof(kExpiryChoices) / sizeof(kExpiryChoices[0]); ++i)
        InsertMenuW(expiryMenu, UINT(-1), MF_BYPOSITION | MF_STRING, kExpiryChoices[i], kExpiryTexts[i]);
}

void NoteWindowSteps::StreamNoteIn(const NoteRecord& note)
{
    streamAt = note.data;
    streamLeft = note.data != nullptr ? note.dataLength : 0;
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(this), 0, StreamIn};
    SendMessageW(ink, kInkMsgStreamIn, kInkStreamFlags, reinterpret_cast<LPARAM>(&stream));
}

DWORD CALLBACK NoteWindowSteps::StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* given)
{
    NoteWindowSteps* self = reinterpret_cast<NoteWindowSteps*>(cookie);
    DWORD n = count > 0 && DWORD(count) < self->streamLeft ? DWORD(count) : self->streamLeft;
    memcpy(buffer, self->streamAt, n);
    self->streamAt += n;
    self->streamLeft -= n;
    *given = LONG(n);
    return 0;
}

void NoteWindowSteps::UpdateStatus(const NoteRecord& note)
{
    ExpiryStatusText(note.expiry, true, note.expired != 0, statusText, 256);
    InvalidateRect(window, &kStatusRect, TRUE);
    UpdateWindow(window);
}

void NoteWindowSteps::LoadTooltips()
{
    for (int i = 0; i < kNoteToolCount; ++i) {
        tools[i] = kNoteToolButtons[i];
        tools[i].dwData = 0;
        wchar_t text[kTooltipLength];
        if (LoadStringW(instance, tools[i].idCommand, text, kTooltipLength) > 0 && IsTool(tools[i]))
            tools[i].dwData = reinterpret_cast<DWORD_PTR>(_wcsdup(text));
    }
}

bool NoteWindowSteps::MakeMenuBar()
{
    SHMENUBARINFO info = {};
    info.cbSize = sizeof(info);
    info.hwndParent = window;
    info.nToolBarId = IDR_NOTE_MENUBAR;
    info.hInstRes = instance;
    if (!SHCreateMenuBar(&info))
        return false;
    menuBar = info.hwndMB;
    return true;
}

void NoteWindowSteps::CountMenuAndStrip()
{
    menuButtonCount = 0;
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_NOTE_MENUBAR));
    if (menu != nullptr) {
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        while (menuButtonCount < kMaxMenuButtons && GetMenuItemInfoW(menu, menuButtonCount, TRUE, &item))
            ++menuButtonCount;
        DestroyMenu(menu);
    }
    HBITMAP strip = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_NOTE_TOOLS));
    BITMAP bitmap = {};
    stripImages = kNoteToolCount;
    if (strip != nullptr && GetObjectW(strip, sizeof(bitmap), &bitmap) == sizeof(bitmap))
        stripImages = bitmap.bmWidth / kImageSize;
    if (strip != nullptr)
        DeleteObject(strip);
}

void NoteWindowSteps::AddToolBitmap()
{
    CommandBar_AddBitmap(menuBar, instance, IDB_NOTE_TOOLS, stripImages, kImageSize, kImageSize);
}

void NoteWindowSteps::AddToolButtons()
{
    SendMessageW(menuBar, TB_ADDBUTTONSW, kNoteToolCount, reinterpret_cast<LPARAM>(tools));
}

void NoteWindowSteps::SetTooltips()
{
    int filled = 0;
    for (int i = 0; i < menuButtonCount && filled < 64; ++i)
        tooltips[filled++] = nullptr;
    for (int i = 0; i < kNoteToolCount && filled < 64; ++i) {
        int position = menuButtonCount + i;
        TBBUTTON present = {};
        if (!SendMessageW(menuBar, TB_GETBUTTON, position, reinterpret_cast<LPARAM>(&present)) ||
            present.idCommand != tools[i].idCommand || present.iBitmap != tools[i].iBitmap) {
            SendMessageW(menuBar, TB_DELETEBUTTON, position, 0);
            SendMessageW(menuBar, TB_INSERTBUTTONW, position, reinterpret_cast<LPARAM>(&tools[i]));
        }
        tooltips[filled++] = reinterpret_cast<const wchar_t*>(tools[i].dwData);
    }
    SendMessageW(menuBar, TB_SETTOOLTIPS, filled, reinterpret_cast<LPARAM>(tooltips));
}

void NoteWindowSteps::SetButtonStates()
{
    auto enable = [&](int command, bool on) {
        bool enabled = SendMessageW(menuBar, TB_ISBUTTONENABLED, command, 0) != 0;
        if (enabled != on)
            SendMessageW(menuBar, TB_ENABLEBUTTON, command, MAKELONG(on ? TRUE : FALSE, 0));
    };
    enable(IDM_NOTE_UNDO, false);
    SendMessageW(menuBar, TB_SETSTATE, IDM_NOTE_PEN_MODE, MAKELONG(writingMode ? kButtonPressed : kButtonReleased, 0));
    int page = g_application->Page();
    if (page != 0) {
        SendMessageW(menuBar, TB_SETSTATE, IDM_NOTE_GRID, MAKELONG(kButtonPressed, 0));
        WPARAM value = page > 0 && page < 7 ? kPageStyleValues[page] : kInkPageBlank;
        PostMessageW(ink, kInkMsgSetPageStyle, value, 0);
    } else {
        SendMessageW(menuBar, TB_SETSTATE, IDM_NOTE_GRID, MAKELONG(kButtonReleased, 0));
    }
    int zoom = g_application->Zoom();
    if (zoom == 0)
        enable(IDM_NOTE_ZOOM_OUT, false);
    if (zoom == 6)
        enable(IDM_NOTE_ZOOM_IN, false);
}

void NoteWindowSteps::Destroy()
{
    for (HWND* child : {&popupButton, &clockButton, &ink}) {
        if (*child != nullptr)
            DestroyWindow(*child);
        *child = nullptr;
    }
    inner = nullptr;
    innerProc = nullptr;
    if (window != nullptr) {
        SetFocus(window);
        DestroyWindow(window);
    }
    window = nullptr;
    titleBox = nullptr;
    if (menuBar != nullptr && IsWindow(menuBar))
        DestroyWindow(menuBar);
    menuBar = nullptr;
    if (expiryMenu != nullptr)
        DestroyMenu(expiryMenu);
    expiryMenu = nullptr;
    UnregisterClassW(kStepsClass, instance);
    for (HGDIOBJ* object : {reinterpret_cast<HGDIOBJ*>(&classBrush), reinterpret_cast<HGDIOBJ*>(&inkBrush),
                            reinterpret_cast<HGDIOBJ*>(&popupBitmap), reinterpret_cast<HGDIOBJ*>(&clockBitmap)}) {
        if (*object != nullptr)
            DeleteObject(*object);
        *object = nullptr;
    }
    for (TBBUTTON& tool : tools) {
        free(reinterpret_cast<void*>(tool.dwData));
        tool.dwData = 0;
    }
}

LRESULT CALLBACK NoteWindowSteps::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<NoteWindowSteps*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<NoteWindowSteps*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE:
        SetTimer(hwnd, kStatusTimer, kStatusTimerMs, nullptr);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        if (self != nullptr) {
            HGDIOBJ previousFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, kYellow);
            RECT text = kStatusRect;
            DrawTextW(dc, self->statusText, -1, &text, DT_VCENTER | DT_SINGLELINE);
            SelectObject(dc, previousFont);
        }
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK NoteWindowSteps::ImageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
    if (message != WM_PAINT)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
    BitBlt(dc, 0, 0, kImageSize, kImageSize, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(hwnd, &paint);
    return 0;
}

LRESULT CALLBACK NoteWindowSteps::InnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<NoteWindowSteps*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || self->innerProc == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, self->inkBrush);
        return 1;
    }
    return CallWindowProcW(self->innerProc, hwnd, message, wParam, lParam);
}

}  // namespace bench
