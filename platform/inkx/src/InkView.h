// The inner editing window of the control: it owns the document, draws it
// at the current zoom and scroll position, and turns the stylus and the
// keyboard into strokes and text.
#pragma once

#include "InkDocument.h"
#include "InkPage.h"
#include "InkTextLayout.h"
#include "InkTyping.h"
#include "InkUndo.h"
#include "InkViewport.h"

#include <windows.h>
#include <richedit.h>

#include <stdint.h>

#include <vector>

#define INKX_VIEW_CLASS_NAME L"InkXInner"

class InkView {
public:
    static bool Register(HINSTANCE instance);
    // Creates the view as a child of the control window.
    static InkView* Create(HINSTANCE instance, HWND frame, DWORD scrollStyle);

    HWND Window() const { return hwnd_; }
    InkDocument& Document() { return doc_; }

    // Content operations used by the control window.
    LRESULT StreamIn(EDITSTREAM* stream);
    LRESULT StreamOut(EDITSTREAM* stream);
    void AddRecording(std::vector<uint8_t> wave);
    void PlayRecording(size_t index);
    void StopPlaying();
    void SetPageStyle(int style);

private:
    explicit InkView(HWND frame) : frame_(frame) {}
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    // Drawing and scrolling (InkView.cpp).
    void OnPaint();
    void PaintTo(HDC dc, const RECT& area);
    void PaintText(HDC dc);
    void PaintRecordings(HDC dc, const RECT& area);
    void OnEraseBackground(HDC dc);
    void OnSize();
    void OnScroll(int bar, int code);
    void ScrollTo(POINT originUnits);
    void UpdateScrollBars();
    // Scrolls the fewest units that bring the text row into the view.
    void ScrollRowIntoView(size_t row);
    void MarkText(const UINT32* parts, size_t count);
    void SetZoom(int percent);
    void FitZoomToWidth();
    void ViewSetup(const INT32* block);
    void SetMode(int mode);
    HDC TextDC();
    void ReleaseTextDC(HDC dc);
    void EnsureLayout();
    void InvalidateLayout();
    int TextBottomUnits();
    formats::TextRows IconRows() const;

    // Stylus, keys and editing (InkViewInput.cpp).
    void OnButtonDown(POINT p, bool erase);
    void OnDoubleTap(POINT p);
    void OnMouseMove(POINT p);
    void OnButtonUp(POINT p);
    void EraseAt(POINT screen);
    void FinishStroke();
    void OnChar(wchar_t c);
    void OnKeyDown(UINT key);
    void TypeText(const std::wstring& text, bool coalesce);
    // The typed text changed from before, with the caret at caret: undo
    // keeps the change, the view follows it and the parent hears of it.
    void TextEdited(const std::wstring& before, size_t caret, bool coalesce);
    void MoveCaret(size_t index, bool extend);
    size_t CaretAtPoint(POINT screen);
    void UpdateCaret(bool scrollIntoView);
    void OnFocus(bool gained);
    // Creates or removes the system caret to match focus and input mode.
    void ShowTypingCaret();
    void Undo();
    void Copy();
    void Cut();
    void Paste();
    // Writing mode's choice of strokes: a hold, then a drag around them.
    void ChooseInLasso();
    void EndChoice();
    // Takes the chosen strokes out, as an eraser would; false with none.
    bool RemoveChosen();
    void Clear();
    int RecordingAt(POINT screen) const;
    void ContentChanged(WORD notification);
    void Notify(WORD code, bool isFocusCode);

    HWND hwnd_ = nullptr;
    HWND frame_ = nullptr;
    InkDocument doc_;
    InkUndo undo_;
    InkViewport viewport_;
    InkPage page_;
    InkTextLayout layout_;
    InkTyping typing_;
    // Parts of the text marked for the reader (kInkMsgMarkText): first
    // character and length.
    struct Mark {
        size_t start;
        size_t length;
    };
    std::vector<Mark> marks_;
    bool layoutValid_ = false;
    int layoutWidth_ = 0;
    HFONT font_ = nullptr;
    int fontZoom_ = 0;

    int mode_ = 0;
    bool editable_ = true;
    bool showRecordings_ = true;
    bool fitWidth_ = false;
    // Which scroll bars the view may show; the window style cannot tell,
    // since a bar hidden for want of range loses its style bit.
    bool scrollVertical_ = true;
    bool scrollHorizontal_ = false;
    COLORREF penColour_ = RGB(0, 0, 0);
    int penWidth_ = kInkUnitsPerPixel;

    bool penDown_ = false;
    bool erasing_ = false;
    bool selecting_ = false;
    InkStroke stroke_;
    POINT lastScreen_ = {0, 0};
    std::vector<size_t> erasedIndices_;
    std::vector<InkStroke> erasedStrokes_;
    bool hasFocus_ = false;
    // The stylus went down in writing mode and has not moved yet: held
    // long enough, it starts a choice of strokes instead of a stroke.
    bool holdPending_ = false;
    POINT downScreen_ = {0, 0};
    ULONGLONG downTick_ = 0;
    // The drag around strokes after a hold, in content units.
    bool lassoing_ = false;
    std::vector<POINT> lasso_;
    // The strokes chosen in writing mode, by index, ascending.
    std::vector<size_t> chosen_;

    // PlaySound plays from memory it does not copy: the view keeps the wave
    // alive until the next play or its destruction.
    std::vector<uint8_t> playing_;
};
