// The control window of class "InkX": it holds the inner editing view and
// the recorder bar, answers the control's messages and passes the view's
// messages on to it.
#pragma once

#include "InkRecorder.h"
#include "InkRecorderBar.h"
#include "InkView.h"

#include <windows.h>

class InkFrame {
public:
    static bool Register(HINSTANCE instance);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    bool OnCreate();
    void OnDestroy();
    void Layout();
    void ShowRecorder(bool show);
    void StartRecording();
    void StopRecording();
    void OnTimer();

    // The module the control's classes are registered for; its children are
    // created with it, whatever instance the program created the control with.
    static HINSTANCE module_;

    HWND hwnd_ = nullptr;
    InkView* view_ = nullptr;
    InkRecorderBar* bar_ = nullptr;
    InkRecorder recorder_;
    bool barShown_ = false;
};
