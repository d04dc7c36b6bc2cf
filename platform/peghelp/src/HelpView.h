// The scrolling text of one help topic: headings, paragraphs and list items
// wrapped to the width of the screen. Scrolls with its scroll bar, the arrow
// and page keys, the wheel, and a stylus dragged up or down.
#pragma once

#include "platform/peghelp/src/HelpDocument.h"
#include "platform/peghelp/src/HelpDcMeasure.h"
#include "platform/peghelp/src/HelpLayout.h"

#include <windows.h>


namespace peghelp {

class HelpView {
public:
    static constexpr int kMargin = 6;
    static constexpr int kLineStep = 16;

    explicit HelpView(const HelpDocument& document);
    virtual ~HelpView();

    bool Create(HWND parent, int x, int y, int width, int height, HINSTANCE instance);
    HWND Window() const { return window_; }

    int ContentHeight() const { return contentHeight_; }
    const HelpLayout& Layout() const { return layout_; }
    HFONT FontOf(BlockKind kind) const;
    int ScrollPosition() const { return scroll_; }
    int PageHeight() const;
    void ScrollTo(int position);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnDestroy();
    void OnPaint();
    void OnSize();
    void OnVScroll(int code);
    bool OnKeyDown(WPARAM key);
    void OnStylusDown(int y);
    void OnStylusMove(int y);

    void MakeFonts();
    int LeftOf(BlockKind kind) const;
    HelpLineStyle StyleOf(BlockKind kind) const;
    void Measure();
    void UpdateScrollBar();

    const HelpDocument& document_;
    HWND window_;
    HFONT titleFont_;
    HFONT headingFont_;
    HFONT bodyFont_;
    HelpLayout layout_;
    int layoutWidth_;
    int contentHeight_;
    int scroll_;
    int dragY_;
    bool dragging_;
};

}  // namespace peghelp
