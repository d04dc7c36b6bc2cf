// The view's input side: stylus strokes, the eraser, typing with caret and
// selection, the clipboard and undo.
#include "InkView.h"

#include "InkClipboard.h"
#include "InkStrokePainter.h"
#include "inkx.h"

#include <stdlib.h>

// A stylus within this many pixels of a stroke erases it.
static const int kEraseRadiusPixels = 4;
// A stylus held this long before it moves chooses strokes rather than
// writing; it may wobble this many pixels meanwhile.
static const ULONGLONG kHoldMs = 500;
static const int kHoldWobblePixels = 3;

// Even-odd rule: whether p lies inside the closed path.
static bool InsidePath(const std::vector<POINT>& path, POINT p)
{
    bool inside = false;
    for (size_t i = 0, j = path.size() - 1; i < path.size(); j = i++) {
        const POINT& a = path[i];
        const POINT& b = path[j];
        if ((a.y > p.y) != (b.y > p.y) &&
            p.x < static_cast<LONGLONG>(b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

int InkView::RecordingAt(POINT screen) const
{
    if (!showRecordings_)
        return -1;
    POINT c = viewport_.ToContent(screen);
    const std::vector<InkRecording>& recs = doc_.Recordings();
    for (size_t i = recs.size(); i-- > 0;) {
        const InkRecording& r = recs[i];
        if (c.x >= r.X() && c.x < r.X() + kInkRecordingIconUnits && c.y >= r.Y() &&
            c.y < r.Y() + kInkRecordingIconUnits)
            return static_cast<int>(i);
    }
    return -1;
}

void InkView::OnButtonDown(POINT p, bool erase)
{
    if (GetFocus() != hwnd_)
        SetFocus(hwnd_);
    int rec = RecordingAt(p);
    if (rec >= 0) {
        PlayRecording(static_cast<size_t>(rec));
        return;
    }
    if (!editable_)
        return;
    lastScreen_ = p;
    SetCapture(hwnd_);
    if (mode_ == static_cast<int>(kInkModeTyping) && !erase) {
        selecting_ = true;
        bool extend = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        MoveCaret(CaretAtPoint(p), extend);
        return;
    }
    // A tap elsewhere ends a choice of strokes, and only that.
    if (!chosen_.empty() && !erase) {
        EndChoice();
        ReleaseCapture();
        return;
    }
    penDown_ = true;
    undo_.CloseTyping();
    erasing_ = erase || mode_ == static_cast<int>(kInkModeErasing);
    holdPending_ = !erasing_;
    downScreen_ = p;
    downTick_ = GetTickCount64();
    if (erasing_) {
        EndChoice();
        erasedIndices_.clear();
        erasedStrokes_.clear();
        EraseAt(p);
        return;
    }
    stroke_ = InkStroke(penColour_, penWidth_);
    stroke_.AddPoint(viewport_.ToContent(p));
    HDC dc = GetDC(hwnd_);
    {
        InkStrokePainter painter(dc);
        painter.Segment(p, p, penColour_, viewport_.ToPixels(penWidth_));
    }
    ReleaseDC(hwnd_, dc);
}

// A double tap selects a word in typing mode; in pen mode it is just a
// second tap.
void InkView::OnDoubleTap(POINT p)
{
    if (mode_ != static_cast<int>(kInkModeTyping) || !editable_ || RecordingAt(p) >= 0) {
        OnButtonDown(p, false);
        return;
    }
    typing_.MoveTo(CaretAtPoint(p), doc_.Text(), false);
    typing_.SelectWord(doc_.Text());
    undo_.CloseTyping();
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateCaret(true);
}

void InkView::OnMouseMove(POINT p)
{
    if (selecting_) {
        lastScreen_ = p;
        MoveCaret(CaretAtPoint(p), true);
        return;
    }
    if (lassoing_) {
        POINT c = viewport_.ToContent(p);
        if (lasso_.empty() || c.x != lasso_.back().x || c.y != lasso_.back().y)
            lasso_.push_back(c);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    if (!penDown_ || (p.x == lastScreen_.x && p.y == lastScreen_.y))
        return;
    if (holdPending_ && abs(p.x - downScreen_.x) <= kHoldWobblePixels &&
        abs(p.y - downScreen_.y) <= kHoldWobblePixels)
        return;
    if (holdPending_) {
        holdPending_ = false;
        // Held before it moved: the drag goes around strokes to choose.
        if (GetTickCount64() - downTick_ >= kHoldMs) {
            penDown_ = false;
            stroke_ = InkStroke();
            lassoing_ = true;
            lasso_.assign(1, viewport_.ToContent(downScreen_));
            lasso_.push_back(viewport_.ToContent(p));
            InvalidateRect(hwnd_, nullptr, FALSE);
            return;
        }
    }
    if (erasing_) {
        // A fast stylus jumps; erase along the way, not only where it lands.
        int dx = p.x - lastScreen_.x, dy = p.y - lastScreen_.y;
        int steps = (abs(dx) > abs(dy) ? abs(dx) : abs(dy)) / kEraseRadiusPixels + 1;
        for (int i = 1; i <= steps; ++i)
            EraseAt({lastScreen_.x + dx * i / steps, lastScreen_.y + dy * i / steps});
        lastScreen_ = p;
        return;
    }
    stroke_.AddPoint(viewport_.ToContent(p));
    HDC dc = GetDC(hwnd_);
    {
        InkStrokePainter painter(dc);
        painter.Segment(lastScreen_, p, penColour_, viewport_.ToPixels(penWidth_));
    }
    ReleaseDC(hwnd_, dc);
    lastScreen_ = p;
}

void InkView::OnButtonUp(POINT p)
{
    holdPending_ = false;
    if (lassoing_) {
        lassoing_ = false;
        if (GetCapture() == hwnd_)
            ReleaseCapture();
        lasso_.push_back(viewport_.ToContent(p));
        ChooseInLasso();
        lasso_.clear();
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    if (selecting_) {
        selecting_ = false;
        if (GetCapture() == hwnd_)
            ReleaseCapture();
        return;
    }
    if (!penDown_)
        return;
    if (!erasing_ && (p.x != lastScreen_.x || p.y != lastScreen_.y))
        stroke_.AddPoint(viewport_.ToContent(p));
    penDown_ = false;
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    if (erasing_) {
        erasing_ = false;
        if (!erasedIndices_.empty()) {
            undo_.StrokesErased(erasedIndices_, erasedStrokes_);
            ContentChanged(kInkNotifyInkChanged);
        }
        return;
    }
    FinishStroke();
}

void InkView::FinishStroke()
{
    RECT box = viewport_.ToScreen(stroke_.Bounds());
    doc_.Strokes().push_back(stroke_);
    stroke_ = InkStroke();
    undo_.StrokesAdded(1);
    UpdateScrollBars();
    InflateRect(&box, 2, 2);
    InvalidateRect(hwnd_, &box, FALSE);
    ContentChanged(kInkNotifyInkChanged);
}

void InkView::EraseAt(POINT screen)
{
    POINT c = viewport_.ToContent(screen);
    int radius = viewport_.ToUnits(kEraseRadiusPixels);
    std::vector<InkStroke>& strokes = doc_.Strokes();
    for (size_t i = strokes.size(); i-- > 0;) {
        if (!strokes[i].Touches(c, radius))
            continue;
        RECT box = viewport_.ToScreen(strokes[i].Bounds());
        InflateRect(&box, 2, 2);
        InvalidateRect(hwnd_, &box, FALSE);
        erasedIndices_.push_back(i);
        erasedStrokes_.push_back(static_cast<InkStroke&&>(strokes[i]));
        strokes.erase(strokes.begin() + i);
        doc_.SetModified(true);
    }
}

size_t InkView::CaretAtPoint(POINT screen)
{
    EnsureLayout();
    POINT origin = viewport_.ToScreen(page_.TextOrigin());
    int pitch = viewport_.ToPixels(kInkLinePitch);
    if (pitch < 1)
        pitch = 1;
    int row = screen.y < origin.y ? 0 : (screen.y - origin.y) / pitch;
    if (layout_.LineCount() == 0)
        return 0;
    size_t line = layout_.LineAtRow(static_cast<size_t>(row));
    if (line >= layout_.LineCount())
        return doc_.Text().size();
    HDC dc = TextDC();
    size_t index = layout_.IndexAt(dc, doc_.Text(), line, screen.x - origin.x);
    ReleaseTextDC(dc);
    return index;
}

void InkView::MoveCaret(size_t index, bool extend)
{
    bool hadSelection = typing_.HasSelection();
    typing_.MoveTo(index, doc_.Text(), extend);
    undo_.CloseTyping();
    if (hadSelection || typing_.HasSelection())
        InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateCaret(true);
}

void InkView::UpdateCaret(bool scrollIntoView)
{
    // Typing keeps the caret's line in view even before the view has the
    // focus; the system caret itself only exists with the focus.
    if (mode_ != static_cast<int>(kInkModeTyping) || !editable_)
        return;
    if (!hasFocus_ && !scrollIntoView)
        return;
    EnsureLayout();
    HDC dc = TextDC();
    size_t row = layout_.LineCount() == 0 ? 0 : layout_.At(layout_.LineOf(typing_.Caret())).row;
    int x = layout_.XOf(dc, doc_.Text(), typing_.Caret());
    ReleaseTextDC(dc);
    int pitch = viewport_.ToPixels(kInkLinePitch);
    if (scrollIntoView)
        ScrollRowIntoView(row);
    if (!hasFocus_)
        return;
    POINT origin = viewport_.ToScreen(page_.TextOrigin());
    SetCaretPos(origin.x + x, origin.y + static_cast<int>(row) * pitch + 1);
}

void InkView::ScrollRowIntoView(size_t row)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    POINT origin = viewport_.Origin();
    int top = page_.TextOrigin().y + static_cast<int>(row) * kInkLinePitch;
    int viewH = viewport_.ToUnits(client.bottom);
    POINT want = origin;
    if (top < origin.y)
        want.y = top;
    else if (top + kInkLinePitch > origin.y + viewH)
        want.y = top + kInkLinePitch - viewH;
    if (want.y != origin.y)
        ScrollTo(want);
}

void InkView::MarkText(const UINT32* parts, size_t count)
{
    marks_.clear();
    size_t length = doc_.Text().size();
    for (size_t i = 0; i < count; ++i) {
        size_t start = parts[2 * i], size = parts[2 * i + 1];
        if (start >= length || size == 0)
            continue;
        marks_.push_back({start, size < length - start ? size : length - start});
    }
    if (!marks_.empty()) {
        EnsureLayout();
        if (layout_.LineCount() > 0)
            ScrollRowIntoView(layout_.At(layout_.LineOf(marks_.front().start)).row);
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void InkView::OnFocus(bool gained)
{
    hasFocus_ = gained;
    if (gained)
        ShowTypingCaret();
    else
        DestroyCaret();
    Notify(gained ? EN_SETFOCUS : EN_KILLFOCUS, true);
}

void InkView::ShowTypingCaret()
{
    if (!hasFocus_)
        return;
    if (mode_ == static_cast<int>(kInkModeTyping) && editable_) {
        int pitch = viewport_.ToPixels(kInkLinePitch);
        CreateCaret(hwnd_, nullptr, viewport_.Zoom() >= 200 ? 2 : 1, pitch > 2 ? pitch - 2 : 1);
        UpdateCaret(true);
        ShowCaret(hwnd_);
    } else {
        DestroyCaret();
    }
}

void InkView::TypeText(const std::wstring& text, bool coalesce)
{
    std::wstring before = doc_.Text();
    size_t caret = typing_.Caret();
    if (typing_.Replace(doc_.Text(), text))
        TextEdited(before, caret, coalesce);
}

void InkView::TextEdited(const std::wstring& before, size_t caret, bool coalesce)
{
    undo_.TextChanging(before, caret, coalesce);
    InvalidateLayout();
    UpdateScrollBars();
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateCaret(true);
    ContentChanged(kInkNotifyTextChanged);
}

void InkView::OnChar(wchar_t c)
{
    if (!editable_)
        return;
    switch (c) {
    case 1: typing_.SelectAll(doc_.Text()); InvalidateRect(hwnd_, nullptr, FALSE); UpdateCaret(true); return;
    case 3: Copy(); return;
    case 22: Paste(); return;
    case 24: Cut(); return;
    case 26: Undo(); return;
    default: break;
    }
    if (mode_ != static_cast<int>(kInkModeTyping))
        return;
    if (c == L'\b') {
        std::wstring before = doc_.Text();
        size_t caret = typing_.Caret();
        if (typing_.Backspace(doc_.Text()))
            TextEdited(before, caret, false);
        return;
    }
    if (c == L'\r' || c == L'\n') {
        TypeText(L"\n", true);
        return;
    }
    if (c == L'\t') {
        TypeText(L"    ", true);
        return;
    }
    if (c < 32)
        return;
    TypeText(std::wstring(1, c), c != L' ');
}

void InkView::OnKeyDown(UINT key)
{
    if (mode_ != static_cast<int>(kInkModeTyping) || !editable_) {
        if (key == VK_NEXT || key == VK_DOWN)
            OnScroll(SB_VERT, key == VK_NEXT ? SB_PAGEDOWN : SB_LINEDOWN);
        else if (key == VK_PRIOR || key == VK_UP)
            OnScroll(SB_VERT, key == VK_PRIOR ? SB_PAGEUP : SB_LINEUP);
        return;
    }
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const std::wstring& text = doc_.Text();
    size_t caret = typing_.Caret();
    EnsureLayout();
    size_t line = layout_.LineOf(caret);
    switch (key) {
    case VK_LEFT:
        if (!shift && typing_.HasSelection())
            MoveCaret(typing_.SelStart(), false);
        else
            MoveCaret(ctrl ? typing_.PreviousWord(text) : (caret > 0 ? caret - 1 : 0), shift);
        return;
    case VK_RIGHT:
        if (!shift && typing_.HasSelection())
            MoveCaret(typing_.SelEnd(), false);
        else
            MoveCaret(ctrl ? typing_.NextWord(text) : caret + 1, shift);
        return;
    case VK_HOME:
        MoveCaret(ctrl || layout_.LineCount() == 0 ? 0 : layout_.At(line).start, shift);
        return;
    case VK_END:
        if (ctrl || layout_.LineCount() == 0)
            MoveCaret(text.size(), shift);
        else
            MoveCaret(layout_.LineEnd(text, line), shift);
        return;
    case VK_UP:
    case VK_DOWN: {
        if (layout_.LineCount() == 0)
            return;
        if ((key == VK_UP && line == 0) || (key == VK_DOWN && line + 1 >= layout_.LineCount())) {
            MoveCaret(key == VK_UP ? 0 : text.size(), shift);
            return;
        }
        HDC dc = TextDC();
        int x = layout_.XOf(dc, text, caret);
        size_t target = layout_.IndexAt(dc, text, key == VK_UP ? line - 1 : line + 1, x);
        ReleaseTextDC(dc);
        MoveCaret(target, shift);
        return;
    }
    case VK_DELETE: {
        std::wstring before = text;
        if (typing_.Delete(doc_.Text()))
            TextEdited(before, caret, false);
        return;
    }
    default:
        return;
    }
}

void InkView::Undo()
{
    if (penDown_ || selecting_ || lassoing_)
        return;
    size_t caret = typing_.Caret();
    bool textChanged = false;
    if (!undo_.Undo(doc_, caret, textChanged))
        return;
    // The chosen strokes' places may have moved.
    EndChoice();
    if (textChanged)
        typing_.MoveTo(caret, doc_.Text(), false);
    typing_.Clamp(doc_.Text());
    InvalidateLayout();
    UpdateScrollBars();
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateCaret(true);
    ContentChanged(textChanged ? kInkNotifyTextChanged : kInkNotifyInkChanged);
}

// A stroke is chosen when most of its points lie inside the drag.
void InkView::ChooseInLasso()
{
    chosen_.clear();
    if (lasso_.size() < 3)
        return;
    const std::vector<InkStroke>& strokes = doc_.Strokes();
    for (size_t i = 0; i < strokes.size(); ++i) {
        const std::vector<POINT>& points = strokes[i].Points();
        size_t inside = 0;
        for (POINT point : points)
            inside += InsidePath(lasso_, point) ? 1 : 0;
        if (!points.empty() && 2 * inside > points.size())
            chosen_.push_back(i);
    }
}

void InkView::EndChoice()
{
    if (chosen_.empty())
        return;
    chosen_.clear();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

bool InkView::RemoveChosen()
{
    std::vector<InkStroke>& strokes = doc_.Strokes();
    erasedIndices_.clear();
    erasedStrokes_.clear();
    // Highest first: each index is the stroke's place when it is taken.
    for (size_t k = chosen_.size(); k-- > 0;) {
        size_t index = chosen_[k];
        if (index >= strokes.size())
            continue;
        erasedIndices_.push_back(index);
        erasedStrokes_.push_back(static_cast<InkStroke&&>(strokes[index]));
        strokes.erase(strokes.begin() + index);
    }
    chosen_.clear();
    if (erasedIndices_.empty())
        return false;
    undo_.StrokesErased(erasedIndices_, erasedStrokes_);
    UpdateScrollBars();
    InvalidateRect(hwnd_, nullptr, FALSE);
    ContentChanged(kInkNotifyInkChanged);
    return true;
}

// The mode says what Cut, Copy and Clear are about: the selected text in
// typing mode, the strokes chosen with the stylus in writing mode; with
// nothing chosen they do nothing.
void InkView::Copy()
{
    if (mode_ == static_cast<int>(kInkModeTyping)) {
        if (typing_.HasSelection())
            InkClipboard::PutText(hwnd_, typing_.Selected(doc_.Text()));
        return;
    }
    std::vector<InkStroke> chosen;
    for (size_t index : chosen_) {
        if (index < doc_.Strokes().size())
            chosen.push_back(doc_.Strokes()[index]);
    }
    if (!chosen.empty())
        InkClipboard::PutInk(hwnd_, chosen);
}

void InkView::Cut()
{
    if (!editable_)
        return;
    Copy();
    Clear();
}

void InkView::Clear()
{
    if (!editable_)
        return;
    if (mode_ == static_cast<int>(kInkModeTyping)) {
        if (typing_.HasSelection())
            TypeText(std::wstring(), false);
        return;
    }
    RemoveChosen();
}

void InkView::Paste()
{
    if (!editable_)
        return;
    InkDocument ink;
    std::wstring text;
    bool typing = mode_ == static_cast<int>(kInkModeTyping);
    if (!InkClipboard::Get(hwnd_, !typing, ink, text))
        return;
    if (!ink.Strokes().empty()) {
        // Ink lands where it was copied from, chosen; when that is out of
        // sight, at the view's top left.
        RECT bounds = ink.Strokes().front().Bounds();
        for (const InkStroke& s : ink.Strokes()) {
            RECT b = s.Bounds();
            UnionRect(&bounds, &bounds, &b);
        }
        RECT client;
        GetClientRect(hwnd_, &client);
        POINT origin = viewport_.Origin();
        RECT shown = {origin.x, origin.y, origin.x + viewport_.ToUnits(client.right),
                      origin.y + viewport_.ToUnits(client.bottom)};
        RECT seen;
        int dx = 0, dy = 0;
        if (!IntersectRect(&seen, &bounds, &shown)) {
            dx = shown.left + 4 * kInkUnitsPerPixel - bounds.left;
            dy = shown.top + 4 * kInkUnitsPerPixel - bounds.top;
        }
        size_t count = ink.Strokes().size();
        chosen_.clear();
        for (InkStroke& s : ink.Strokes()) {
            s.Offset(dx, dy);
            chosen_.push_back(doc_.Strokes().size());
            doc_.Strokes().push_back(static_cast<InkStroke&&>(s));
        }
        undo_.StrokesAdded(count);
        UpdateScrollBars();
        InvalidateRect(hwnd_, nullptr, FALSE);
        ContentChanged(kInkNotifyInkChanged);
    } else {
        TypeText(text, false);
    }
}

void InkView::ContentChanged(WORD notification)
{
    // Marks stand on characters that an edit may have moved.
    if (notification == kInkNotifyTextChanged)
        marks_.clear();
    doc_.SetModified(true);
    Notify(notification, false);
}

void InkView::Notify(WORD code, bool isFocusCode)
{
    HWND parent = GetParent(frame_);
    if (parent == nullptr)
        return;
    WORD id = static_cast<WORD>(GetDlgCtrlID(frame_));
    WPARAM wParam = isFocusCode ? MAKEWPARAM(id, code) : MAKEWPARAM(code, id);
    SendMessageW(parent, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(frame_));
}
