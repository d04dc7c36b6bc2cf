#include "TestWindows.h"

#include "aygshell.h"

namespace {

constexpr const wchar_t* kRecordingClass = L"CeShellTestRecordingWindow";

void RegisterRecordingClass(WNDPROC procedure)
{
    WNDCLASSW existing;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoW(instance, kRecordingClass, &existing))
        return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = kRecordingClass;
    RegisterClassW(&wc);
}

}  // namespace

RecordingWindow::RecordingWindow(HWND parent, DWORD style, int id)
{
    RegisterRecordingClass(Proc);
    DWORD fullStyle = style != 0 ? style : (parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_CAPTION);
    window_ = CreateWindowExW(0, kRecordingClass, L"Test window", fullStyle, 0, 0, 240, 320, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
}

RecordingWindow::~RecordingWindow()
{
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

size_t RecordingWindow::Count(UINT message) const
{
    size_t count = 0;
    for (const RecordedMessage& m : messages)
        count += m.message == message ? 1 : 0;
    return count;
}

size_t RecordingWindow::CountCommand(int command) const
{
    size_t count = 0;
    for (const RecordedMessage& m : messages)
        count += (m.message == WM_COMMAND && LOWORD(m.wParam) == command) ? 1 : 0;
    return count;
}

size_t RecordingWindow::CountSettingChange(WPARAM action) const
{
    size_t count = 0;
    for (const RecordedMessage& m : messages)
        count += (m.message == WM_SETTINGCHANGE && m.wParam == action) ? 1 : 0;
    return count;
}

LRESULT CALLBACK RecordingWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    RecordingWindow* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (self->onMessage)
        self->onMessage(message, wParam, lParam);
    self->messages.push_back(RecordedMessage{message, wParam, lParam});
    if (message == WM_NCDESTROY)
        self->window_ = nullptr;
    if (message == WM_NOTIFY && lParam != 0) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        self->lastNotifyValid = true;
        self->lastNotifyHeader = *header;
        if (header->code == GN_CONTEXTMENU)
            self->lastNotifyPoint = reinterpret_cast<const NMRGINFO*>(lParam)->ptAction;
        return self->notifyAnswer;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done())
            return true;
        ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        DWORD wait = static_cast<DWORD>(deadline - now);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait < 20 ? wait : 20, QS_ALLINPUT);
    }
}

void PumpFor(DWORD timeoutMs)
{
    PumpUntil([] { return false; }, timeoutMs);
}
