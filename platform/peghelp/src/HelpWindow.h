// PegHelp's window: the topic's text over the work area and a Done button
// below it. The navigation bar's ok button does the same as Done.
#pragma once

#include "platform/peghelp/src/HelpView.h"

namespace peghelp {

class HelpWindow {
public:
    static constexpr int kTop = 26;
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 294;  // down to the bottom: the Done strip is its menu bar
    static constexpr int kButtonStrip = 28;

    explicit HelpWindow(const HelpDocument& document);
    virtual ~HelpWindow();

    // endsProgram: closing the window ends the message loop.
    bool Create(HINSTANCE instance, bool endsProgram);
    HWND Window() const { return window_; }
    HelpView& View() { return view_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnDestroy();

    HelpView view_;
    HWND window_;
    HWND doneButton_;
    HINSTANCE instance_;
    bool endsProgram_;
};

}  // namespace peghelp
