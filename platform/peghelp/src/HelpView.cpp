#include "platform/peghelp/src/HelpView.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

#include <windowsx.h>

namespace peghelp {

namespace {

const wchar_t kClass[] = L"PegHelpView";
const wchar_t kBullet[] = L"\x2022";
const int kListIndent = 14;
const int kBlockGap = 6;
const COLORREF kHeadingColour = RGB(0, 36, 120);
const COLORREF kMessageColour = RGB(128, 0, 0);

}  // namespace

HelpView::HelpView(const HelpDocument& document)
    : document_(document),
      window_(nullptr),
      titleFont_(nullptr),
      headingFont_(nullptr),
      bodyFont_(nullptr),
      layoutWidth_(-1),
      contentHeight_(0),
      scroll_(0),
      dragY_(0),
      dragging_(false)
{
}

HelpView::~HelpView()
{
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    for (HFONT font : {titleFont_, headingFont_, bodyFont_}) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
}

bool HelpView::Create(HWND parent, int x, int y, int width, int height, HINSTANCE instance)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kClass;
    if (!RegisterClassOnce(windowClass)) {
        return false;
    }
    MakeFonts();
    window_ = CreateWindowExW(0, kClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, x,
                              y, width, height, parent, nullptr, instance, this);
    return window_ != nullptr;
}

void HelpView::MakeFonts()
{
    titleFont_ = CreateFontW(-15, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"Tahoma");
    headingFont_ = CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                               L"Tahoma");
    bodyFont_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                            L"Tahoma");
}

HFONT HelpView::FontOf(BlockKind kind) const
{
    switch (kind) {
    case BlockKind::Title:
        return titleFont_;
    case BlockKind::Heading:
        return headingFont_;
    default:
        return bodyFont_;
    }
}

LRESULT CALLBACK HelpView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<HelpView, &HelpView::window_, &HelpView::HandleMessage>(window, message, wParam, lParam);
}

LRESULT HelpView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(scroll_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3 * kLineStep);
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam)) {
            return 0;
        }
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    case WM_LBUTTONDOWN:
        OnStylusDown(GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnStylusMove(GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        dragging_ = false;
        ReleaseCapture();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void HelpView::OnCreate()
{
    Measure();
}

void HelpView::OnDestroy()
{
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
}

void HelpView::OnSize()
{
    RECT client;
    GetClientRect(window_, &client);
    if (client.right != layoutWidth_) {
        Measure();
    }
    ScrollTo(scroll_);
}

int HelpView::PageHeight() const
{
    RECT client;
    GetClientRect(window_, &client);
    return client.bottom;
}

int HelpView::LeftOf(BlockKind kind) const
{
    return kind == BlockKind::ListItem ? kMargin + kListIndent : kMargin;
}

HelpLineStyle HelpView::StyleOf(BlockKind kind) const
{
    RECT client;
    GetClientRect(window_, &client);
    return {FontOf(kind), client.right - kMargin - LeftOf(kind)};
}

void HelpView::Measure()
{
    RECT client;
    GetClientRect(window_, &client);
    layoutWidth_ = client.right;
    HDC dc = GetDC(window_);
    HelpDcMeasure measure(dc, [this](BlockKind kind) { return StyleOf(kind); });
    layout_.Build(measure, document_.Blocks(), kMargin, kBlockGap);
    ReleaseDC(window_, dc);
    contentHeight_ = layout_.Bottom();
    UpdateScrollBar();
}

void HelpView::UpdateScrollBar()
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = contentHeight_ > 0 ? contentHeight_ - 1 : 0;
    info.nPage = static_cast<UINT>(PageHeight());
    info.nPos = scroll_;
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
}

void HelpView::ScrollTo(int position)
{
    int most = contentHeight_ - PageHeight();
    if (position > most) {
        position = most;
    }
    if (position < 0) {
        position = 0;
    }
    if (position == scroll_) {
        return;
    }
    ScrollWindowEx(window_, 0, scroll_ - position, nullptr, nullptr, nullptr, nullptr,
                   SW_INVALIDATE | SW_ERASE);
    scroll_ = position;
    UpdateScrollBar();
    UpdateWindow(window_);
}

void HelpView::OnVScroll(int code)
{
    int page = PageHeight() - kLineStep;
    switch (code) {
    case SB_LINEUP:
        ScrollTo(scroll_ - kLineStep);
        break;
    case SB_LINEDOWN:
        ScrollTo(scroll_ + kLineStep);
        break;
    case SB_PAGEUP:
        ScrollTo(scroll_ - page);
        break;
    case SB_PAGEDOWN:
        ScrollTo(scroll_ + page);
        break;
    case SB_TOP:
        ScrollTo(0);
        break;
    case SB_BOTTOM:
        ScrollTo(contentHeight_);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(window_, SB_VERT, &info);
        ScrollTo(info.nTrackPos);
        break;
    }
    default:
        break;
    }
}

bool HelpView::OnKeyDown(WPARAM key)
{
    switch (key) {
    case VK_UP:
        OnVScroll(SB_LINEUP);
        return true;
    case VK_DOWN:
        OnVScroll(SB_LINEDOWN);
        return true;
    case VK_PRIOR:
        OnVScroll(SB_PAGEUP);
        return true;
    case VK_NEXT:
    case VK_SPACE:
        OnVScroll(SB_PAGEDOWN);
        return true;
    case VK_HOME:
        OnVScroll(SB_TOP);
        return true;
    case VK_END:
        OnVScroll(SB_BOTTOM);
        return true;
    case VK_ESCAPE:
    case VK_RETURN:
        PostMessageW(GetParent(window_), WM_COMMAND, IDOK, 0);
        return true;
    default:
        return false;
    }
}

void HelpView::OnStylusDown(int y)
{
    SetFocus(window_);
    SetCapture(window_);
    dragging_ = true;
    dragY_ = y;
}

void HelpView::OnStylusMove(int y)
{
    if (!dragging_) {
        return;
    }
    ScrollTo(scroll_ + (dragY_ - y));
    dragY_ = y;
}

void HelpView::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    SetBkMode(dc, TRANSPARENT);
    const std::vector<HelpBlock>& blocks = document_.Blocks();
    const std::vector<HelpLine>& lines = layout_.Lines();
    HGDIOBJ old = SelectObject(dc, bodyFont_);
    // Only the lines in the painted rows are drawn, however long the topic.
    for (size_t i = layout_.FirstLineBelow(paint.rcPaint.top + scroll_); i < lines.size(); ++i) {
        const HelpLine& line = lines[i];
        int top = line.top - scroll_;
        if (top >= paint.rcPaint.bottom) {
            break;
        }
        if (line.block >= blocks.size()) {
            break;
        }
        const HelpBlock& block = blocks[line.block];
        SelectObject(dc, FontOf(block.kind));
        COLORREF colour = block.kind == BlockKind::Title || block.kind == BlockKind::Heading
                              ? kHeadingColour
                              : (block.kind == BlockKind::Message ? kMessageColour : RGB(0, 0, 0));
        SetTextColor(dc, colour);
        if (block.kind == BlockKind::ListItem && line.start == 0) {
            TextOutW(dc, kMargin + 2, top, kBullet, 1);
        }
        TextOutW(dc, LeftOf(block.kind), top, block.text.c_str() + line.start,
                 static_cast<int>(line.length));
    }
    SelectObject(dc, old);
    EndPaint(window_, &paint);
}

}  // namespace peghelp
