// A parent window with one real ink control in it, for tests: records the
// WM_COMMAND notifications the control sends and streams content in and out.
#pragma once

#include "inkx.h"
#include "tests/support/TestWindow.h"

#include <windows.h>

#include <stdint.h>

#include <vector>

class InkHost {
public:
    InkHost(int width = 242, int height = 226);
    ~InkHost();

    HWND Parent() const { return parent_.Handle(); }
    HWND Control() const { return control_; }
    HWND Inner() const { return inner_; }
    // Width of the inner window's client area: a row of Capture().
    int InnerWidth() const;

    std::vector<uint8_t> StreamOut();
    // Returns the control's answer to EM_STREAMIN; chunk limits the bytes
    // handed out per callback.
    LRESULT StreamIn(const std::vector<uint8_t>& bytes, size_t chunk = 4096);

    // Synthetic stylus: a stroke through the points, in inner-window pixels.
    void Stroke(const std::vector<POINT>& points);
    void Type(const wchar_t* text);
    // A screenshot of the inner window as drawn now (32-bit pixels).
    std::vector<uint32_t> Capture() { return CaptureWindow(inner_); }
    static std::vector<uint32_t> CaptureWindow(HWND window);
    // Lets posted messages through.
    void Pump();

    // The parent's WM_COMMANDs: the id and the code in wParam, the sender
    // in lParam.
    MessageLog commands{kWParamField | kLParamField, kInkMessages};
    // Those with this code in the low word, from the control.
    size_t CountCommands(WORD low) const;

private:
    TestWindow parent_;
    HWND control_ = nullptr;
    HWND inner_ = nullptr;
};
