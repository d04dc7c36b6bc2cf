// InkPad: a small window for trying the ink control by hand. A row of
// buttons over the control: input mode, page style, zoom out and in, undo,
// the recorder bar, play the first recording, close.
#include "inkx.h"

#include "platform/common/RegisterClassOnce.h"

#include <mmsystem.h>
#include <richedit.h>

#include <string.h>

#include <vector>

namespace {

const int kControlId = 105;
const int kButtonHeight = 22;
const int kWindowWidth = 240;
const int kWindowHeight = 268;

enum Command { kCmdMode = 1, kCmdPage, kCmdZoomOut, kCmdZoomIn, kCmdUndo, kCmdRecorder, kCmdPlay, kCmdClose };

const wchar_t* const kLabels[] = {L"Pen", L"Page", L"Z-", L"Z+", L"Undo", L"Rec", L"Play", L"X"};
const WPARAM kPageStyles[] = {kInkPageBlank, kInkPageGrid, kInkPageRuled, kInkPageDotted,
                              kInkPageLeftMargin, kInkPageTopMargin, kInkPageLeftTopMargin};
const int kZooms[] = {25, 50, 75, 100, 150, 200, 300};

class InkPad {
public:
    bool Create(HINSTANCE instance);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnCommand(int id);
    void StepZoom(int direction);
    void PlayFirstRecording();

    HWND hwnd_ = nullptr;
    HWND control_ = nullptr;
    HWND inner_ = nullptr;
    HWND modeButton_ = nullptr;
    int mode_ = 0;
    size_t page_ = 0;
    bool recorder_ = false;
    std::vector<BYTE> sound_;
};

bool InkPad::Create(HINSTANCE instance)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"InkPad";
    if (!RegisterClassOnce(wc))
        return false;
    hwnd_ = CreateWindowExW(0, L"InkPad", L"InkPad", WS_POPUP | WS_VISIBLE, 0, 26, kWindowWidth,
                            kWindowHeight, nullptr, nullptr, instance, this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK InkPad::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    InkPad* pad = reinterpret_cast<InkPad*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        pad = static_cast<InkPad*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        pad->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pad));
    }
    if (pad == nullptr)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return pad->Handle(msg, wParam, lParam);
}

LRESULT InkPad::Handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) >= kCmdMode && LOWORD(wParam) <= kCmdClose && lParam != 0 &&
            reinterpret_cast<HWND>(lParam) != control_)
            OnCommand(LOWORD(wParam));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && control_ != nullptr)
            SetFocus(control_);
        return 0;
    case WM_DESTROY:
        PlaySoundW(nullptr, nullptr, 0);
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

void InkPad::OnCreate()
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
    int count = static_cast<int>(sizeof(kLabels) / sizeof(kLabels[0]));
    int width = kWindowWidth / count;
    for (int i = 0; i < count; ++i) {
        HWND b = CreateWindowExW(0, L"BUTTON", kLabels[i], WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                 i * width, 0, width, kButtonHeight, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCmdMode + i)),
                                 instance, nullptr);
        SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        if (i == 0)
            modeButton_ = b;
    }
    const DWORD controlStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | kInkHandheldStyles;
    control_ = CreateWindowExW(0, INKX_CLASS_NAME, L"", controlStyle, 0, kButtonHeight,
                               kWindowWidth, kWindowHeight - kButtonHeight, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                               instance, nullptr);
    if (control_ == nullptr)
        return;
    inner_ = reinterpret_cast<HWND>(SendMessageW(control_, kInkMsgGetInnerWindow, 0, 0));
    INT32 setup[kInkViewSetupValues] = {};
    setup[kInkViewSetupFlags] =
        kInkViewEditable | kInkViewScrollVertical | kInkViewScrollHorizontal | kInkViewShowRecordings;
    setup[kInkViewSetupPenWidth] = 2;
    setup[kInkViewSetupZoom] = 200;
    setup[kInkViewSetupPageStyle] = kInkPageBlank;
    setup[kInkViewSetupPenColour] = RGB(0, 0, 0);
    setup[kInkViewSetupFirstLine] = 0;
    SendMessageW(inner_, kInkMsgViewSetup, 0, reinterpret_cast<LPARAM>(setup));
    SendMessageW(inner_, kInkMsgSetInputMode, kInkModeWriting, 0);
    SendMessageW(inner_, kInkMsgSetZoom, 0, 200);
    SendMessageW(inner_, kInkMsgEmptyUndo, 0, 0);
    SetFocus(control_);
}

void InkPad::StepZoom(int direction)
{
    int zoom = static_cast<int>(SendMessageW(inner_, kInkMsgGetZoom, 0, 0));
    int n = static_cast<int>(sizeof(kZooms) / sizeof(kZooms[0]));
    int at = 3;
    for (int i = 0; i < n; ++i) {
        if (kZooms[i] == zoom)
            at = i;
    }
    at += direction;
    if (at < 0)
        at = 0;
    if (at >= n)
        at = n - 1;
    SendMessageW(inner_, kInkMsgSetZoom, 0, kZooms[at]);
}

void InkPad::OnCommand(int id)
{
    switch (id) {
    case kCmdMode: {
        static const wchar_t* const names[] = {L"Pen", L"Type", L"Erase"};
        mode_ = (mode_ + 1) % 3;
        SendMessageW(inner_, kInkMsgSetInputMode, static_cast<WPARAM>(mode_), 0);
        SetWindowTextW(modeButton_, names[mode_]);
        break;
    }
    case kCmdPage:
        page_ = (page_ + 1) % (sizeof(kPageStyles) / sizeof(kPageStyles[0]));
        PostMessageW(control_, kInkMsgSetPageStyle, kPageStyles[page_], 0);
        break;
    case kCmdZoomOut: StepZoom(-1); break;
    case kCmdZoomIn: StepZoom(1); break;
    case kCmdUndo:
        if (SendMessageW(inner_, kInkMsgCanUndo, 0, 0))
            SendMessageW(inner_, kInkMsgUndo, 0, 0);
        break;
    case kCmdRecorder:
        recorder_ = !recorder_;
        SendMessageW(control_, kInkMsgShowRecorder, recorder_ ? 1 : 0, 0);
        break;
    case kCmdPlay: PlayFirstRecording(); break;
    case kCmdClose: DestroyWindow(hwnd_); return;
    default: break;
    }
    SetFocus(control_);
}

DWORD CALLBACK CollectBytes(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* taken)
{
    std::vector<BYTE>* out = reinterpret_cast<std::vector<BYTE>*>(cookie);
    out->insert(out->end(), buffer, buffer + size);
    *taken = size;
    return 0;
}

void InkPad::PlayFirstRecording()
{
    PlaySoundW(nullptr, nullptr, 0);
    std::vector<BYTE> bytes;
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&bytes), 0, CollectBytes};
    SendMessageW(control_, kInkMsgStreamOut, kInkStreamFlags, reinterpret_cast<LPARAM>(&es));
    for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
        if (memcmp(&bytes[i], "RIFF", 4) == 0) {
            sound_.assign(bytes.begin() + static_cast<long>(i), bytes.end());
            PlaySoundW(reinterpret_cast<LPCWSTR>(sound_.data()), nullptr, SND_MEMORY | SND_ASYNC);
            return;
        }
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    if (!InitInkX())
        return 1;
    InkPad pad;
    if (!pad.Create(instance))
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
