#include "InkRecorderBar.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

#include "inkx.h"

#include <stdio.h>
#include <wchar.h>
#include <windowsx.h>

// The object lives in the window's extra bytes, not its user data: programs
// subclass the inner window and keep their own object in its user data.
static const int kObjectSlot = 0;
static const RECT kRecordButton = {2, 2, 48, kInkRecorderBarHeight - 2};
static const RECT kPlayButton = {50, 2, 90, kInkRecorderBarHeight - 2};

bool InkRecorderBar::Register(HINSTANCE instance)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = INKX_RECORDER_BAR_CLASS_NAME;
    return RegisterClassOnce(wc);
}

InkRecorderBar* InkRecorderBar::Create(HINSTANCE instance, HWND frame, const InkRecorder* recorder)
{
    InkRecorderBar* bar = new InkRecorderBar(frame, recorder);
    HWND hwnd = CreateWindowExW(0, INKX_RECORDER_BAR_CLASS_NAME, L"", WS_CHILD | WS_CLIPSIBLINGS,
                                0, 0, 10, kInkRecorderBarHeight, frame, nullptr, instance, bar);
    if (hwnd == nullptr) {
        delete bar;
        return nullptr;
    }
    return bar;
}

LRESULT CALLBACK InkRecorderBar::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(hwnd, msg, wParam, lParam);
    InkRecorderBar* bar = reinterpret_cast<InkRecorderBar*>(GetWindowLongPtrW(hwnd, kObjectSlot));
    // A creation message sent again by someone else carries no object of
    // ours, nor a reason to build the window again.
    if (CheckCreation(hwnd, msg, bar != nullptr) == Creation::Repeated)
        return 0;
    if (msg == WM_NCCREATE) {
        bar = static_cast<InkRecorderBar*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        bar->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, kObjectSlot, reinterpret_cast<LONG_PTR>(bar));
    }
    if (bar == nullptr)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_PAINT: bar->OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN: bar->OnTap({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtrW(hwnd, kObjectSlot, 0);
        LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
        delete bar;
        return r;
    }
    default: return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void InkRecorderBar::Refresh()
{
    InvalidateRect(hwnd_, nullptr, FALSE);
    wchar_t status[64], shown[64];
    StatusText(status, 64);
    if (GetWindowTextW(hwnd_, shown, 64) == 0 || wcscmp(shown, status) != 0)
        SetWindowTextW(hwnd_, status);
}

void InkRecorderBar::StatusText(wchar_t* out, size_t count) const
{
    unsigned seconds = recorder_->ElapsedMs() / 1000;
    unsigned longest = recorder_->LongestMs() / 1000;
    if (!recorder_->Recording() && recorder_->ReachedLongest())
        _snwprintf(out, count, L"Longest (%u:%02u) reached: kept", longest / 60, longest % 60);
    else if (recorder_->Recording() && recorder_->WasSilent())
        _snwprintf(out, count, L"No sound input: silence %u:%02u", seconds / 60, seconds % 60);
    else if (recorder_->Recording())
        _snwprintf(out, count, L"Recording %u:%02u", seconds / 60, seconds % 60);
    else if (recorder_->WasSilent())
        _snwprintf(out, count, L"No sound input: silence kept");
    else
        _snwprintf(out, count, L"Ready");
    out[count - 1] = L'\0';
}

enum class Mark { Dot, Square, Triangle };

static void DrawButton(HDC dc, const RECT& r, const wchar_t* label, COLORREF colour, Mark mark)
{
    RECT face = r;
    DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    int h = r.bottom - r.top;
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    int s = h / 2 - 2;
    int x = r.left + 4, y = r.top + (h - s) / 2;
    if (mark == Mark::Dot) {
        Ellipse(dc, x, y, x + s + 1, y + s + 1);
    } else if (mark == Mark::Square) {
        Rectangle(dc, x, y, x + s, y + s);
    } else {
        POINT tri[3] = {{x, y}, {x + s, y + s / 2}, {x, y + s}};
        Polygon(dc, tri, 3);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
    RECT text = {x + s + 3, r.top, r.right - 2, r.bottom};
    DrawTextW(dc, label, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void InkRecorderBar::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    bool recording = recorder_->Recording();
    DrawButton(dc, kRecordButton, recording ? L"Stop" : L"Rec",
               recording ? RGB(40, 40, 40) : RGB(210, 30, 30), recording ? Mark::Square : Mark::Dot);
    DrawButton(dc, kPlayButton, L"Play", RGB(30, 120, 30), Mark::Triangle);
    wchar_t status[64];
    StatusText(status, 64);
    RECT text = {kPlayButton.right + 4, 0, client.right - 2, client.bottom};
    DrawTextW(dc, status, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    EndPaint(hwnd_, &ps);
}

void InkRecorderBar::OnTap(POINT p)
{
    if (PtInRect(&kRecordButton, p)) {
        SendMessageW(frame_, recorder_->Recording() ? kInkMsgStopRecording : kInkMsgStartRecording,
                     0, 0);
    } else if (PtInRect(&kPlayButton, p)) {
        SendMessageW(frame_, kInkMsgPlayLatest, 0, 0);
    }
    Refresh();
}
