#include "MonthCalendar.h"

#include "cecompat.h"
#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"
#include "platform/common/Text.h"

namespace {

const wchar_t kClassName[] = L"SysMonthCal32";

// Layout in client pixels, made for the handheld's 161-pixel client width
// (163 with the border) and an 11-pixel font, legible on the 80-DPI screen.
const int kTitleHeight = 20;
const int kArrowWidth = 24;
const int kNamesTop = 20;
const int kNamesHeight = 15;
const int kGridTop = 36;
const int kRowHeight = 17;
const int kRows = 6;
const int kBottomTop = kGridTop + kRows * kRowHeight + 3;
const int kBottomHeight = 18;
const int kNoDateWidth = 44;
const int kFontHeight = 11;

const int kMinYear = 1601;
const int kMaxYear = 9999;
const ULONGLONG kTicksPerDay = 864000000000ULL;

const COLORREF kTodayColour = RGB(208, 0, 0);

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(const SYSTEMTIME& date)
{
    return date.wYear >= kMinYear && date.wYear <= kMaxYear && date.wMonth >= 1 && date.wMonth <= 12 &&
           date.wDay >= 1 && date.wDay <= DaysInMonth(date.wYear, date.wMonth);
}

// The date alone, time fields zero and the day of the week filled in.
SYSTEMTIME MakeDate(int year, int month, int day)
{
    SYSTEMTIME date = {};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    FILETIME ticks;
    if (SystemTimeToFileTime(&date, &ticks))
        FileTimeToSystemTime(&ticks, &date);
    return date;
}

// The date moved by whole days; a date that would leave the range stays.
SYSTEMTIME AddDays(const SYSTEMTIME& date, int days)
{
    SYSTEMTIME start = MakeDate(date.wYear, date.wMonth, date.wDay);
    FILETIME ticks;
    if (!SystemTimeToFileTime(&start, &ticks))
        return date;
    ULARGE_INTEGER value;
    value.LowPart = ticks.dwLowDateTime;
    value.HighPart = ticks.dwHighDateTime;
    LONGLONG delta = static_cast<LONGLONG>(days) * static_cast<LONGLONG>(kTicksPerDay);
    if (delta < 0 && value.QuadPart < static_cast<ULONGLONG>(-delta))
        return date;
    value.QuadPart += static_cast<ULONGLONG>(delta);
    ticks.dwLowDateTime = value.LowPart;
    ticks.dwHighDateTime = value.HighPart;
    SYSTEMTIME moved;
    if (!FileTimeToSystemTime(&ticks, &moved) || !IsValidDate(moved))
        return date;
    return moved;
}

bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

bool Contains(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// The locale's short date with a two-digit year, as the handheld writes it
// under its calendar: "Today: 12/8/25" fits beside "None", 12/8/2025 does not.
void FormatToday(const SYSTEMTIME& today, wchar_t* out, int count)
{
    wchar_t pattern[80] = L"";
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, pattern, 80) > 0) {
        wchar_t shortened[80];
        int length = 0;
        for (const wchar_t* p = pattern; *p != L'\0' && length < 79;) {
            if (wcsncmp(p, L"yyyy", 4) == 0) {
                p += 2;  // keeps the last two: "yy"
                continue;
            }
            shortened[length++] = *p++;
        }
        shortened[length] = L'\0';
        if (GetDateFormatW(LOCALE_USER_DEFAULT, 0, &today, shortened, out, count) > 0)
            return;
    }
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &today, nullptr, out, count) == 0)
        out[0] = L'\0';
}

HFONT MakeFont(int weight)
{
    return CreateFontW(-kFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

}  // namespace

bool MonthCalendar::Register(HINSTANCE module)
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbWndExtra = sizeof(MonthCalendar*);
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassOnce(windowClass);
}

void MonthCalendar::Unregister(HINSTANCE module)
{
    UnregisterClassW(kClassName, module);
}

MonthCalendar::MonthCalendar(HWND window)
    : window_(window), style_(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)))
{
    wchar_t first[4] = L"";
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, first, 4) > 0 && first[0] >= L'0' &&
        first[0] <= L'6')
        firstDayOfWeek_ = first[0] - L'0';
    SYSTEMTIME now = Today();
    selection_ = MakeDate(now.wYear, now.wMonth, now.wDay);
    shownYear_ = selection_.wYear;
    shownMonth_ = selection_.wMonth;
    font_ = MakeFont(FW_NORMAL);
    boldFont_ = MakeFont(FW_BOLD);
}

MonthCalendar::~MonthCalendar()
{
    DeleteObject(font_);
    DeleteObject(boldFont_);
}

LRESULT CALLBACK MonthCalendar::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(window, message, wParam, lParam);
    auto* calendar = reinterpret_cast<MonthCalendar*>(GetWindowLongPtrW(window, 0));
    // Sent again by someone else, a creation message builds nothing anew.
    if (CheckCreation(window, message, calendar != nullptr) == Creation::Repeated)
        return 0;
    if (message == WM_NCCREATE) {
        calendar = new MonthCalendar(window);
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(calendar));
    }
    if (calendar == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, 0, 0);
        delete calendar;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return calendar->HandleMessage(message, wParam, lParam);
}

LRESULT MonthCalendar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_LBUTTONDOWN:
        OnButtonDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return 0;
    case WM_CAPTURECHANGED:
        if (pressed_ != Part::None) {
            pressed_ = Part::None;
            InvalidateRect(window_, nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN:
        return OnKeyDown(wParam);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_SETFONT:
        givenFont_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            InvalidateRect(window_, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(givenFont_ != nullptr ? givenFont_ : font_);
    case WM_STYLECHANGED:
        style_ = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    case MCM_GETCURSEL:
        return GetCurSel(reinterpret_cast<SYSTEMTIME*>(lParam));
    case MCM_SETCURSEL:
        return SetCurSel(reinterpret_cast<const SYSTEMTIME*>(lParam));
    case MCM_GETTODAY:
        if (lParam == 0)
            return FALSE;
        *reinterpret_cast<SYSTEMTIME*>(lParam) = Today();
        return TRUE;
    case MCM_SETTODAY:
        return SetToday(reinterpret_cast<const SYSTEMTIME*>(lParam));
    case MCM_GETMINREQRECT:
        if (lParam == 0)
            return FALSE;
        SetRect(reinterpret_cast<RECT*>(lParam), 0, 0, kMinWidth, kMinHeight);
        return TRUE;
    case MCM_GETFIRSTDAYOFWEEK:
        return MAKELONG(firstDayOfWeek_, firstDaySet_ ? 1 : 0);
    case MCM_SETFIRSTDAYOFWEEK:
        return SetFirstDayOfWeek(lParam);
    case MCM_GETMAXSELCOUNT:
        return 1;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

SYSTEMTIME MonthCalendar::Today() const
{
    if (todaySet_)
        return today_;
    SYSTEMTIME now;
    GetLocalTime(&now);
    return MakeDate(now.wYear, now.wMonth, now.wDay);
}

BOOL MonthCalendar::GetCurSel(SYSTEMTIME* out) const
{
    if (out == nullptr)
        return FALSE;
    *out = selection_;
    return TRUE;
}

BOOL MonthCalendar::SetCurSel(const SYSTEMTIME* date)
{
    // Like the desktop's calendar, only the date fields count: the time
    // fields of the caller's structure are not looked at.
    if (date == nullptr || !IsValidDate(*date))
        return FALSE;
    selection_ = MakeDate(date->wYear, date->wMonth, date->wDay);
    shownYear_ = selection_.wYear;
    shownMonth_ = selection_.wMonth;
    InvalidateRect(window_, nullptr, FALSE);
    return TRUE;
}

BOOL MonthCalendar::SetToday(const SYSTEMTIME* date)
{
    if (date == nullptr) {
        todaySet_ = false;  // back to the clock
    } else {
        if (!IsValidDate(*date))
            return FALSE;
        today_ = MakeDate(date->wYear, date->wMonth, date->wDay);
        todaySet_ = true;
    }
    InvalidateRect(window_, nullptr, FALSE);
    return TRUE;
}

LRESULT MonthCalendar::SetFirstDayOfWeek(LPARAM day)
{
    LRESULT previous = MAKELONG(firstDayOfWeek_, firstDaySet_ ? 1 : 0);
    if (day >= 0 && day <= 6) {
        firstDayOfWeek_ = static_cast<int>(day);
        firstDaySet_ = true;
        InvalidateRect(window_, nullptr, FALSE);
    }
    return previous;
}

int MonthCalendar::ColumnWidth(const RECT& client) const
{
    int width = (client.right - client.left) / 7;
    return width > 0 ? width : 1;
}

RECT MonthCalendar::CellRect(const RECT& client, int index) const
{
    int column = ColumnWidth(client);
    int left = (client.right - 7 * column) / 2 + (index % 7) * column;
    int top = kGridTop + (index / 7) * kRowHeight;
    RECT cell = {left, top, left + column, top + kRowHeight};
    return cell;
}

RECT MonthCalendar::NoDateRect(const RECT& client) const
{
    RECT button = {client.right - kNoDateWidth - 2, kBottomTop, client.right - 2, kBottomTop + kBottomHeight};
    return button;
}

RECT MonthCalendar::TodayRect(const RECT& client) const
{
    RECT line = {2, kBottomTop, client.right - 2, kBottomTop + kBottomHeight};
    if (style_ & CE_MCS_NONE)
        line.right = client.right - kNoDateWidth - 6;
    return line;
}

MonthCalendar::Cell MonthCalendar::CellAt(int index) const
{
    SYSTEMTIME first = MakeDate(shownYear_, shownMonth_, 1);
    // LOCALE_IFIRSTDAYOFWEEK counts from Monday, SYSTEMTIME from Sunday.
    int weekStart = (firstDayOfWeek_ + 1) % 7;
    int lead = (first.wDayOfWeek - weekStart + 7) % 7;
    Cell cell;
    cell.date = AddDays(first, index - lead);
    cell.inMonth = cell.date.wMonth == shownMonth_ && cell.date.wYear == shownYear_;
    return cell;
}

MonthCalendar::Part MonthCalendar::HitTest(int x, int y, SYSTEMTIME* day) const
{
    RECT client;
    GetClientRect(window_, &client);
    if (y >= 0 && y < kTitleHeight) {
        if (x >= 0 && x < kArrowWidth)
            return Part::Previous;
        if (x >= client.right - kArrowWidth && x < client.right)
            return Part::Next;
        return Part::None;
    }
    for (int index = 0; index < 7 * kRows; ++index) {
        if (Contains(CellRect(client, index), x, y)) {
            *day = CellAt(index).date;
            return Part::Day;
        }
    }
    if ((style_ & CE_MCS_NONE) && Contains(NoDateRect(client), x, y))
        return Part::NoDate;
    if (!(style_ & MCS_NOTODAY) && Contains(TodayRect(client), x, y))
        return Part::Today;
    return Part::None;
}

void MonthCalendar::OnButtonDown(int x, int y)
{
    if (GetFocus() != window_)
        SetFocus(window_);
    SYSTEMTIME day = {};
    switch (HitTest(x, y, &day)) {
    case Part::Previous:
        ShowMonthOffset(-1);
        break;
    case Part::Next:
        ShowMonthOffset(1);
        break;
    case Part::Day:
        pressed_ = Part::Day;
        SetCapture(window_);
        SelectByUser(day, false);
        break;
    case Part::NoDate:
        pressed_ = Part::NoDate;
        SetCapture(window_);
        InvalidateRect(window_, nullptr, FALSE);
        break;
    case Part::Today:
        SelectByUser(Today(), true);
        break;
    case Part::None:
        break;
    }
}

void MonthCalendar::OnButtonUp(int x, int y)
{
    Part pressed = pressed_;
    pressed_ = Part::None;
    if (GetCapture() == window_)
        ReleaseCapture();
    InvalidateRect(window_, nullptr, FALSE);
    SYSTEMTIME day = {};
    if (pressed == Part::Day) {
        Notify(MCN_SELECT);
    } else if (pressed == Part::NoDate && HitTest(x, y, &day) == Part::NoDate) {
        // The parent usually closes the calendar with its pop-up here, so
        // nothing of this object is touched after it.
        Notify(CE_MCN_NODATE);
    }
}

LRESULT MonthCalendar::OnKeyDown(WPARAM key)
{
    switch (key) {
    case VK_LEFT:
        SelectByUser(AddDays(selection_, -1), false);
        return 0;
    case VK_RIGHT:
        SelectByUser(AddDays(selection_, 1), false);
        return 0;
    case VK_UP:
        SelectByUser(AddDays(selection_, -7), false);
        return 0;
    case VK_DOWN:
        SelectByUser(AddDays(selection_, 7), false);
        return 0;
    case VK_PRIOR:
        ShowMonthOffset(-1);
        return 0;
    case VK_NEXT:
        ShowMonthOffset(1);
        return 0;
    }
    return DefWindowProcW(window_, WM_KEYDOWN, key, 0);
}

void MonthCalendar::SelectByUser(const SYSTEMTIME& date, bool select)
{
    bool moved = !SameDate(date, selection_);
    selection_ = MakeDate(date.wYear, date.wMonth, date.wDay);
    shownYear_ = selection_.wYear;
    shownMonth_ = selection_.wMonth;
    InvalidateRect(window_, nullptr, FALSE);
    if (moved && !Notify(MCN_SELCHANGE))
        return;
    if (select)
        Notify(MCN_SELECT);
}

void MonthCalendar::ShowMonthOffset(int months)
{
    // The selection goes along to the same day of the month shown (the
    // last day of a shorter month), as on the desktop's calendar.
    int index = shownYear_ * 12 + (shownMonth_ - 1) + months;
    int year = index / 12;
    int month = index % 12 + 1;
    if (year < kMinYear || year > kMaxYear)
        return;
    int day = selection_.wDay;
    if (day > DaysInMonth(year, month))
        day = DaysInMonth(year, month);
    SelectByUser(MakeDate(year, month, day), false);
}

bool MonthCalendar::Notify(UINT code)
{
    HWND self = window_;
    HWND parent = GetParent(self);
    if (parent == nullptr)
        return true;
    NMSELCHANGE change = {};
    change.nmhdr.hwndFrom = self;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(self));
    change.nmhdr.code = code;
    change.stSelStart = selection_;
    change.stSelEnd = selection_;
    SendMessageW(parent, WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
    return IsWindow(self) != FALSE;
}

void MonthCalendar::OnPaint()
{
    PAINTSTRUCT paint;
    HDC screen = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    // Drawn off screen first, so that a tap's redraw does not flicker.
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    if (dc != nullptr && bitmap != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        Draw(dc, client);
        BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
        SelectObject(dc, oldBitmap);
    } else {
        Draw(screen, client);
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    if (dc != nullptr)
        DeleteDC(dc);
    EndPaint(window_, &paint);
}

void MonthCalendar::Draw(HDC dc, const RECT& client)
{
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, givenFont_ != nullptr ? givenFont_ : font_);
    DrawTitle(dc, client);
    DrawDays(dc, client);
    DrawBottom(dc, client);
    SelectObject(dc, oldFont);
}

void MonthCalendar::DrawTitle(HDC dc, const RECT& client)
{
    wchar_t month[40] = L"";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + shownMonth_ - 1, month, 40);
    wchar_t title[64];
    FormatText(title, 64, L"%s %u", month, static_cast<unsigned>(shownYear_));
    RECT titleRect = {kArrowWidth, 0, client.right - kArrowWidth, kTitleHeight};
    HGDIOBJ oldFont = SelectObject(dc, boldFont_);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, title, -1, &titleRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    // The arrows: small filled triangles, as on the handheld.
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_WINDOWTEXT));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    int middle = kTitleHeight / 2;
    POINT previous[3] = {{8, middle}, {14, middle - 6}, {14, middle + 6}};
    int right = client.right;
    POINT next[3] = {{right - 8, middle}, {right - 14, middle - 6}, {right - 14, middle + 6}};
    Polygon(dc, previous, 3);
    Polygon(dc, next, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

void MonthCalendar::DrawDays(HDC dc, const RECT& client)
{
    // Day names, two letters each, from the locale's first day of the week.
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
    for (int column = 0; column < 7; ++column) {
        wchar_t name[16] = L"";
        int day = (firstDayOfWeek_ + column) % 7;  // 0 Monday
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + day, name, 16);
        name[2] = L'\0';
        RECT cell = CellRect(client, column);
        RECT nameRect = {cell.left, kNamesTop, cell.right, kNamesTop + kNamesHeight};
        DrawTextW(dc, name, -1, &nameRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, 2, kGridTop - 2, nullptr);
    LineTo(dc, client.right - 2, kGridTop - 2);

    SYSTEMTIME today = Today();
    HPEN todayPen = CreatePen(PS_SOLID, 1, kTodayColour);
    for (int index = 0; index < 7 * kRows; ++index) {
        Cell cell = CellAt(index);
        RECT box = CellRect(client, index);
        bool selected = SameDate(cell.date, selection_);
        bool isToday = SameDate(cell.date, today);
        if (selected) {
            RECT fill = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
            FillRect(dc, &fill, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        if (isToday && !(style_ & MCS_NOTODAYCIRCLE) && todayPen != nullptr) {
            SelectObject(dc, todayPen);
            HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, box.left, box.top, box.right, box.bottom);
            SelectObject(dc, oldBrush);
        }
        COLORREF colour = GetSysColor(cell.inMonth ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
        if (isToday)
            colour = kTodayColour;
        if (selected)
            colour = GetSysColor(COLOR_HIGHLIGHTTEXT);
        SetTextColor(dc, colour);
        wchar_t number[4];
        FormatText(number, 4, L"%u", static_cast<unsigned>(cell.date.wDay));
        DrawTextW(dc, number, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldPen);
    if (todayPen != nullptr)
        DeleteObject(todayPen);
}

void MonthCalendar::DrawBottom(HDC dc, const RECT& client)
{
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, 2, kBottomTop - 2, nullptr);
    LineTo(dc, client.right - 2, kBottomTop - 2);
    SelectObject(dc, oldPen);

    if (!(style_ & MCS_NOTODAY)) {
        SYSTEMTIME today = Today();
        wchar_t date[32] = L"";
        FormatToday(today, date, 32);
        wchar_t line[48];
        FormatText(line, 48, L"Today: %s", date);
        RECT lineRect = TodayRect(client);
        // The same red mark as today's day in the grid.
        RECT mark = {lineRect.left + 1, lineRect.top + 5, lineRect.left + 9, lineRect.top + 13};
        HBRUSH red = CreateSolidBrush(kTodayColour);
        if (red != nullptr) {
            FillRect(dc, &mark, red);
            DeleteObject(red);
        }
        lineRect.left += 12;
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, line, -1, &lineRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (style_ & CE_MCS_NONE) {
        RECT button = NoDateRect(client);
        bool down = pressed_ == Part::NoDate;
        FillRect(dc, &button, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &button, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        if (down)
            OffsetRect(&button, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, L"None", -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}
