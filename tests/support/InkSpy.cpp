#include "tests/support/InkSpy.h"

#include "notewindow/InkControlMessages.h"

#include <richedit.h>
#include <string.h>

InkSpyConfig InkSpy::config;
std::vector<uint8_t> InkSpy::streamedIn;
int InkSpy::streamOutCount = 0;
HWND InkSpy::lastControl = nullptr;
HWND InkSpy::lastInner = nullptr;
INT32 InkSpy::lastViewSetup[6] = {};
std::vector<UINT32> InkSpy::lastMarks;
MessageLog InkSpy::log(kAllFields, kInkMessages);

static const wchar_t kInnerClass[] = L"InkXSpyInner";

static bool IsProtocol(UINT msg)
{
    static const UINT kProtocol[] = {
        kInkGetInnerWindow, kInkSetPageStyle, kInkGetModified, kInkStreamIn,
        kInkStreamOut, kInkShowRecorder, kInkStopRecording, kInkStartRecording,
        kInkViewSetup, kInkSetInputMode, kInkSetZoom, kInkGetZoom,
        kInkCanUndo, kInkUndo, kInkEmptyUndoBuffer, kInkMarkText, WM_CUT, WM_COPY, WM_PASTE,
        WM_SETFOCUS, WM_KEYUP, WM_TIMER, WM_ERASEBKGND};
    for (UINT m : kProtocol) {
        if (m == msg)
            return true;
    }
    return false;
}

static void Record(const char* window, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kInkViewSetup && lParam != 0)
        memcpy(InkSpy::lastViewSetup, reinterpret_cast<const INT32*>(lParam), sizeof(InkSpy::lastViewSetup));
    if (msg == kInkMarkText) {
        const UINT32* parts = reinterpret_cast<const UINT32*>(lParam);
        InkSpy::lastMarks.assign(parts, parts + 2 * wParam);
    }
    InkSpy::log.Record(window, hwnd, msg, wParam, lParam);
}

static void StreamOut(EDITSTREAM* es)
{
    ++InkSpy::streamOutCount;
    std::vector<uint8_t> bytes = InkSpy::config.content;
    if (InkSpy::streamOutCount > 1)
        bytes.resize(bytes.size() + InkSpy::config.extraOnSecondOut, 0xEE);
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t n = bytes.size() - pos;
        if (n > InkSpy::config.outChunk)
            n = InkSpy::config.outChunk;
        LONG taken = 0;
        if (es->pfnCallback(es->dwCookie, bytes.data() + pos, static_cast<LONG>(n), &taken) != 0 ||
            taken <= 0)
            break;
        pos += static_cast<size_t>(taken);
    }
}

static void StreamIn(EDITSTREAM* es)
{
    InkSpy::streamedIn.clear();
    std::vector<uint8_t> chunk(InkSpy::config.inChunk);
    for (int guard = 0; guard < 1000000; ++guard) {
        LONG given = 0;
        if (es->pfnCallback(es->dwCookie, chunk.data(), static_cast<LONG>(chunk.size()), &given) != 0 ||
            given <= 0)
            break;
        InkSpy::streamedIn.insert(InkSpy::streamedIn.end(), chunk.begin(), chunk.begin() + given);
    }
}

static LRESULT CALLBACK InnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Record("I", hwnd, msg, wParam, lParam);
    switch (msg) {
    case kInkCanUndo: return InkSpy::config.canUndo;
    case kInkGetZoom: return InkSpy::config.zoomAnswer;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Record("C", hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE:
        InkSpy::lastControl = hwnd;
        InkSpy::lastInner = CreateWindowExW(0, kInnerClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                                            hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
        return 0;
    case kInkGetInnerWindow: return reinterpret_cast<LRESULT>(InkSpy::lastInner);
    case kInkGetModified: return InkSpy::config.modified;
    case kInkStreamOut: StreamOut(reinterpret_cast<EDITSTREAM*>(lParam)); return 0;
    case kInkStreamIn: StreamIn(reinterpret_cast<EDITSTREAM*>(lParam)); return 0;
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void InkSpy::Register()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    log.Keep(IsProtocol);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"InkX";
    RegisterClassW(&wc);
    wc.lpfnWndProc = InnerProc;
    wc.lpszClassName = kInnerClass;
    RegisterClassW(&wc);
}

void InkSpy::Reset()
{
    config = InkSpyConfig();
    streamedIn.clear();
    streamOutCount = 0;
    memset(lastViewSetup, 0, sizeof lastViewSetup);
    lastMarks.clear();
    log.Clear();
}

void InkSpy::ClearLog()
{
    log.Clear();
}
