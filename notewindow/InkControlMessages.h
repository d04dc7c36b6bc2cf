// Messages the program exchanges with the platform's ink control (class
// "InkX"), and the values they carry. One name per number, used by the
// wrapper, the note window and the tests alike.
#pragma once

#include <windows.h>

// To the control window.
const UINT kInkGetInnerWindow = 1556;
const UINT kInkSetPageStyle = 1311;       // posted; wParam: page style value
const UINT kInkGetModified = 1538;
const UINT kInkStreamIn = 1097;           // EM_STREAMIN
const UINT kInkStreamOut = 1098;          // EM_STREAMOUT
const UINT kInkShowRecorder = 1554;       // wParam 1 on, 0 off
const UINT kInkStopRecording = 1561;
const UINT kInkStartRecording = 1565;

// To the inner window.
const UINT kInkViewSetup = 1356;          // lParam: the set-up block below
const UINT kInkSetInputMode = 1353;       // wParam 0 writing, 1 typing
const UINT kInkSetZoom = 1314;            // lParam: percent
const UINT kInkGetZoom = 1313;
const UINT kInkCanUndo = 198;             // EM_CANUNDO
const UINT kInkUndo = 1258;
const UINT kInkEmptyUndoBuffer = 205;     // EM_EMPTYUNDOBUFFER
// The platform control's own: marks parts of the typed text (a find's
// words). wParam: count; lParam: UINT32 pairs, first character and length.
const UINT kInkMarkText = 1570;

const WPARAM kInkStreamFormat = 0x10802;

// The view set-up block of kInkViewSetup: kInkSetupValues 32-bit values, each
// at its place.
const int kInkSetupValues = 6;
const int kInkSetupFlags = 0;        // the kInkSetup... view flags below
const int kInkSetupPenWidth = 1;     // half pixels at 100 %
const int kInkSetupZoom = 2;         // percent; 0 fits the page width
const int kInkSetupPageStyle = 3;    // a page style value
const int kInkSetupPenColour = 4;    // a COLORREF
const int kInkSetupFirstLine = 5;    // the first text line shown, 0 = top
// View flags.
const INT32 kInkSetupEditable = 1;
const INT32 kInkSetupScrollVertical = 2;
const INT32 kInkSetupScrollHorizontal = 4;
const INT32 kInkSetupShowRecordings = 8;
// One pixel at 100 %.
const INT32 kInkThinPen = 2;

// Notifications from the control: WM_COMMAND low words.
const WORD kInkChangedByPen = 10003;
const WORD kInkChangedByTyping = 10006;

// Page style values, indexed by the "Page" setting.
const int kInkPageStyleCount = 7;
const WPARAM kInkPageStyleValues[kInkPageStyleCount] = {16, 4, 2, 32, 0, 1, 8};
const WPARAM kInkPageBlankValue = 16;

// The wrapper's repaint timer on the inner window.
const UINT_PTR kInkRepaintTimerId = 666;
const UINT kInkRepaintDelayMs = 2000;

// Window styles of the control: 0x50B000CC and 0x503000CC on the handheld.
// The low bits are the handheld's own ink-control styles; the platform's
// control gives them no meaning, and they are kept so the styles are the same.
const DWORD kInkHandheldStyleBits = 0x000000CC;
const DWORD kInkStyleBordered = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | kInkHandheldStyleBits;
const DWORD kInkStylePlain = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | kInkHandheldStyleBits;

// Sizes of the control in the note window.
const int kInkCompactWidth = 242;
const int kInkCompactHeight = 145;
const int kInkFullHeight = 226;
