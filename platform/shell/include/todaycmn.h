// The Today screen's interface with its items, as the handheld's todaycmn.h
// has it: the list entry the host hands to an item library, the messages
// between host and item window, and the library's export ordinals.
#pragma once

#include <windows.h>

#define k_cTodayItemsMax 12

// Export ordinals of an item library.
#define ORDINAL_INITIALIZEITEM 240
#define ORDINAL_OPTIONSDIALOGPROC 241

// Dialog resource of an item library that holds its options.
#define IDD_TODAY_CUSTOM 500

typedef enum _TODAYLISTITEMTYPE {
    tlitOwnerInfo = 0,
    tlitAppointments,
    tlitMail,
    tlitTasks,
    tlitCustom,  // 4: an item supplied by a library
    tlitNil
} TODAYLISTITEMTYPE;

#define MAX_ITEMNAME 32

typedef struct _TODAYLISTITEM {
    WCHAR szName[MAX_ITEMNAME];  // the item's key name in the Today list
    TODAYLISTITEMTYPE tlit;
    DWORD dwOrder;
    DWORD cyp;                    // height the item asks for, in pixels
    BOOL fEnabled;
    BOOL fOptions;                // the library has an options dialog
    DWORD grflags;
    WCHAR szDLLPath[MAX_PATH];
    HINSTANCE hinstDLL;
    HWND hwndCustom;
    BOOL fSizeOnDraw;
    BYTE* prgbCachedData;
    DWORD cbCachedData;
} TODAYLISTITEM;

typedef HWND (*PFNCUSTOMINITIALIZEITEM)(TODAYLISTITEM*, HWND);
typedef BOOL (*PFNCUSTOMOPTIONSDLGPROC)(HWND, UINT, WPARAM, LPARAM);

// Host to item window.
#define WM_TODAYCUSTOM_CLEARCACHE (WM_USER + 242)         // 1266: reload your data
#define WM_TODAYCUSTOM_QUERYREFRESHCACHE (WM_USER + 243)  // 1267: wParam TODAYLISTITEM*; 1 = new cyp
#define WM_TODAYCUSTOM_RECEIVEDSELECTION (WM_USER + 244)
#define WM_TODAYCUSTOM_LOSTSELECTION (WM_USER + 245)
#define WM_TODAYCUSTOM_USERNAVIGATION (WM_USER + 246)
#define WM_TODAYCUSTOM_ACTION (WM_USER + 247)

// Item window to host (the Today screen window it was given).
#define TODAYM_GETCOLOR (WM_USER + 100)        // 1124: wParam TODAYCOLOR_*; result COLORREF
#define TODAYM_DRAWWATERMARK (WM_USER + 101)   // 1125: lParam TODAYDRAWWATERMARKINFO*
#define TODAYM_TOOKSELECTION (WM_USER + 102)

#define TODAYCOLOR_TEXT 0x10000004
#define TODAYCOLOR_HIGHLIGHT 0x10000022
#define TODAYCOLOR_HIGHLIGHTEDTEXT 0x10000023

typedef struct {
    HDC hdc;    // where to draw
    RECT rc;    // the part of hwnd to fill, in hwnd's client coordinates
    HWND hwnd;  // the item window
} TODAYDRAWWATERMARKINFO;
