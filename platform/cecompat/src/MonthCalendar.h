// The handheld-sized month calendar, registered as "SysMonthCal32" for a
// module by CeInitCommonControlsEx. One month in 7 columns of 23 pixels:
// the month and year between two arrows, the day names, six weeks of days
// (today's number in red, framed unless MCS_NOTODAYCIRCLE), the selection
// filled, and a bottom line with "Today:" (a tap selects today) and, with
// CE_MCS_NONE, a "None" button that sends CE_MCN_NODATE to the parent.
// It answers MCM_GETCURSEL, MCM_SETCURSEL, MCM_GETTODAY, MCM_SETTODAY,
// MCM_GETMINREQRECT, MCM_GETFIRSTDAYOFWEEK and MCM_SETFIRSTDAYOFWEEK like the
// desktop's calendar and sends MCN_SELCHANGE and MCN_SELECT. It has no room
// for week numbers and asks for no day states; those style bits are ignored.
#pragma once

#include <windows.h>

class MonthCalendar {
public:
    // Registers the class for module (a local class). False when it could
    // not be registered and does not exist already.
    static bool Register(HINSTANCE module);
    static void Unregister(HINSTANCE module);

    // The client size the calendar lays itself out in.
    static const int kMinWidth = 161;
    static const int kMinHeight = 160;

private:
    enum class Part { None, Previous, Next, Day, Today, NoDate };

    struct Cell {
        SYSTEMTIME date;
        bool inMonth;
    };

    explicit MonthCalendar(HWND window);
    ~MonthCalendar();

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnPaint();
    void OnButtonDown(int x, int y);
    void OnButtonUp(int x, int y);
    LRESULT OnKeyDown(WPARAM key);
    BOOL GetCurSel(SYSTEMTIME* out) const;
    BOOL SetCurSel(const SYSTEMTIME* date);
    BOOL SetToday(const SYSTEMTIME* date);
    LRESULT SetFirstDayOfWeek(LPARAM day);

    void Draw(HDC dc, const RECT& client);
    void DrawTitle(HDC dc, const RECT& client);
    void DrawDays(HDC dc, const RECT& client);
    void DrawBottom(HDC dc, const RECT& client);
    SYSTEMTIME Today() const;
    Part HitTest(int x, int y, SYSTEMTIME* day) const;
    RECT CellRect(const RECT& client, int index) const;
    RECT NoDateRect(const RECT& client) const;
    RECT TodayRect(const RECT& client) const;
    Cell CellAt(int index) const;
    int ColumnWidth(const RECT& client) const;

    // Moves the selection (and the month shown) and tells the parent.
    void SelectByUser(const SYSTEMTIME& date, bool select);
    void ShowMonthOffset(int months);
    // False when the parent destroyed the calendar while answering.
    bool Notify(UINT code);

    HWND window_;
    DWORD style_;
    SYSTEMTIME selection_ = {};
    SYSTEMTIME today_ = {};
    bool todaySet_ = false;
    WORD shownYear_ = 0;
    WORD shownMonth_ = 0;
    int firstDayOfWeek_ = 6;  // 0 Monday ... 6 Sunday, as LOCALE_IFIRSTDAYOFWEEK
    bool firstDaySet_ = false;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    HFONT givenFont_ = nullptr;
    Part pressed_ = Part::None;
};
