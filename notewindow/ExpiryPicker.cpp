#include "notewindow/ExpiryPicker.h"

#include "notes/ExpiryRules.h"
#include "notewindow/NoteWindowMessages.h"
#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/RegisterClassOnce.h"
#include "process/Application.h"

#include <aygshell.h>
#include <cecompat.h>

namespace {

const wchar_t kPickerClass[] = L"DateTimePicker";

const int kPickerX = 78;
const int kPickerY = 70;
const int kPickerWidth = 163;
const int kPickerHeight = 189;

// 0x90800000 on the handheld. It also sets its caption-OK extended bit
// (0x80000000) on the pop-up; it has no caption to put the button in, and
// the desktop gives that bit no meaning, so only the tool window bit is kept.
const DWORD kPickerStyle = WS_POPUP | WS_VISIBLE | WS_BORDER;
const DWORD kPickerExStyle = WS_EX_TOOLWINDOW;

const int kTimeFieldId = 1003;
const DWORD kTimeFieldStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | DTS_TIMEFORMAT;  // 0x50810009
const int kCalendarId = 1005;
// 0x5081008D on the handheld: its month calendar with the "None" choice.
const DWORD kCalendarStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | MCS_DAYSTATE | MCS_WEEKNUMBERS | MCS_NOTODAYCIRCLE | CE_MCS_NONE;

const int kOkCommand = IDOK;

// The stylus messages of the handheld: WM_MOUSEFIRST to its WM_MOUSELAST.
const UINT kStylusFirst = 512;
const UINT kStylusLast = 522;

}  // namespace

ExpiryPicker::ExpiryPicker() = default;

ExpiryPicker::~ExpiryPicker()
{
    ClosePicker();
}

LRESULT CALLBACK ExpiryPicker::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<ExpiryPicker, &ExpiryPicker::popup, &ExpiryPicker::HandleMessage>(
        window, message, wParam, lParam);
}

bool ExpiryPicker::ShowPicker(HWND ownerWindow, HWND anchorWindow)
{
    // A second request while the pop-up is up (the owner posted 1134 twice)
    // keeps the choice in progress rather than leaving a pop-up behind.
    if (popup != nullptr) {
        SetForegroundWindow(popup);
        return true;
    }
    owner = ownerWindow;
    anchor = anchorWindow;
    x = kPickerX;
    y = kPickerY;
    width = kPickerWidth;
    height = kPickerHeight;
    closing = 0;
    changed = 0;
    touched = 0;

    OwnThreadSend::Watch();
    HINSTANCE instance = ProgramInstance();
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kPickerClass;
    if (!RegisterClassOnce(windowClass))
        return false;
    if (CreateWindowExW(kPickerExStyle, kPickerClass, L"", kPickerStyle, x, y, width, height, owner,
                        nullptr, instance, this) == nullptr)
        return false;
    if (!CreateControls(instance)) {
        ClosePicker();
        return false;
    }
    // A never-expiring time is no time for the controls: they keep the
    // current date and time they start with.
    if (!NeverExpires(workingExpiry)) {
        SendMessageW(timeField, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&workingExpiry));
        SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&workingExpiry));
    }
    ShowWindow(popup, SW_SHOWNORMAL);
    SetForegroundWindow(popup);
    // What the controls were set to above is not the user's doing.
    touched = 0;
    return true;
}

bool ExpiryPicker::CreateControls(HINSTANCE instance)
{
    timeField = CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", kTimeFieldStyle, -1, -1, 163, 20, popup,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTimeFieldId)), instance,
                                nullptr);
    calendar = CreateWindowExW(0, MONTHCAL_CLASSW, L"", kCalendarStyle, -1, 18, 163, 170, popup,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCalendarId)), instance,
                               nullptr);
    return timeField != nullptr && calendar != nullptr;
}

void ExpiryPicker::ClosePicker()
{
    if (popup == nullptr)
        return;
    // Destroying the active pop-up deactivates it: that is no choice of the
    // user's, so the deactivation handling must not run for it.
    closing = 1;
    DestroyWindow(popup);
    popup = nullptr;
    timeField = nullptr;
    calendar = nullptr;
}

bool ExpiryPicker::CloseTakingChoice()
{
    if (popup == nullptr)
        return false;
    if (touched)
        ReadChoice();
    ClosePicker();
    return changed != 0;
}

LRESULT ExpiryPicker::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        OnActivate(wParam);
        return 0;
    case WM_NOTIFY:
        if (OwnThreadSend::FromOwnThread(popup, message, wParam, lParam))
            OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_NCDESTROY:
        OnDestroyed();
        break;
    }
    return DefWindowProcW(popup, message, wParam, lParam);
}

void ExpiryPicker::OnActivate(WPARAM wParam)
{
    if (LOWORD(wParam) != WA_INACTIVE || closing)
        return;
    // The tap that took the activation away must not also press the clock
    // button (which would open the picker again) or write on the note.
    DiscardPendingStylus(anchor);
    DiscardPendingStylus(owner);
    SipShowIM(SIPF_OFF);
    ReadChoice();
    PostMessageW(owner, kMsgPickerClosed, 0, 0);
    ClosePicker();
}

void ExpiryPicker::DiscardPendingStylus(HWND window)
{
    if (window == nullptr)
        return;
    MSG pending;
    while (PeekMessageW(&pending, window, kStylusFirst, kStylusLast, PM_REMOVE)) {
    }
}

void ExpiryPicker::OnNotify(const NMHDR* header)
{
    if (header == nullptr)
        return;
    if ((header->idFrom == kTimeFieldId && header->code == static_cast<UINT>(DTN_DATETIMECHANGE)) ||
        (header->idFrom == kCalendarId && header->code == static_cast<UINT>(MCN_SELCHANGE)))
        touched = 1;
    if (header->idFrom == kTimeFieldId) {
        if (header->code == static_cast<UINT>(NM_SETFOCUS))
            SipShowIM(SIPF_ON);
        else if (header->code == static_cast<UINT>(NM_KILLFOCUS))
            SipShowIM(SIPF_OFF);
    } else if (header->idFrom == kCalendarId && header->code == CE_MCN_NODATE) {
        closing = 1;
        changed = 1;
        workingExpiry.wHour = kNeverExpiresHour;
        PostMessageW(owner, kMsgPickerClosed, 0, 0);
        ClosePicker();
    }
}

void ExpiryPicker::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != kOkCommand)
        return;
    // The owner takes command 1 as its own Done, which closes the note and
    // the pop-up with it; the choice is read first so that Done saves it.
    ReadChoice();
    PostMessageW(owner, kMsgPickerClosed, 0, 0);
    PostMessageW(owner, WM_COMMAND, wParam, lParam);
}

void ExpiryPicker::OnDestroyed()
{
    // The pop-up also goes when its owner is destroyed first.
    popup = nullptr;
    timeField = nullptr;
    calendar = nullptr;
}

void ExpiryPicker::ReadChoice()
{
    SYSTEMTIME date = {};
    SYSTEMTIME time = {};
    if (!SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date)) ||
        SendMessageW(timeField, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) {
        // Nothing readable was chosen: the working expiry stays as it was.
        changed = 0;
        return;
    }
    SYSTEMTIME chosen = workingExpiry;
    chosen.wYear = date.wYear;
    chosen.wMonth = date.wMonth;
    chosen.wDayOfWeek = date.wDayOfWeek;
    chosen.wDay = date.wDay;
    chosen.wHour = time.wHour;
    chosen.wMinute = time.wMinute;
    chosen.wSecond = time.wSecond;
    // A never-expiring note always differs from any time shown.
    if (NeverExpires(workingExpiry) || CompareTimes(chosen, workingExpiry) != 0) {
        workingExpiry = chosen;
        changed = 1;
    } else {
        changed = 0;
    }
}
