#include "bench/BareNoteWindow.h"
#include "bench/BareList.h"
#include "bench/ProgramBench.h"

#include "formats/NoteLayout.h"
#include "notes/ExpiryRules.h"
#include "process/Settings.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <inkx.h>
#include <richedit.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

namespace bench {

namespace {

const wchar_t kBareClass[] = L"BenchBareNoteWnd";
const COLORREF kYellow = RGB(255, 255, 0);
// The note window's children, at its places.
const DWORD kTitleBoxStyle = 0x5020020A | CBS_AUTOHSCROLL;
const DWORD kInkStyle = 0x50B000CC;
const int kInkId = 105;
const int kImageSize = 16;
const RECT kStatusRect = {6, 26, 234, 41};

const TBBUTTON kToolButtons[] = {
    {3, IDM_NOTE_ZOOM_OUT, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
    {4, IDM_NOTE_ZOOM_IN, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
    {6, IDM_NOTE_UNDO, 0, BTNS_BUTTON, {0}, 0, 0},
    {0, -1, 0, BTNS_SEP, {0}, 0, 0},
    {5, IDM_NOTE_RECORD, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
    {8, IDM_NOTE_PEN_MODE, TBSTATE_ENABLED | TBSTATE_PRESSED, BTNS_BUTTON, {0}, 0, 0},
    {10, IDM_NOTE_GRID, TBSTATE_ENABLED, BTNS_BUTTON, {0}, 0, 0},
};
const int kToolButtonCount = 7;

// The images in the tool strip, counted once: a plain program knows its
// strip's size.
int ToolImageCount(HINSTANCE instance)
{
    static int count = 0;
    if (count == 0) {
        HBITMAP strip = LoadBitmapW(instance, MAKEINTRESOURCEW(IDB_NOTE_TOOLS));
        BITMAP info = {};
        if (strip != nullptr && GetObjectW(strip, sizeof(info), &info) == sizeof(info))
            count = info.bmWidth / kImageSize;
        if (strip != nullptr)
            DeleteObject(strip);
    }
    return count;
}

bool RegisterBareClass(HINSTANCE instance, WNDPROC procedure)
{
    static HBRUSH yellow = CreateSolidBrush(kYellow);
    WNDCLASSW existing;
    if (GetClassInfoW(instance, kBareClass, &existing))
        return true;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = yellow;
    windowClass.lpszClassName = kBareClass;
    return RegisterClassW(&windowClass) != 0;
}

}  // namespace

BareNoteWindow::~BareNoteWindow()
{
    Close();
}

bool BareNoteWindow::Open(const wchar_t* path)
{
    Close();
    if (!ReadNoteBytes(path))
        return false;
    formats::NoteFields fields;
    formats::ReadNoteFields(bytes.data(), bytes.size(), &fields);
    if (!fields.Whole())
        return false;
    wchar_t title[formats::kNoteTitleUnits];
    for (size_t i = 0; i < formats::kNoteTitleUnits; ++i)
        title[i] = static_cast<wchar_t>(fields.title[i]);
    SYSTEMTIME expiry = {fields.expiry.year,   fields.expiry.month,  fields.expiry.dayOfWeek,
                         fields.expiry.day,    fields.expiry.hour,   fields.expiry.minute,
                         fields.expiry.second, fields.expiry.milliseconds};
    ExpiryStatusText(expiry, true, fields.expired != 0, statusText, 256);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!RegisterBareClass(instance, WindowProc))
        return false;
    window = CreateWindowExW(0, kBareClass, L"Bare note", WS_POPUP, 0, 0, 240, 320, nullptr, nullptr, instance,
                             this);
    if (window == nullptr)
        return false;
    bench::LeaveWithoutPanelButton(window);
    MakeToolbar(instance);
    MakeTitleBox(instance, title);
    MakeBitmapStatic(instance, IDB_POPUP_BUTTON, 201, &popupBitmap);
    MakeBitmapStatic(instance, IDB_CLOCK_BUTTON, 220, &clockBitmap);
    if (!MakeInk(instance, int(fields.zoom), fields.data, fields.dataLength))
        return false;
    // The control holds the ink now: a plain program lets the file go.
    std::vector<BYTE>().swap(bytes);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    return true;
}

void BareNoteWindow::Close()
{
    if (window != nullptr)
        DestroyWindow(window);
    window = nullptr;
    inkInner = nullptr;
    for (HBITMAP* bitmap : {&popupBitmap, &clockBitmap}) {
        if (*bitmap != nullptr)
            DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
    bytes.clear();
}

// CreateFileW, its size, one ReadFile of the whole file, as the file-read
// floor does.
bool BareNoteWindow::ReadNoteBytes(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER length = {};
    DWORD got = 0;
    bool whole = GetFileSizeEx(file, &length) && length.QuadPart < 0x7FFFFFFF;
    if (whole) {
        bytes.resize(static_cast<size_t>(length.QuadPart));
        whole = ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size();
    }
    CloseHandle(file);
    return whole;
}

void BareNoteWindow::MakeToolbar(HINSTANCE instance)
{
    HWND toolbar = bench::MakeBareBand(window);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));
    TBADDBITMAP strip = {instance, IDB_NOTE_TOOLS};
    SendMessageW(toolbar, TB_ADDBITMAP, ToolImageCount(instance), reinterpret_cast<LPARAM>(&strip));
    SendMessageW(toolbar, TB_ADDBUTTONSW, kToolButtonCount, reinterpret_cast<LPARAM>(kToolButtons));
}

// The titles as the program keeps them: "TitlesCount" and "Title0", ...
// under the settings key.
void BareNoteWindow::MakeTitleBox(HINSTANCE instance, const wchar_t* title)
{
    HWND box = CreateWindowExW(0, L"COMBOBOX", L"", kTitleBoxStyle, 5, 4, 192, 185, window, nullptr, instance,
                               nullptr);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD count = 0, size = sizeof(count);
        RegQueryValueExW(key, L"TitlesCount", nullptr, nullptr, reinterpret_cast<BYTE*>(&count), &size);
        for (DWORD i = 0; i < count; ++i) {
            wchar_t name[32], text[261] = L"";
            _snwprintf(name, 32, L"Title%lu", static_cast<unsigned long>(i));
            DWORD textSize = sizeof(text) - sizeof(wchar_t);
            if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &textSize) ==
                ERROR_SUCCESS)
                SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        RegCloseKey(key);
    }
    SendMessageW(box, CB_SETCURSEL, 0, 0);
    SetWindowTextW(box, title);
}

HWND BareNoteWindow::MakeBitmapStatic(HINSTANCE instance, int bitmapId, int x, HBITMAP* bitmap)
{
    HWND image = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, x, 6, kImageSize,
                                 kImageSize, window, nullptr, instance, nullptr);
    *bitmap = LoadBitmapW(instance, MAKEINTRESOURCEW(bitmapId));
    SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(*bitmap));
    return image;
}

bool BareNoteWindow::MakeInk(HINSTANCE instance, int zoom, const BYTE* ink, size_t inkLength)
{
    HWND control = CreateWindowExW(0, INKX_CLASS_NAME, L"", kInkStyle, -1, 44, 242, 226, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kInkId)), instance, nullptr);
    if (control == nullptr)
        return false;
    inkInner = reinterpret_cast<HWND>(SendMessageW(control, kInkMsgGetInnerWindow, 0, 0));
    // The note's zoom comes with the view set-up instead of a message of its own.
    INT32 setup[6] = {kInkViewEditable | kInkViewScrollVertical | kInkViewScrollHorizontal | kInkViewShowRecordings,
                      2, zoom, INT32(kInkPageBlank), 0, 0};
    SendMessageW(inkInner, kInkMsgViewSetup, 0, reinterpret_cast<LPARAM>(setup));
    streamAt = ink;
    streamLeft = ink != nullptr ? inkLength : 0;
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(this), 0, StreamIn};
    SendMessageW(control, kInkMsgStreamIn, kInkStreamFlags, reinterpret_cast<LPARAM>(&stream));
    return inkInner != nullptr;
}

DWORD CALLBACK BareNoteWindow::StreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* given)
{
    BareNoteWindow* self = reinterpret_cast<BareNoteWindow*>(cookie);
    size_t n = count > 0 && size_t(count) < self->streamLeft ? size_t(count) : self->streamLeft;
    memcpy(buffer, self->streamAt, n);
    self->streamAt += n;
    self->streamLeft -= n;
    *given = LONG(n);
    return 0;
}

void BareNoteWindow::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HGDIOBJ previousFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkColor(dc, kYellow);
    RECT text = kStatusRect;
    DrawTextW(dc, statusText, -1, &text, DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, previousFont);
    EndPaint(window, &paint);
}

LRESULT CALLBACK BareNoteWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<BareNoteWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_PAINT && self != nullptr && self->window == hwnd) {
        self->OnPaint();
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace bench
