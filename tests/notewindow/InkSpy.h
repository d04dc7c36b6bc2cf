// A stand-in for the platform's ink control: a window class "InkX" (and its
// inner window) registered by the test process, recording every message of
// the control's protocol, sent or posted, with its parameters, and
// answering as the test sets it up.
#pragma once

#include <windows.h>

#include <stdint.h>

#include <vector>

struct InkSpyMessage {
    char window;  // 'C' the control, 'I' the inner window
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
    INT32 block[6];  // the view setup block, for 1356
};

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
    // Delivers posted messages; those for the spy windows are recorded as posted.
    static void Pump();
    // The protocol messages recorded so far (window creation noise left out).
    static std::vector<InkSpyMessage> Protocol();
    static void ClearLog();

    static InkSpyConfig config;
    static std::vector<uint8_t> streamedIn;
    static int streamOutCount;
    static HWND lastControl;
    static HWND lastInner;
    static std::vector<InkSpyMessage> log;
};
