// The navigation bar along the top of the screen: the Start flag, the title
// of the window in front, the clock, and the "ok" button for a window that
// asked for one. Wine tells no other process when the foreground or a title
// changes, so the bar looks at the window in front for a few seconds after
// each tap, key or new window (Wake), and at every minute for its clock.
#pragma once

#include "platform/shell/src/StartMenu.h"

#include <windows.h>

namespace shell {

class NavBar {
public:
    static constexpr int kStartWidth = 60;
    static constexpr int kDoneLeft = 212;
    static constexpr UINT kPollMs = 250;
    // Looks after a wake: every kPollMs for long enough for a window to
    // come up and settle, then every kLatePollMs for a window shown late.
    static constexpr int kWakePolls = 12;
    static constexpr UINT kLatePollMs = 1000;
    static constexpr int kLatePolls = 12;
    // Polls after a change in front during which the bar restacks itself.
    static constexpr int kSettlePolls = 4;

    explicit NavBar(StartMenu& startMenu);
    virtual ~NavBar();

    bool Create(HINSTANCE instance);
    HWND Window() const { return window_; }

    // Looks at the window in front and redraws what changed.
    void Poll();
    // Looks now and for kWakePolls more polls.
    void Wake();
    // Polls for as long as the bar lives, for a device whose input cannot
    // be followed.
    void KeepLooking();
    // What a tap on the bar does at x.
    void Tap(int x);

    HWND Target() const { return target_; }
    bool DoneShown() const { return doneShown_; }
    bool StartShown() const { return !startHidden_; }
    bool Hidden() const { return hidden_; }
    const wchar_t* Title() const { return title_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnPaint();
    void DrawStartFlag(HDC dc) const;
    void DrawDoneButton(HDC dc) const;
    bool IsOwnWindow(HWND window) const;
    void AfterWakePoll();

    StartMenu& startMenu_;
    HWND window_;
    HWND target_;
    bool doneShown_;
    bool startHidden_;
    bool hidden_;
    int settlePolls_ = 0;
    int wakePolls_ = 0;
    bool keepLooking_ = false;
    wchar_t title_[256];
    wchar_t clock_[16];
    HFONT font_;
};

}  // namespace shell
