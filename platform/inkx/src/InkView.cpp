#include "InkView.h"

#include "formats/PageStyle.h"
#include "formats/ViewSetup.h"
#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

#include "InkEditStream.h"
#include "InkStreamFormat.h"
#include "InkStrokePainter.h"
#include "inkx.h"

#include <mmsystem.h>
#include <windowsx.h>

// The object lives in the window's extra bytes, not its user data: programs
// subclass the inner window and keep their own object in its user data.
static const int kObjectSlot = 0;
static const int kTextFontPixels = formats::kPageTextFontPixels;  // at 100 % zoom
static const COLORREF kPaperColour = RGB(255, 255, 255);
static const COLORREF kSelectionColour = RGB(173, 214, 255);
// Orange: it stands out on the yellow paper of the program's preview as
// on white.
static const COLORREF kMarkColour = RGB(255, 150, 40);

bool InkView::Register(HINSTANCE instance)
{
    WNDCLASSW wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Proc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = INKX_VIEW_CLASS_NAME;
    return RegisterClassOnce(wc);
}

InkView* InkView::Create(HINSTANCE instance, HWND frame, DWORD scrollStyle)
{
    InkView* view = new InkView(frame);
    view->scrollVertical_ = (scrollStyle & WS_VSCROLL) != 0;
    view->scrollHorizontal_ = (scrollStyle & WS_HSCROLL) != 0;
    HWND hwnd = CreateWindowExW(0, INKX_VIEW_CLASS_NAME, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | scrollStyle, 0, 0, 10,
                                10, frame, nullptr, instance, view);
    if (hwnd == nullptr) {
        delete view;
        return nullptr;
    }
    return view;
}

LRESULT CALLBACK InkView::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(hwnd, msg, wParam, lParam);
    InkView* view = reinterpret_cast<InkView*>(GetWindowLongPtrW(hwnd, kObjectSlot));
    // A creation message sent again by someone else carries no object of
    // ours, nor a reason to build the window again.
    if (CheckCreation(hwnd, msg, view != nullptr) == Creation::Repeated)
        return 0;
    if (msg == WM_NCCREATE) {
        view = static_cast<InkView*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        view->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, kObjectSlot, reinterpret_cast<LONG_PTR>(view));
    }
    if (view == nullptr)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, kObjectSlot, 0);
        LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
        delete view;
        return r;
    }
    return view->Handle(msg, wParam, lParam);
}

LRESULT InkView::Handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_PRINTCLIENT: {
        RECT client;
        GetClientRect(hwnd_, &client);
        PaintTo(reinterpret_cast<HDC>(wParam), client);
        return 0;
    }
    case WM_ERASEBKGND: OnEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_SIZE: OnSize(); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL:
        OnScroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
        return 0;
    case WM_LBUTTONDOWN: OnButtonDown(p, false); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleTap(p); return 0;
    case WM_RBUTTONDOWN: OnButtonDown(p, true); return 0;
    case WM_MOUSEMOVE: OnMouseMove(p); return 0;
    case WM_LBUTTONUP: case WM_RBUTTONUP: OnButtonUp(p); return 0;
    case WM_CAPTURECHANGED:
        if (penDown_ || selecting_ || lassoing_)
            OnButtonUp(lastScreen_);
        return 0;
    case WM_CHAR: OnChar(static_cast<wchar_t>(wParam)); return 0;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS;
    case WM_SETFOCUS: OnFocus(true); return 0;
    case WM_KILLFOCUS: OnFocus(false); return 0;
    case WM_CLEAR: Clear(); return 0;
    case WM_CUT: Cut(); return 0;
    case WM_COPY: Copy(); return 0;
    case WM_PASTE: Paste(); return 0;
    case WM_UNDO: case EM_UNDO: case kInkMsgUndo: Undo(); return TRUE;
    case kInkMsgCanUndo: return undo_.CanUndo() ? TRUE : FALSE;
    case kInkMsgEmptyUndo: undo_.Clear(); return 0;
    case kInkMsgViewSetup:
        // A pointer: believed only from a caller on this thread.
        if (OwnThreadSend::FromOwnThread(hwnd_, msg, wParam, lParam))
            ViewSetup(reinterpret_cast<const INT32*>(lParam));
        return 0;
    case kInkMsgMarkText:
        if (OwnThreadSend::FromOwnThread(hwnd_, msg, wParam, lParam))
            MarkText(reinterpret_cast<const UINT32*>(lParam), wParam);
        return 0;
    case kInkMsgSetInputMode: SetMode(static_cast<int>(wParam)); return 0;
    case kInkMsgSetZoom: SetZoom(static_cast<int>(lParam)); return 0;
    case kInkMsgGetZoom: return viewport_.Zoom();
    case kInkMsgGetModified: case EM_GETMODIFY: return doc_.Modified() ? 1 : 0;
    case EM_SETMODIFY: doc_.SetModified(wParam != 0); return 0;
    case kInkMsgSetPageStyle: SetPageStyle(static_cast<int>(wParam)); return 0;
    case WM_DESTROY:
        StopPlaying();
        if (font_ != nullptr)
            DeleteObject(font_);
        font_ = nullptr;
        return 0;
    default: return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

// A real erase would only flicker under the buffered paint; the background
// is asked for again, into the buffer, by PaintTo. A subclass that paints
// its own background answers both.
void InkView::OnEraseBackground(HDC dc)
{
    if (GetObjectType(dc) != OBJ_MEMDC)
        return;
    RECT client;
    GetClientRect(hwnd_, &client);
    HBRUSH paper = CreateSolidBrush(kPaperColour);
    FillRect(dc, &client, paper);
    DeleteObject(paper);
}

void InkView::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right > 0 && client.bottom > 0) {
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
        HGDIOBJ old = SelectObject(mem, bitmap);
        PaintTo(mem, ps.rcPaint);
        BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, mem, ps.rcPaint.left, ps.rcPaint.top,
               SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bitmap);
        DeleteDC(mem);
    }
    EndPaint(hwnd_, &ps);
}

void InkView::PaintTo(HDC dc, const RECT& area)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    if (GetObjectType(dc) == OBJ_MEMDC)
        SendMessageW(hwnd_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    else
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    page_.Draw(dc, client, viewport_);
    PaintText(dc);
    // Icons go under the ink: what the user writes across one stays in sight.
    if (showRecordings_)
        PaintRecordings(dc, area);
    InkStrokePainter painter(dc);
    // Chosen strokes stand on a broad band of the selection's colour.
    for (size_t index : chosen_) {
        if (index >= doc_.Strokes().size())
            continue;
        const InkStroke& chosen = doc_.Strokes()[index];
        InkStroke band(kSelectionColour, chosen.Width() + 6 * kInkUnitsPerPixel);
        for (POINT point : chosen.Points())
            band.AddPoint(point);
        painter.Draw(band, viewport_, area);
    }
    for (const InkStroke& s : doc_.Strokes())
        painter.Draw(s, viewport_, area);
    if (penDown_ && !erasing_)
        painter.Draw(stroke_, viewport_, area);
    if (lassoing_ && lasso_.size() > 1) {
        InkStroke line(RGB(128, 128, 128), kInkUnitsPerPixel);
        for (POINT point : lasso_)
            line.AddPoint(point);
        painter.Draw(line, viewport_, area);
    }
}

void InkView::PaintText(HDC dc)
{
    const std::wstring& text = doc_.Text();
    if (text.empty())
        return;
    EnsureLayout();
    HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    POINT origin = viewport_.ToScreen(page_.TextOrigin());
    int pitch = viewport_.ToPixels(kInkLinePitch);
    RECT client;
    GetClientRect(hwnd_, &client);
    HBRUSH selection = CreateSolidBrush(kSelectionColour);
    HBRUSH markBrush = CreateSolidBrush(kMarkColour);
    size_t firstRow = origin.y < 0 && pitch > 0 ? static_cast<size_t>(-origin.y / pitch) : 0;
    for (size_t i = layout_.LineAtRow(firstRow); i < layout_.LineCount(); ++i) {
        int top = origin.y + static_cast<int>(layout_.At(i).row) * pitch;
        if (top > client.bottom)
            break;
        if (top + pitch < 0)
            continue;
        const InkTextLayout::Line& line = layout_.At(i);
        int y = top + pitch - tm.tmHeight - 1;
        // The text's selection belongs to typing: the pen neither sees nor
        // uses it.
        bool typing = mode_ == static_cast<int>(kInkModeTyping);
        size_t s0 = typing ? typing_.SelStart() : 0, s1 = typing ? typing_.SelEnd() : 0;
        size_t l0 = line.start, l1 = line.start + line.length;
        for (const Mark& mark : marks_) {
            size_t m0 = mark.start, m1 = mark.start + mark.length;
            if (m1 <= l0 || m0 >= l1)
                continue;
            int x0 = layout_.XOnLine(dc, text, i, m0 > l0 ? m0 : l0);
            int x1 = layout_.XOnLine(dc, text, i, m1 < l1 ? m1 : l1);
            RECT r = {origin.x + x0, top + 1, origin.x + x1, top + pitch};
            FillRect(dc, &r, markBrush);
        }
        if (s0 < s1 && s0 <= l1 && s1 > l0) {
            size_t a = s0 > l0 ? s0 : l0;
            size_t b = s1 < l1 ? s1 : l1;
            int x0 = layout_.XOnLine(dc, text, i, a);
            int x1 = layout_.XOnLine(dc, text, i, b);
            if (s1 > l1)
                x1 += tm.tmAveCharWidth / 2;  // the selection goes on past this line
            RECT r = {origin.x + x0, top + 1, origin.x + x1, top + pitch};
            FillRect(dc, &r, selection);
        }
        if (line.length > 0)
            TextOutW(dc, origin.x, y, text.c_str() + line.start, static_cast<int>(line.length));
    }
    DeleteObject(selection);
    DeleteObject(markBrush);
    SelectObject(dc, oldFont);
}

void InkView::PaintRecordings(HDC dc, const RECT& area)
{
    HBRUSH face = CreateSolidBrush(RGB(235, 235, 235));
    HBRUSH mark = CreateSolidBrush(RGB(60, 60, 60));
    HPEN edge = CreatePen(PS_SOLID, 1, RGB(90, 90, 90));
    HGDIOBJ oldPen = SelectObject(dc, edge);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (const InkRecording& rec : doc_.Recordings()) {
        RECT units = {rec.X(), rec.Y(), rec.X() + kInkRecordingIconUnits,
                      rec.Y() + kInkRecordingIconUnits};
        RECT r = viewport_.ToScreen(units);
        RECT hit, wide = r;
        wide.right += 40;
        if (!IntersectRect(&hit, &wide, &area))
            continue;
        HGDIOBJ oldBrush = SelectObject(dc, face);
        RoundRect(dc, r.left, r.top, r.right, r.bottom, 5, 5);
        // A loudspeaker: a box and a cone.
        int w = r.right - r.left, h = r.bottom - r.top;
        SelectObject(dc, mark);
        POINT cone[4] = {{r.left + w * 3 / 10, r.top + h * 4 / 10},
                         {r.left + w * 6 / 10, r.top + h * 2 / 10},
                         {r.left + w * 6 / 10, r.top + h * 8 / 10},
                         {r.left + w * 3 / 10, r.top + h * 6 / 10}};
        Polygon(dc, cone, 4);
        Rectangle(dc, r.left + w * 2 / 10, r.top + h * 4 / 10, r.left + w * 3 / 10 + 1,
                  r.top + h * 6 / 10);
        SelectObject(dc, oldBrush);
        wchar_t label[16];
        unsigned seconds = (rec.DurationMs() + 500) / 1000;
        _snwprintf(label, 16, L"%u:%02u", seconds / 60, seconds % 60);
        label[15] = L'\0';
        TextOutW(dc, r.right + 3, r.top + (h - 12) / 2, label, static_cast<int>(wcslen(label)));
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    DeleteObject(edge);
    DeleteObject(mark);
    DeleteObject(face);
}

HDC InkView::TextDC()
{
    int zoom = viewport_.Zoom();
    if (font_ == nullptr || fontZoom_ != zoom) {
        if (font_ != nullptr)
            DeleteObject(font_);
        font_ = CreateFontW(-(kTextFontPixels * zoom + 50) / 100, 0, 0, 0, FW_NORMAL, FALSE,
                            FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
        fontZoom_ = zoom;
    }
    HDC dc = GetDC(hwnd_);
    SelectObject(dc, font_);
    return dc;
}

void InkView::ReleaseTextDC(HDC dc)
{
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    ReleaseDC(hwnd_, dc);
}

void InkView::InvalidateLayout()
{
    layoutValid_ = false;
}

void InkView::EnsureLayout()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    int left = viewport_.ToPixels(page_.TextOrigin().x);
    int wrap = client.right - left - 4;
    HDC dc = TextDC();
    if (!layoutValid_ || wrap != layoutWidth_) {
        layout_.Build(dc, doc_.Text(), wrap, IconRows());
        layoutWidth_ = wrap;
        layoutValid_ = true;
    }
    ReleaseTextDC(dc);
}

int InkView::TextBottomUnits()
{
    if (doc_.Text().empty())
        return 0;
    EnsureLayout();
    return page_.TextOrigin().y + static_cast<int>(layout_.RowCount()) * kInkLinePitch;
}

// The text rows the recordings' icons take: only icons shown push the
// text aside.
formats::TextRows InkView::IconRows() const
{
    std::vector<int> tops;
    if (showRecordings_) {
        for (const InkRecording& rec : doc_.Recordings())
            tops.push_back(rec.Y());
    }
    return formats::TextRows(page_.TextOrigin().y, tops);
}

void InkView::OnSize()
{
    InvalidateLayout();
    if (fitWidth_)
        FitZoomToWidth();
    UpdateScrollBars();
    // The soft keyboard shrinks the control; the line being typed stays in view.
    UpdateCaret(true);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void InkView::UpdateScrollBars()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    int viewW = viewport_.ToUnits(client.right);
    int viewH = viewport_.ToUnits(client.bottom);
    int bottom = doc_.InkBottom();
    int textBottom = TextBottomUnits();
    if (textBottom > bottom)
        bottom = textBottom;
    int extentH = bottom + viewH / 2;
    if (extentH < viewH)
        extentH = viewH;
    int extentW = doc_.InkRight() + 8 * kInkUnitsPerPixel;
    if (extentW < viewW)
        extentW = viewW;

    POINT origin = viewport_.Origin();
    if (origin.y > extentH - viewH)
        origin.y = extentH - viewH;
    if (origin.x > extentW - viewW)
        origin.x = extentW - viewW;
    if (origin.y < 0)
        origin.y = 0;
    if (origin.x < 0)
        origin.x = 0;
    viewport_.SetOrigin(origin);

    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (scrollVertical_) {
        si.nMax = viewport_.ToPixels(extentH) - 1;
        si.nPage = static_cast<UINT>(client.bottom);
        si.nPos = viewport_.ToPixels(origin.y);
        SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    }
    if (scrollHorizontal_) {
        si.nMax = viewport_.ToPixels(extentW) - 1;
        si.nPage = static_cast<UINT>(client.right);
        si.nPos = viewport_.ToPixels(origin.x);
        SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
    }
}

void InkView::OnScroll(int bar, int code)
{
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(hwnd_, bar, &si);
    int pos = si.nPos;
    int line = viewport_.ToPixels(kInkLinePitch);
    switch (code) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK: case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    POINT origin = viewport_.Origin();
    if (bar == SB_VERT)
        origin.y = viewport_.ToUnits(pos);
    else
        origin.x = viewport_.ToUnits(pos);
    ScrollTo(origin);
}

void InkView::ScrollTo(POINT originUnits)
{
    POINT before = viewport_.Origin();
    viewport_.SetOrigin(originUnits);
    UpdateScrollBars();
    POINT after = viewport_.Origin();
    if (after.x != before.x || after.y != before.y) {
        InvalidateRect(hwnd_, nullptr, FALSE);
        UpdateCaret(false);
    }
}

void InkView::SetZoom(int percent)
{
    int zoom = ClampZoom(percent);
    fitWidth_ = false;
    if (zoom == viewport_.Zoom())
        return;
    viewport_.SetZoom(zoom);
    InvalidateLayout();
    UpdateScrollBars();
    ShowTypingCaret();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// The preview shows a whole line of the note: the widest content fits the
// window, but small notes are not blown up past 100 %.
void InkView::FitZoomToWidth()
{
    RECT client;
    GetClientRect(hwnd_, &client);
    int widest = doc_.InkRight() + 4 * kInkUnitsPerPixel;
    if (widest < 120 * kInkUnitsPerPixel)
        widest = 120 * kInkUnitsPerPixel;
    long long zoom = static_cast<long long>(client.right) * 100 * kInkUnitsPerPixel / widest;
    if (zoom > 100)
        zoom = 100;
    viewport_.SetZoom(ClampZoom(zoom));
    InvalidateLayout();
}

void InkView::ViewSetup(const INT32* block)
{
    if (block == nullptr)
        return;
    formats::ViewSetup setup = formats::ReadViewSetup(block);
    editable_ = setup.editable;
    showRecordings_ = setup.showRecordings;
    scrollVertical_ = setup.scrollVertical;
    scrollHorizontal_ = setup.scrollHorizontal;
    if (!scrollVertical_)
        ShowScrollBar(hwnd_, SB_VERT, FALSE);
    if (!scrollHorizontal_)
        ShowScrollBar(hwnd_, SB_HORZ, FALSE);
    if (setup.penWidth != 0)
        penWidth_ = setup.penWidth;
    if (setup.fitWidth) {
        fitWidth_ = true;
        FitZoomToWidth();
    } else {
        SetZoom(setup.zoom);
    }
    page_.SetStyle(setup.pageStyle);
    penColour_ = static_cast<COLORREF>(setup.penColour);
    int firstLine = setup.firstLine;
    InvalidateLayout();
    viewport_.SetOrigin({viewport_.Origin().x, firstLine * kInkLinePitch});
    if (!editable_)
        typing_.MoveTo(typing_.Caret(), doc_.Text(), false);
    ShowTypingCaret();
    UpdateScrollBars();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void InkView::SetMode(int mode)
{
    if (mode != static_cast<int>(kInkModeTyping) && mode != static_cast<int>(kInkModeErasing))
        mode = static_cast<int>(kInkModeWriting);
    mode_ = mode;
    undo_.CloseTyping();
    chosen_.clear();
    ShowTypingCaret();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void InkView::SetPageStyle(int style)
{
    page_.SetStyle(style);
    InvalidateLayout();
    UpdateScrollBars();
    UpdateCaret(false);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT InkView::StreamOut(EDITSTREAM* stream)
{
    std::vector<uint8_t> bytes;
    InkStreamFormat::Write(doc_, bytes);
    return static_cast<LRESULT>(InkEditStream::Out(bytes, stream));
}

LRESULT InkView::StreamIn(EDITSTREAM* stream)
{
    // A missing stream, or one that fails before it gives anything, leaves
    // the content as it was: nothing came in to replace it.
    std::vector<uint8_t> bytes;
    if (!InkEditStream::In(stream, bytes))
        return 0;
    InkStreamFormat::Read(bytes.data(), bytes.size(), doc_);
    doc_.SetModified(false);
    undo_.Clear();
    marks_.clear();
    chosen_.clear();
    typing_.MoveTo(doc_.Text().size(), doc_.Text(), false);
    InvalidateLayout();
    if (fitWidth_)
        FitZoomToWidth();
    UpdateScrollBars();
    UpdateCaret(false);
    InvalidateRect(hwnd_, nullptr, FALSE);
    return static_cast<LRESULT>(bytes.size());
}

void InkView::AddRecording(std::vector<uint8_t> wave)
{
    int y = doc_.InkBottom();
    int textBottom = TextBottomUnits();
    if (textBottom > y)
        y = textBottom;
    y += 4 * kInkUnitsPerPixel;
    int x = page_.TextOrigin().x;
    doc_.Recordings().emplace_back(x, y, static_cast<std::vector<uint8_t>&&>(wave));
    undo_.RecordingAdded(doc_.Recordings().size() - 1);
    InvalidateLayout();
    UpdateScrollBars();
    // Bring the new icon into view.
    RECT client;
    GetClientRect(hwnd_, &client);
    POINT origin = viewport_.Origin();
    int viewH = viewport_.ToUnits(client.bottom);
    if (y + kInkRecordingIconUnits > origin.y + viewH || y < origin.y)
        ScrollTo({origin.x, y + kInkRecordingIconUnits - viewH + kInkLinePitch});
    InvalidateRect(hwnd_, nullptr, FALSE);
    ContentChanged(kInkNotifyTextChanged);
}

void InkView::PlayRecording(size_t index)
{
    if (index >= doc_.Recordings().size())
        return;
    StopPlaying();
    playing_ = doc_.Recordings()[index].Wave();
    PlaySoundW(reinterpret_cast<LPCWSTR>(playing_.data()), nullptr,
               SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

void InkView::StopPlaying()
{
    if (!playing_.empty())
        PlaySoundW(nullptr, nullptr, 0);
    playing_.clear();
}
