// The small recorder bar at the bottom of the control: a record/stop
// button, a play button for the latest recording, and what the recorder is
// doing (including that there is no sound input and silence is recorded).
#pragma once

#include "InkRecorder.h"

#include <windows.h>

#define INKX_RECORDER_BAR_CLASS_NAME L"InkXRecorderBar"

const int kInkRecorderBarHeight = 22;
// Sent by the bar to the control window to play the latest recording.
const UINT kInkMsgPlayLatest = WM_APP + 40;

class InkRecorderBar {
public:
    static bool Register(HINSTANCE instance);
    static InkRecorderBar* Create(HINSTANCE instance, HWND frame, const InkRecorder* recorder);

    HWND Window() const { return hwnd_; }
    // Repaints, and keeps the status as the window's text, where a program
    // or a test can read it.
    void Refresh();

private:
    InkRecorderBar(HWND frame, const InkRecorder* recorder) : frame_(frame), recorder_(recorder) {}
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnTap(POINT p);
    void StatusText(wchar_t* out, size_t count) const;

    HWND hwnd_ = nullptr;
    HWND frame_;
    const InkRecorder* recorder_;
};
