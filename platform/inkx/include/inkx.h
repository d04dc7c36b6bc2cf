// The platform's rich-ink control: window class "InkX" in InkX.dll.
// A program calls InitInkX once, then creates "InkX" windows as children.
// The message numbers are the handheld's; programs use these names.
#pragma once

#include <windows.h>

#ifdef INKX_BUILDING_DLL
#define INKX_API __declspec(dllexport)
#else
#define INKX_API __declspec(dllimport)
#endif

// Window class of the control (the outer window a program creates).
#define INKX_CLASS_NAME L"InkX"

// The handheld's own style bits that its programs set on the control (its
// note window's control is 0x50B000CC); this control gives them no meaning.
// The scroll bar styles choose the view's scroll bars.
const DWORD kInkHandheldStyles = 0x000000CC;

// Sent to the control window.
const UINT kInkMsgGetInnerWindow = 1556;   // returns the inner editing window
const UINT kInkMsgSetPageStyle = 1311;     // wParam: one of kInkPage...
const UINT kInkMsgGetModified = 1538;      // non-zero when changed since creation / stream-in
const UINT kInkMsgShowRecorder = 1554;     // wParam 1 shows the recorder bar, 0 hides it
const UINT kInkMsgStopRecording = 1561;    // stops a recording in progress (no-op otherwise)
const UINT kInkMsgStartRecording = 1565;   // starts recording from the sound input
const UINT kInkMsgStreamIn = 1097;         // EM_STREAMIN: wParam format flags, lParam EDITSTREAM*
const UINT kInkMsgStreamOut = 1098;        // EM_STREAMOUT: wParam format flags, lParam EDITSTREAM*

// Sent to the inner window (the control window forwards them too).
const UINT kInkMsgViewSetup = 1356;        // lParam: const INT32[6], the view setup block below
const UINT kInkMsgSetInputMode = 1353;     // wParam: kInkModeWriting / Typing / Erasing
const UINT kInkMsgSetZoom = 1314;          // lParam: percent, clamped to 25..300
const UINT kInkMsgGetZoom = 1313;          // returns the zoom percent
const UINT kInkMsgCanUndo = 198;           // EM_CANUNDO
const UINT kInkMsgUndo = 1258;             // undo one step
const UINT kInkMsgEmptyUndo = 205;         // EM_EMPTYUNDOBUFFER
// This control's own addition: marks parts of the typed text, as a find
// marks the words it found. wParam: the number of parts; lParam: const
// UINT32[2 * wParam], each part's first character and length. The first
// part is scrolled into view; 0 parts clear the marks, and so does a
// stream-in. From a caller on the control's thread only.
const UINT kInkMsgMarkText = 1570;

// The stream format flags programs pass with EM_STREAMIN / EM_STREAMOUT.
const WPARAM kInkStreamFlags = 0x10802;

// Input modes (wParam of kInkMsgSetInputMode). Erasing is this control's
// own addition: the pen removes the strokes it touches.
const WPARAM kInkModeWriting = 0;
const WPARAM kInkModeTyping = 1;
const WPARAM kInkModeErasing = 2;

// Page styles (wParam of kInkMsgSetPageStyle); any other value is blank.
const WPARAM kInkPageLeftMargin = 0;
const WPARAM kInkPageTopMargin = 1;
const WPARAM kInkPageRuled = 2;
const WPARAM kInkPageGrid = 4;
const WPARAM kInkPageLeftTopMargin = 8;
const WPARAM kInkPageBlank = 16;
const WPARAM kInkPageDotted = 32;

// Notification codes, in the low word of WM_COMMAND to the control's parent
// (lParam: the control window; high word: the control id).
const WORD kInkNotifyInkChanged = 10003;   // a stroke was drawn or erased
const WORD kInkNotifyTextChanged = 10006;  // typed text or a recording changed
// Focus changes come as WM_COMMAND (control id, EN_SETFOCUS / EN_KILLFOCUS).

// The view setup block of kInkMsgViewSetup: kInkViewSetupValues 32-bit
// values, each at its place below. The program sends {15, 2, 200, 16, 0, 0}
// for an editor and {14, 2, 0, 16, 0, 0} for a read-only preview.
const int kInkViewSetupValues = 6;
// View flags: kInkViewEditable | kInkViewScrollVertical |
// kInkViewScrollHorizontal | kInkViewShowRecordings.
const int kInkViewSetupFlags = 0;
// Pen width in half pixels of the page at 100 % (1..16; others keep the
// current width): 2 writes a 1-pixel line at 100 %, 2 pixels at 200 %.
const int kInkViewSetupPenWidth = 1;
// Zoom percent (25..300); 0 fits the page width into the window.
const int kInkViewSetupZoom = 2;
// Page style, as kInkMsgSetPageStyle.
const int kInkViewSetupPageStyle = 3;
// Pen colour, a COLORREF (0 = black).
const int kInkViewSetupPenColour = 4;
// First content line shown (the scroll position, in text lines), 0 = top.
const int kInkViewSetupFirstLine = 5;

const INT32 kInkViewEditable = 1;
const INT32 kInkViewScrollVertical = 2;
const INT32 kInkViewScrollHorizontal = 4;
const INT32 kInkViewShowRecordings = 8;

#ifdef __cplusplus
extern "C" {
#endif
// Registers the "InkX" window class for the calling process; TRUE on success
// (also when already registered).
INKX_API BOOL WINAPI InitInkX(void);
#ifdef __cplusplus
}
#endif
