// A stand-in for the platform's ink control: a window class "InkX" (and its
// inner window) registered by the test process, recording every message of
// the control's protocol, sent or posted, with its parameters ("C" the
// control, "I" the inner window), and answering as the test sets it up.
#pragma once

#include "tests/support/MessageLog.h"

#include <windows.h>

#include <stdint.h>

#include <vector>

struct InkSpyConfig {
    std::vector<uint8_t> content;   // what stream-out offers
    size_t outChunk = 4096;         // bytes per stream-out callback
    size_t extraOnSecondOut = 0;    // more bytes offered from the second stream-out on
    size_t inChunk = 4096;          // bytes asked per stream-in callback
    LRESULT modified = 0;
    LRESULT canUndo = 0;
    LRESULT zoomAnswer = 100;
};

class InkSpy {
public:
    static void Register();
    static void Reset();
    // The protocol messages recorded so far (window creation noise left out).
    static const MessageSequence& Protocol() { return log; }
    static void ClearLog();

    static InkSpyConfig config;
    static std::vector<uint8_t> streamedIn;
    static int streamOutCount;
    static HWND lastControl;
    static HWND lastInner;
    static INT32 lastViewSetup[6];  // the block of the last 1356
    static std::vector<UINT32> lastMarks;  // the parts of the last kInkMarkText
    static MessageLog log;
};
