// The handheld's core calls and constants that desktop Win32 lacks or spells
// differently. Program code includes this and reads as handheld code.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

// EventModify and its three actions, as the handheld's kernel has them
// (SetEvent, ResetEvent and PulseEvent are macros over it there).
#ifndef EVENT_PULSE
#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET 3
#endif

BOOL WINAPI EventModify(HANDLE event, DWORD action);

// TransparentImage draws a source image with one colour left out. The
// source is either a device context or a bitmap, as on the handheld; a
// bitmap is selected into a memory context of its own for the copy.
BOOL WINAPI TransparentImage(HDC destination, LONG destX, LONG destY, LONG destWidth,
                             LONG destHeight, HANDLE source, LONG sourceX, LONG sourceY,
                             LONG sourceWidth, LONG sourceHeight, COLORREF transparent);

// Adds a strip of iNumImages images, each iImageWidth x iImageHeight, from
// bitmap resource idBitmap of hInst to a command bar (a toolbar here).
// Returns the index of the strip's first image, or -1.
int WINAPI CommandBar_AddBitmap(HWND hwndCB, HINSTANCE hInst, int idBitmap, int iNumImages,
                                int iImageWidth, int iImageHeight);

// ---------------------------------------------------------------------------
// Handheld constants. Each one is either missing on the desktop or means
// something else there; the program keeps the handheld's name and value and
// the translation, where one is needed, happens here and nowhere else.
// ---------------------------------------------------------------------------

// SystemParametersInfo action that names the platform ("PocketPC"). The
// desktop has no such action, so the call fails and the caller falls back
// to its non-handheld behaviour, which is what a desktop build should do.
#ifndef SPI_GETPLATFORMTYPE
#define SPI_GETPLATFORMTYPE 257
#endif

// Property sheet header flag: the sheet fills the screen. On the desktop
// the same bit is PSH_WIZARDCONTEXTHELP, so it must never reach
// PropertySheetW: pass the header's flags through CeTranslateSheetFlags.
#define CE_PSH_MAXIMIZE 0x00002000
#ifndef PSH_MAXIMIZE
#define PSH_MAXIMIZE CE_PSH_MAXIMIZE
#endif

// Sheet callback message asking which sheet style the program wants; the
// answer COMCTL32_VERSION selects the Pocket PC style. The desktop never
// sends it (its 3 is PSCB_BUTTONPRESSED, sent only to wizards of the Aero
// style), so a handler for it is harmless there.
#ifndef PSCB_GETVERSION
#define PSCB_GETVERSION 3
#endif
// The handheld's common controls version number (5.12 as 0x20C). The
// desktop's commctrl.h defines COMCTL32_VERSION as 6 or leaves it out.
#define CE_COMCTL32_VERSION 0x020C

// Hot-key modifier: report the key's release as well. Missing on the
// desktop, where RegisterHotKey refuses unknown modifier bits.
#ifndef MOD_KEYUP
#define MOD_KEYUP 0x1000
#endif

// Where the handheld's window user data lives. The handheld is 32-bit and
// names it GWL_USERDATA; on this 64-bit build the slot holds a pointer and
// is GWLP_USERDATA.
#define CE_GWL_USERDATA GWLP_USERDATA

// ---------------------------------------------------------------------------
// Common controls.
// ---------------------------------------------------------------------------

// The handheld's month calendar is made for its 240-pixel screen: a month
// fits 163 pixels across, with a "None" choice under the days for "no
// date". The desktop's calendar needs 170 x 97 pixels even with an 8-pixel
// font and has no such choice. So InitCommonControlsEx with
// ICC_DATE_CLASSES also registers the handheld-sized calendar, under the
// same class name "SysMonthCal32", as a class of the calling module: a
// window created with that module's instance finds it before comctl32's
// global class. Everything else is the real call.
BOOL WINAPI CeInitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);
#define InitCommonControlsEx CeInitCommonControlsEx

// Month calendar notification of the handheld: the user chose "None", no
// date (an NMHDR in WM_NOTIFY). The desktop's calendar never sends -745.
#define CE_MCN_NODATE (0U - 745U)
// Month calendar style bit of the handheld: show the "None" choice. On the
// desktop the same bit is MCS_SHORTDAYSOFWEEK; the compact calendar always
// writes short day names, so the bit is free to mean the handheld's choice.
#define CE_MCS_NONE 0x0080

// ---------------------------------------------------------------------------
// Windows and messages.
// ---------------------------------------------------------------------------

// CreateWindowExW as the handheld makes a top-level window: with only the
// frame its style asks for. Desktop Win32 adds a caption to every top-level
// window that is not a pop-up; a style that asks for one keeps it.
HWND WINAPI CeCreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                              int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
#define CreateWindowExW CeCreateWindowExW

// PeekMessageW as the handheld's single queue answers it. There a tap that
// changes the active window is still queued while the windows hear of the
// change (WM_ACTIVATE), so removing a window's pending stylus messages in
// that handler takes the tap with them. Wine changes the activation while it
// hands the tap out, after it has left the queue. So when a window's
// messages are removed (PM_REMOVE with a window) while the stylus is down and
// none of them is left, the press being handed out is dropped on its way to
// that window or one of its children.
BOOL WINAPI CePeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT flags);
#define PeekMessageW CePeekMessageW

// MessageBoxW as the handheld shows it: the box takes the screen's width,
// wraps its text beside the icon onto as many lines as it needs, with the
// buttons in a row below, and stays within the work area. Wine's box is laid
// out for a desktop screen, wider than the device's. The answer, buttons,
// icon, owner and modality are Wine's own; only the layout changes.
int WINAPI CeMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
#define MessageBoxW CeMessageBoxW

// Sizes the platform's windows keep on the 240 x 320 screen.
#define CE_NAVBAR_HEIGHT 26
#define CE_MENUBAR_HEIGHT 26

// Turns a handheld property sheet header's flags into desktop flags: drops
// PSH_MAXIMIZE, whose bit means something else on the desktop. The caller
// sizes the sheet to the work area itself.
inline DWORD CeTranslateSheetFlags(DWORD handheldFlags)
{
    return handheldFlags & ~static_cast<DWORD>(CE_PSH_MAXIMIZE);
}
