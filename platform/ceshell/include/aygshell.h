// The Pocket PC shell library: menu bars, dialog sizing, full-screen
// windows, the input panel and the tap-and-hold gesture. Program code
// includes this and reads as handheld code; the names and values are the
// handheld's.
//
// Screen areas of the 240 x 320 device: navigation bar y 0-26, work area
// 26-294, menu bar 294-320; the input panel, when up, covers the 80 pixels
// above the menu bar (y 214-294).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "cecompat.h"

#ifdef __cplusplus
extern "C" {
#endif

// ---------------------------------------------------------------------------
// Menu bar
// ---------------------------------------------------------------------------
//
// A menu bar is built from an RCDATA resource and a MENU resource of the same
// id (nToolBarId). The RCDATA is a list of 16-bit words, the handheld's own
// layout, so that the handheld's resources build unchanged:
//
//   word 0      the id of the MENU resource whose sub-menus the drop-down
//               buttons open (normally nToolBarId itself)
//   word 1      the number of buttons that follow
//   then, per button, 7 words:
//     image     index into the bar's image strip, or I_IMAGENONE (-2) for a
//               text button
//     command   WM_COMMAND id sent to the bar's owner when a plain button is
//               tapped (also the button's command for TB_* messages)
//     state     TBSTATE_* (TBSTATE_ENABLED 4)
//     style     TBSTYLE_* ; TBSTYLE_DROPDOWN (8) makes a drop-down button,
//               TBSTYLE_AUTOSIZE (16) sizes it to its label
//     label     string table id of the button's label; 0 for none
//     reserved  0
//     sub-menu  position of the sub-menu in the MENU that a drop-down button
//               opens, or NOMENU (0xFFFF)
//
// Example:
//   IDM_MAIN RCDATA
//   BEGIN
//       IDM_MAIN, 2,
//       I_IMAGENONE, IDM_NEW, TBSTATE_ENABLED, TBSTYLE_AUTOSIZE, IDS_NEW, 0, NOMENU,
//       I_IMAGENONE, IDM_TOOLS, TBSTATE_ENABLED, TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE,
//           IDS_TOOLS, 0, 1,
//   END
//
// With SHCMBF_HMENU, or when there is no RCDATA of that id, the bar is made
// from the MENU alone: a drop-down button for each top-level pop-up (labelled
// with its text), a plain button for each top-level command.
//
// hwndMB is the bar's toolbar: the toolbar messages (TB_ADDBUTTONSW,
// TB_ENABLEBUTTON, ..., CommandBar_AddBitmap) go to it. Tool buttons appended
// after the bar's own buttons send WM_COMMAND to the owner too.

typedef struct tagSHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
} SHMENUBARINFO, *PSHMENUBARINFO;

#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004
#define SHCMBF_COLORBK 0x0008
#define SHCMBF_HMENU 0x0010

// Menu-bar messages (sent to hwndMB).
#define SHCMBM_SETSUBMENU (WM_USER + 400)  // wParam command, lParam HMENU: returns the one it replaces
#define SHCMBM_GETSUBMENU (WM_USER + 401)  // wParam 0, lParam command: that button's sub-menu
#define SHCMBM_GETMENU (WM_USER + 402)     // 1426: the bar's menu
#define SHCMBM_OVERRIDEKEY (WM_USER + 403)

// The sub-menu index of a button without one.
#define NOMENU 0xFFFF

#ifndef I_IMAGENONE
#define I_IMAGENONE (-2)
#endif

// The handheld's toolbar takes its tooltips as an array of string pointers,
// one per button position: wParam the number of pointers, lParam the array
// (the strings are copied). The handheld numbers the message WM_USER + 81;
// the desktop's TB_SETTOOLTIPS is WM_USER + 36 and takes a tooltip window,
// and its WM_USER + 81 is TB_INSERTMARKHITTEST. Program code keeps the
// handheld's name and number; the menu bar's toolbar understands both
// numbers in the array form.
#define CE_TB_SETTOOLTIPS (WM_USER + 81)
#ifdef TB_SETTOOLTIPS
#undef TB_SETTOOLTIPS
#endif
#define TB_SETTOOLTIPS CE_TB_SETTOOLTIPS

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* pmbi);

// ---------------------------------------------------------------------------
// Dialogs and full-screen windows
// ---------------------------------------------------------------------------

typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

#define SHIDIM_FLAGS 0x0001

#define SHIDIF_DONEBUTTON 0x0001           // the navigation bar shows "ok", which sends IDOK
#define SHIDIF_SIZEDLG 0x0002              // the work area less the input panel when it is up
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004    // the work area, whatever the input panel does
#define SHIDIF_SIPDOWN 0x0008              // lower the input panel
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010  // the work area and the menu bar's band
#define SHIDIF_EMPTYMENU 0x0020            // give the dialog an empty menu bar

BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi);

#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020

BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD dwState);

// ---------------------------------------------------------------------------
// Input panel
// ---------------------------------------------------------------------------

typedef struct tagSIPINFO {
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop;  // the work area the panel leaves free
    RECT rcSipRect;         // where the panel is (or would be)
    DWORD dwImDataSize;
    void* pvImData;
} SIPINFO, *PSIPINFO;

#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

// SystemParametersInfo actions of the input panel. The desktop has neither
// (224 and 225 are unused there); a change of the panel reaches every
// top-level window as WM_SETTINGCHANGE with wParam SPI_SETSIPINFO.
#ifndef SPI_SETSIPINFO
#define SPI_SETSIPINFO 224
#endif
#ifndef SPI_GETSIPINFO
#define SPI_GETSIPINFO 225
#endif

BOOL WINAPI SipShowIM(DWORD dwFlag);
BOOL WINAPI SipGetInfo(SIPINFO* pSipInfo);
BOOL WINAPI SHSipInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);

// ---------------------------------------------------------------------------
// Tap-and-hold
// ---------------------------------------------------------------------------

typedef struct tagSHRGI {
    DWORD cbSize;
    HWND hwndClient;  // the window the stylus went down in
    POINT ptDown;     // where, in hwndClient's client coordinates
    DWORD dwFlags;
} SHRGINFO, *PSHRGINFO;

#define SHRG_RETURNCMD 0x00000001     // return GN_CONTEXTMENU for a hold, 0 otherwise
#define SHRG_NOTIFYPARENT 0x00000002  // send the hold to hwndClient's parent, return its answer
#define SHRG_LONGDELAY 0x00000008     // wait longer before calling it a hold
#define SHRG_NOANIMATION 0x00000010

#define GN_CONTEXTMENU 1000

// WM_NOTIFY payload of a hold: hdr.code GN_CONTEXTMENU, hdr.hwndFrom the
// client, ptAction the stylus point in the client's coordinates.
typedef struct tagNMRGINFO {
    NMHDR hdr;
    POINT ptAction;
    DWORD dwItemSpec;
} NMRGINFO, *PNMRGINFO;

DWORD WINAPI SHRecognizeGesture(SHRGINFO* shrg);

#ifdef __cplusplus
}
#endif
