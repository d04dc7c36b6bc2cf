// Windows that record what they receive, and a bounded message pump, for the
// shell library's tests.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A window that keeps every message it gets and answers WM_NOTIFY with
// notifyAnswer. Top-level when parent is null.
class RecordingWindow {
public:
    RecordingWindow(HWND parent = nullptr, DWORD style = 0, int id = 0);
    ~RecordingWindow();

    HWND Handle() const { return window_; }
    std::vector<RecordedMessage> messages;
    LRESULT notifyAnswer = 0;
    // Run for every message before it is recorded.
    std::function<void(UINT, WPARAM, LPARAM)> onMessage;

    size_t Count(UINT message) const;
    size_t CountCommand(int command) const;
    size_t CountSettingChange(WPARAM action) const;
    // The last WM_NOTIFY payload of the given code (copied when received).
    bool lastNotifyValid = false;
    NMHDR lastNotifyHeader = {};
    POINT lastNotifyPoint = {};

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

// Dispatches messages (translated, as a program's loop does) until done
// returns true or timeoutMs pass; returns done's last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);

// Dispatches what is queued now, and a little more for timeoutMs.
void PumpFor(DWORD timeoutMs);
