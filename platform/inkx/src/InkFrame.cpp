#include "InkFrame.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

#include "inkx.h"

// The object lives in the window's extra bytes, not its user data: programs
// subclass the inner window and keep their own object in its user data.
static const int kObjectSlot = 0;
static const UINT_PTR kRecorderTimer = 1;
static const UINT kRecorderPollMs = 100;

HINSTANCE InkFrame::module_ = nullptr;

bool InkFrame::Register(HINSTANCE instance)
{
    module_ = instance;
    WNDCLASSW wc = {};
    // Global: programs create the control with their own instance handle.
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = Proc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = INKX_CLASS_NAME;
    return RegisterClassOnce(wc);
}

LRESULT CALLBACK InkFrame::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(hwnd, msg, wParam, lParam);
    InkFrame* frame = reinterpret_cast<InkFrame*>(GetWindowLongPtrW(hwnd, kObjectSlot));
    // A creation message sent again by someone else carries no object of
    // ours, nor a reason to build the window again.
    if (CheckCreation(hwnd, msg, frame != nullptr) == Creation::Repeated)
        return 0;
    if (msg == WM_NCCREATE) {
        OwnThreadSend::Watch();
        frame = new InkFrame();
        frame->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, kObjectSlot, reinterpret_cast<LONG_PTR>(frame));
    }
    if (frame == nullptr)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, kObjectSlot, 0);
        LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
        delete frame;
        return r;
    }
    return frame->Handle(msg, wParam, lParam);
}

// The messages whose lParam is a pointer: posted, or sent from another
// thread or program, it points nowhere of ours.
static bool CarriesPointer(UINT msg)
{
    return msg == kInkMsgStreamIn || msg == kInkMsgStreamOut || msg == kInkMsgViewSetup || msg == kInkMsgMarkText;
}

LRESULT InkFrame::Handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (CarriesPointer(msg) && !OwnThreadSend::FromOwnThread(hwnd_, msg, wParam, lParam))
        return 0;
    HWND inner = view_ != nullptr ? view_->Window() : nullptr;
    switch (msg) {
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_TIMER:
        if (wParam == kRecorderTimer)
            OnTimer();
        return 0;
    case WM_SETFOCUS:
        if (inner != nullptr)
            SetFocus(inner);
        return 0;
    case kInkMsgGetInnerWindow: return reinterpret_cast<LRESULT>(inner);
    case kInkMsgShowRecorder: ShowRecorder(wParam != 0); return 0;
    case kInkMsgStartRecording: StartRecording(); return 0;
    case kInkMsgStopRecording: StopRecording(); return 0;
    case kInkMsgPlayLatest:
        if (view_ != nullptr && !view_->Document().Recordings().empty())
            view_->PlayRecording(view_->Document().Recordings().size() - 1);
        return 0;
    case kInkMsgStreamIn:
        return view_ != nullptr ? view_->StreamIn(reinterpret_cast<EDITSTREAM*>(lParam)) : 0;
    case kInkMsgStreamOut:
        return view_ != nullptr ? view_->StreamOut(reinterpret_cast<EDITSTREAM*>(lParam)) : 0;
    // The view's own messages work on the control window too.
    case kInkMsgSetPageStyle: case kInkMsgGetModified: case kInkMsgViewSetup:
    case kInkMsgSetInputMode: case kInkMsgSetZoom: case kInkMsgGetZoom: case kInkMsgCanUndo:
    case kInkMsgUndo: case kInkMsgEmptyUndo: case EM_UNDO: case WM_UNDO: case EM_GETMODIFY:
    case EM_SETMODIFY: case WM_CUT: case WM_COPY: case WM_PASTE: case WM_CLEAR: case kInkMsgMarkText:
        return inner != nullptr ? SendMessageW(inner, msg, wParam, lParam) : 0;
    default: return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

bool InkFrame::OnCreate()
{
    // Scroll bars asked of the control belong on the view, which scrolls.
    LONG style = GetWindowLongW(hwnd_, GWL_STYLE);
    DWORD scroll = static_cast<DWORD>(style) & (WS_VSCROLL | WS_HSCROLL);
    if (scroll != 0) {
        SetWindowLongW(hwnd_, GWL_STYLE, style & ~static_cast<LONG>(WS_VSCROLL | WS_HSCROLL));
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) | WS_CLIPCHILDREN);
    view_ = InkView::Create(module_, hwnd_, scroll != 0 ? scroll : WS_VSCROLL);
    if (view_ == nullptr)
        return false;
    bar_ = InkRecorderBar::Create(module_, hwnd_, &recorder_);
    Layout();
    return true;
}

void InkFrame::OnDestroy()
{
    KillTimer(hwnd_, kRecorderTimer);
    recorder_.Cancel();
    if (view_ != nullptr)
        view_->StopPlaying();
    // The children are destroyed (and delete themselves) with this window.
    view_ = nullptr;
    bar_ = nullptr;
}

void InkFrame::Layout()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    int barHeight = barShown_ && bar_ != nullptr ? kInkRecorderBarHeight : 0;
    if (bar_ != nullptr)
        MoveWindow(bar_->Window(), 0, client.bottom - barHeight, client.right, barHeight, TRUE);
    if (view_ != nullptr)
        MoveWindow(view_->Window(), 0, 0, client.right, client.bottom - barHeight, TRUE);
}

void InkFrame::ShowRecorder(bool show)
{
    if (bar_ == nullptr || show == barShown_)
        return;
    if (!show && recorder_.Recording())
        StopRecording();
    barShown_ = show;
    ShowWindow(bar_->Window(), show ? SW_SHOWNA : SW_HIDE);
    Layout();
}

void InkFrame::StartRecording()
{
    if (recorder_.Recording() || view_ == nullptr)
        return;
    if (view_ != nullptr)
        view_->StopPlaying();
    recorder_.Start();
    SetTimer(hwnd_, kRecorderTimer, kRecorderPollMs, nullptr);
    if (bar_ != nullptr)
        bar_->Refresh();
}

void InkFrame::StopRecording()
{
    if (!recorder_.Recording())
        return;
    KillTimer(hwnd_, kRecorderTimer);
    std::vector<uint8_t> wave = recorder_.Stop();
    if (view_ != nullptr)
        view_->AddRecording(static_cast<std::vector<uint8_t>&&>(wave));
    if (bar_ != nullptr)
        bar_->Refresh();
}

void InkFrame::OnTimer()
{
    recorder_.Poll();
    // What was recorded is kept, and the bar says why it stopped.
    if (recorder_.ElapsedMs() >= recorder_.LongestMs()) {
        recorder_.MarkLongestReached();
        StopRecording();
    }
    if (bar_ != nullptr)
        bar_->Refresh();
}
