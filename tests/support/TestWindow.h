// A window of the test's own that records every message its procedure
// gets, as a parent, an owner or a stand-in for a program's window. What
// the test does not answer goes to DefWindowProcW.
#pragma once

#include "tests/support/MessageLog.h"

#include <windows.h>

#include <functional>

class TestWindow {
    MessageLog ownLog_;  // first: log may refer to it

public:
    // Into its own log: a popup with a caption, or a visible child of
    // parent, over the whole screen; or with style as given.
    explicit TestWindow(HWND parent = nullptr, DWORD style = 0, int id = 0);
    // Into a log the test shares between windows, under name; of a class
    // of the program's when it stands in for one of its windows.
    TestWindow(MessageLog& shared, const char* name, DWORD style, RECT place, HWND parent = nullptr,
               const wchar_t* title = L"", const wchar_t* windowClass = nullptr);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }

    MessageLog& log;
    // Run for every message once it is recorded.
    std::function<void(UINT, WPARAM, LPARAM)> onMessage;
    // Then asked: true when it answered the message, with *result.
    std::function<bool(UINT, WPARAM, LPARAM, LRESULT* result)> answer;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Create(const wchar_t* windowClass, DWORD style, RECT place, HWND parent, int id, const wchar_t* title);

    const char* name_;
    HWND window_ = nullptr;
};
