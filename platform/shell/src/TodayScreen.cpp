#include "platform/shell/src/TodayScreen.h"

#include "platform/shell/src/MinuteClock.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"
#include "platform/common/RegisterClassOnce.h"
#include "platform/common/Text.h"
#include "platform/shell/src/ScreenRequests.h"
#include "platform/shell/src/ShellConstants.h"
#include "platform/shell/src/TodaySettingsWindow.h"
#include "platform/shell/src/Watermark.h"

#include <windowsx.h>

namespace shell {

const COLORREF TodayScreen::kTextColour = RGB(0, 0, 0);
const COLORREF TodayScreen::kHighlightColour = RGB(0, 36, 120);
const COLORREF TodayScreen::kHighlightedTextColour = RGB(255, 255, 255);

namespace {

const UINT_PTR kQueryTimer = 1;
const UINT_PTR kWatchTimer = 2;
const wchar_t kSettingsLabel[] = L"Settings";
const int kSettingsButtonWidth = 70;
// The scroll arrows at the right of the bottom strip.
const int kArrowWidth = 26;
const int kScrollStep = 20;

}  // namespace

TodayScreen::TodayScreen(const wchar_t* itemsKey)
    : window_(nullptr),
      instance_(nullptr),
      host_(itemsKey),
      scroll_(0),
      contentHeight_(0),
      dragY_(0),
      dragging_(false),
      dragMoved_(false)
{
    dateLine_[0] = L'\0';
}

TodayScreen::~TodayScreen()
{
    Destroy();
}

bool TodayScreen::Create(HINSTANCE instance, bool inFront)
{
    instance_ = instance;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kTodayClass;
    if (!RegisterClassOnce(windowClass)) {
        return false;
    }
    // Items send their watermark requests on this thread.
    OwnThreadSend::Watch();
    window_ = CreateWindowExW(0, kTodayClass, L"Today", WS_POPUP | WS_CLIPCHILDREN, 0, kWorkTop,
                              kScreenWidth, kScreenHeight - kWorkTop, nullptr, nullptr, instance,
                              this);
    if (window_ == nullptr) {
        return false;
    }
    if (inFront) {
        ShowWindow(window_, SW_SHOWNORMAL);
    } else {
        SetWindowPos(window_, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    UpdateWindow(window_);
    return true;
}

void TodayScreen::Destroy()
{
    settings_.reset();
    if (window_ != nullptr) {
        destroying_ = true;
        DestroyWindow(window_);
        destroying_ = false;
    }
}

LRESULT CALLBACK TodayScreen::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<TodayScreen, &TodayScreen::window_, &TodayScreen::HandleMessage>(window, message, wParam, lParam);
}

LRESULT TodayScreen::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_DESTROY:
        // Only the screen's own end unloads the items: another program's
        // WM_DESTROY leaves the window there.
        if (destroying_) {
            OnDestroy();
        }
        return 0;
    case WM_ACTIVATE:
        // The Start menu opens from the navigation bar, which takes the
        // activation for it: the menu opens over the screen, whose strip
        // stays until the menu has closed (kMsgStartMenuClosed).
        if (LOWORD(wParam) != WA_INACTIVE || !IsNavigationBar(reinterpret_cast<HWND>(lParam)))
            ClaimBottomStrip(LOWORD(wParam) != WA_INACTIVE);
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case kMsgTodayListChanged:
        CheckList();
        return 0;
    case WM_LBUTTONDOWN:
        OnStylusDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnStylusMove(GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnTap(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        ScrollTo(scroll_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 2 * kScrollStep);
        return 0;
    case WM_KEYDOWN:
        if (OnKey(wParam)) {
            return 0;
        }
        return DefWindowProcW(window_, message, wParam, lParam);
    case TODAYM_GETCOLOR:
        return OnGetColour(wParam);
    case TODAYM_DRAWWATERMARK:
        // Its structure is the sending item's: posted, or from another
        // thread or program, the number in lParam points nowhere of ours.
        if (!OwnThreadSend::FromOwnThread(window_, message, wParam, lParam)) {
            return 0;
        }
        return OnDrawWatermark(reinterpret_cast<const TODAYDRAWWATERMARKINFO*>(lParam));
    case kMsgShowToday:
    case kMsgShowTodaySettings:
    case kMsgStartMenuClosed:
    case kMsgTodaySettingsDone:
        // The shell's own; the same numbers from anyone else are nothing.
        if (ScreenRequests::Take(message, wParam)) {
            OnShellRequest(message, wParam);
        }
        return 0;
    case WM_CLOSE:
        // The Today screen stays for the shell's whole run.
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void TodayScreen::OnShellRequest(UINT message, WPARAM wParam)
{
    switch (message) {
    case kMsgShowToday:
        BringToFront();
        break;
    case kMsgShowTodaySettings:
        ShowSettings();
        break;
    case kMsgStartMenuClosed:
        if (GetActiveWindow() != window_)
            ClaimBottomStrip(false);
        break;
    case kMsgTodaySettingsDone:
        OnSettingsDone(wParam != 0);
        break;
    }
}

void TodayScreen::OnCreate()
{
    UpdateDateLine();
    listWatch_.reset(new KeyWatch(host_.List().KeyPath(), window_, kMsgTodayListChanged));
    host_.Load(window_);
    Relayout();
    SetTimer(window_, kQueryTimer, kTodayQueryMs, nullptr);
    SetTimer(window_, kWatchTimer, MsToNextMinute(), nullptr);
}

void TodayScreen::OnDestroy()
{
    KillTimer(window_, kQueryTimer);
    KillTimer(window_, kWatchTimer);
    listWatch_.reset();
    host_.Unload();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
}

void TodayScreen::CheckList()
{
    if (host_.ListChanged() || host_.MissingLibraryArrived()) {
        Reload();
    }
}

void TodayScreen::Reload()
{
    host_.Load(window_);
    Relayout();
}

int TodayScreen::VisibleHeight() const
{
    RECT client;
    GetClientRect(window_, &client);
    return client.bottom - kBottomBarHeight;
}

void TodayScreen::Relayout()
{
    contentHeight_ = host_.Layout(kDateLineHeight - scroll_, VisibleHeight()) + scroll_;
    int most = contentHeight_ - VisibleHeight();
    if (scroll_ > 0 && scroll_ > most) {
        // The content shrank: scroll back so that no empty rows show.
        scroll_ = most > 0 ? most : 0;
        contentHeight_ = host_.Layout(kDateLineHeight - scroll_, VisibleHeight()) + scroll_;
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void TodayScreen::ScrollTo(int position)
{
    int most = contentHeight_ - VisibleHeight();
    if (position > most) {
        position = most;
    }
    if (position < 0) {
        position = 0;
    }
    if (position != scroll_) {
        scroll_ = position;
        Relayout();
    }
}

void TodayScreen::OnStylusDown(int x, int y)
{
    (void)x;
    SetFocus(window_);
    dragMoved_ = false;
    if (y < VisibleHeight()) {
        dragging_ = true;
        dragY_ = y;
        SetCapture(window_);
    }
}

void TodayScreen::OnStylusMove(int y)
{
    if (dragging_ && y != dragY_) {
        dragMoved_ = true;
        ScrollTo(scroll_ + (dragY_ - y));
        dragY_ = y;
    }
}

bool TodayScreen::OnKey(WPARAM key)
{
    int page = VisibleHeight() - kScrollStep;
    switch (key) {
    case VK_UP:
        ScrollTo(scroll_ - kScrollStep);
        return true;
    case VK_DOWN:
        ScrollTo(scroll_ + kScrollStep);
        return true;
    case VK_PRIOR:
        ScrollTo(scroll_ - page);
        return true;
    case VK_NEXT:
        ScrollTo(scroll_ + page);
        return true;
    default:
        return false;
    }
}

void TodayScreen::QueryItems()
{
    if (host_.QueryHeights()) {
        Relayout();
    }
}

void TodayScreen::OnTimer(UINT_PTR id)
{
    if (id == kQueryTimer) {
        if (host_.MissingLibraryArrived() || host_.LoadRefused()) {
            Reload();
        }
        QueryItems();
        return;
    }
    if (id == kWatchTimer) {
        UpdateDateLine();
        SetTimer(window_, kWatchTimer, MsToNextMinute(), nullptr);
    }
}

void TodayScreen::UpdateDateLine()
{
    wchar_t line[80];
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, line, 80) == 0) {
        line[0] = L'\0';
    }
    if (wcscmp(line, dateLine_) != 0) {
        CopyText(dateLine_, 80, line);
        if (window_ != nullptr) {
            RECT rect = {0, 0, kScreenWidth, kDateLineHeight};
            InvalidateRect(window_, &rect, TRUE);
        }
    }
}

void TodayScreen::EraseBackground(HDC dc) const
{
    RECT client;
    GetClientRect(window_, &client);
    Watermark::Draw(dc, client, 0);
}

void TodayScreen::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);

    HFONT bold = CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, bold);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kHighlightColour);
    int dateTop = -scroll_;
    RECT dateRect = {6, dateTop, client.right - 4, dateTop + kDateLineHeight};
    DrawTextW(dc, dateLine_, -1, &dateRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    HPEN line = CreatePen(PS_SOLID, 1, kHighlightColour);
    HGDIOBJ oldPen = SelectObject(dc, line);
    MoveToEx(dc, 4, dateTop + kDateLineHeight - 2, nullptr);
    LineTo(dc, client.right - 4, dateTop + kDateLineHeight - 2);
    SelectObject(dc, oldPen);
    DeleteObject(line);

    RECT bar = {0, client.bottom - kBottomBarHeight, client.right, client.bottom};
    HBRUSH barBrush = CreateSolidBrush(RGB(214, 214, 214));
    FillRect(dc, &bar, barBrush);
    DeleteObject(barBrush);
    MoveToEx(dc, 0, bar.top, nullptr);
    LineTo(dc, client.right, bar.top);
    SetTextColor(dc, kTextColour);
    RECT settings = {0, bar.top, kSettingsButtonWidth, bar.bottom};
    DrawTextW(dc, kSettingsLabel, -1, &settings, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    DrawScrollArrows(dc, bar);

    SelectObject(dc, oldFont);
    DeleteObject(bold);
    EndPaint(window_, &paint);
}

void TodayScreen::DrawScrollArrows(HDC dc, const RECT& bar) const
{
    if (contentHeight_ <= VisibleHeight()) {
        return;
    }
    // Two triangles, grey when that way is at its end.
    int middle = (bar.top + bar.bottom) / 2;
    for (int down = 0; down < 2; ++down) {
        int centre = bar.right - kArrowWidth * (2 - down) + kArrowWidth / 2;
        bool possible = down ? scroll_ < contentHeight_ - VisibleHeight() : scroll_ > 0;
        HBRUSH brush = CreateSolidBrush(possible ? kHighlightColour : RGB(160, 160, 160));
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        POINT up[3] = {{centre - 6, middle + 4}, {centre + 6, middle + 4}, {centre, middle - 4}};
        POINT dn[3] = {{centre - 6, middle - 4}, {centre + 6, middle - 4}, {centre, middle + 4}};
        Polygon(dc, down ? dn : up, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
    }
}

void TodayScreen::OnTap(int x, int y)
{
    if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
    }
    RECT client;
    GetClientRect(window_, &client);
    if (dragMoved_ || y < client.bottom - kBottomBarHeight) {
        return;
    }
    if (x < kSettingsButtonWidth) {
        ShowSettings();
    } else if (x >= client.right - 2 * kArrowWidth && x < client.right - kArrowWidth) {
        ScrollTo(scroll_ - (VisibleHeight() - kScrollStep));
    } else if (x >= client.right - kArrowWidth) {
        ScrollTo(scroll_ + (VisibleHeight() - kScrollStep));
    }
}

LRESULT TodayScreen::OnGetColour(WPARAM which) const
{
    switch (which) {
    case TODAYCOLOR_HIGHLIGHT:
        return kHighlightColour;
    case TODAYCOLOR_HIGHLIGHTEDTEXT:
        return kHighlightedTextColour;
    case TODAYCOLOR_TEXT:
    default:
        return kTextColour;
    }
}

LRESULT TodayScreen::OnDrawWatermark(const TODAYDRAWWATERMARKINFO* info) const
{
    if (info == nullptr || info->hdc == nullptr) {
        return 0;
    }
    // The item's rectangle continues the picture from where its window sits
    // on the screen.
    POINT origin = {0, 0};
    if (info->hwnd != nullptr && IsWindow(info->hwnd)) {
        MapWindowPoints(info->hwnd, window_, &origin, 1);
    }
    Watermark::Draw(info->hdc, info->rc, origin.y);
    return 1;
}

bool TodayScreen::IsNavigationBar(HWND window)
{
    wchar_t className[16] = L"";
    return window != nullptr && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId() &&
           GetClassNameW(window, className, 16) > 0 && wcscmp(className, kNavBarClass) == 0;
}

// The bottom strip is the Today screen's menu bar: while another window is
// in front, that window's menu bar stands there. Wine's virtual desktop does
// not always restack a program's menu bar over this full-screen window when
// the program comes back to the front, so the screen gives the strip up.
void TodayScreen::ClaimBottomStrip(bool claim)
{
    if (claim) {
        SetWindowRgn(window_, nullptr, TRUE);
        return;
    }
    RECT window;
    GetWindowRect(window_, &window);
    HRGN workArea = CreateRectRgn(0, 0, window.right - window.left, kMenuBarTop - window.top);
    if (workArea != nullptr && !SetWindowRgn(window_, workArea, TRUE))
        DeleteObject(workArea);
}

void TodayScreen::ShowSettings()
{
    if (settings_ != nullptr && settings_->Window() != nullptr) {
        SetForegroundWindow(settings_->Window());
        return;
    }
    settings_.reset(new TodaySettingsWindow(window_, host_.List()));
    if (!settings_->Create(instance_)) {
        settings_.reset();
    }
}

void TodayScreen::OnSettingsDone(bool listSaved)
{
    // The settings window goes once it has closed itself, never under an
    // item's options dialog that it still runs.
    if (listSaved && (settings_ == nullptr || settings_->Window() == nullptr)) {
        settings_.reset();
        CheckList();
    }
    // New settings, whether of the list or of an item's options: every item
    // reloads what it shows.
    host_.ClearCaches();
    QueryItems();
    Relayout();
}

void TodayScreen::BringToFront()
{
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window_);
}

}  // namespace shell
