// The expiry picker over real windows: a test owner records what the picker
// posts to it, a child stands in for the clock button, and the pop-up loses
// its activation to another window or to a tap, as on the device.
#include "notewindow/ExpiryPicker.h"

#include "notes/ExpiryRules.h"
#include "notewindow/NoteWindowMessages.h"

#include <cecompat.h>
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> g_received;

bool Recorded(UINT message)
{
    return message == kMsgPickerClosed || message == WM_COMMAND || message == WM_USER + 7 ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE);
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Recorded(message)) {
        char line[96];
        snprintf(line, sizeof(line), "%s %u %lld %lld", GetParent(window) ? "anchor" : "owner", message,
                 static_cast<long long>(wParam), static_cast<long long>(lParam));
        g_received.push_back(line);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::string Line(const char* window, UINT message, long long wParam = 0, long long lParam = 0)
{
    char line[96];
    snprintf(line, sizeof(line), "%s %u %lld %lld", window, message, wParam, lParam);
    return line;
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDayOfWeek == b.wDayOfWeek && a.wDay == b.wDay &&
           a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond &&
           a.wMilliseconds == b.wMilliseconds;
}

SYSTEMTIME Expiry(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms)
{
    SYSTEMTIME time = {year, month, 0, day, hour, minute, second, ms};
    FILETIME ticks;
    SystemTimeToFileTime(&time, &ticks);
    FileTimeToSystemTime(&ticks, &time);  // fills in the day of the week
    return time;
}

class ExpiryPickerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = L"PickerTestWindow";
        RegisterClassW(&windowClass);
    }

    void SetUp() override
    {
        g_received.clear();
        owner_ = CreateWindowExW(0, L"PickerTestWindow", L"owner", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        anchor_ = CreateWindowExW(0, L"PickerTestWindow", L"", WS_CHILD | WS_VISIBLE, 220, 6, 16, 16, owner_,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, anchor_);
        SetForegroundWindow(owner_);
    }

    void TearDown() override
    {
        picker_.ClosePicker();
        if (other_ != nullptr)
            DestroyWindow(other_);
        DestroyWindow(owner_);
        Pump();
    }

    static void Pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    // Waits (bounded) for input to be delivered until the condition holds.
    template <class Condition>
    static bool PumpUntil(Condition condition)
    {
        for (int round = 0; round < 200 && !condition(); ++round) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            Pump();
        }
        return condition();
    }

    void Open()
    {
        ASSERT_TRUE(picker_.ShowPicker(owner_, anchor_));
        Pump();
        ASSERT_EQ(picker_.Window(), GetActiveWindow());
    }

    void ActivateAnotherWindow()
    {
        other_ = CreateWindowExW(0, L"PickerTestWindow", L"other", WS_POPUP | WS_VISIBLE, 0, 26, 50, 50, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        SetForegroundWindow(other_);
        SetActiveWindow(other_);
        Pump();
    }

    HWND Calendar() const { return GetDlgItem(picker_.Window(), 1005); }
    HWND TimeField() const { return GetDlgItem(picker_.Window(), 1003); }

    // The date and time the controls show, composed as the picker reads them.
    SYSTEMTIME Shown(WORD milliseconds) const
    {
        SYSTEMTIME date = {}, time = {};
        EXPECT_TRUE(SendMessageW(Calendar(), MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date)));
        EXPECT_EQ(GDT_VALID, SendMessageW(TimeField(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)));
        SYSTEMTIME shown = {date.wYear, date.wMonth, date.wDayOfWeek, date.wDay,
                            time.wHour, time.wMinute, time.wSecond, milliseconds};
        return shown;
    }

    // A stylus tap through the system's input, at a point of a window.
    static void Tap(HWND window, int x, int y)
    {
        POINT point = {x, y};
        ClientToScreen(window, &point);
        // The press and the release carry their position: a separate move
        // can be overtaken by an older pointer position from the display.
        INPUT input[2] = {};
        for (INPUT& one : input) {
            one.type = INPUT_MOUSE;
            one.mi.dx = MulDiv(point.x, 65536, GetSystemMetrics(SM_CXSCREEN));
            one.mi.dy = MulDiv(point.y, 65536, GetSystemMetrics(SM_CYSCREEN));
        }
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(2, input, sizeof(INPUT));
    }

    int ClosedCount() const
    {
        int count = 0;
        for (const std::string& line : g_received)
            count += line == Line("owner", kMsgPickerClosed);
        return count;
    }

    ExpiryPicker picker_;
    HWND owner_ = nullptr;
    HWND anchor_ = nullptr;
    HWND other_ = nullptr;
};

TEST_F(ExpiryPickerTest, NeverExpiringNoteTakesTheTimeShownWhenDeactivated)
{
    picker_.WorkingExpiry() = SYSTEMTIME{};
    picker_.WorkingExpiry().wHour = kNeverExpiresHour;
    Open();
    EXPECT_EQ(163, [&] { RECT r; GetWindowRect(picker_.Window(), &r); return int(r.right - r.left); }());
    SYSTEMTIME now;
    GetLocalTime(&now);
    SYSTEMTIME shown = Shown(0);
    EXPECT_EQ(now.wYear, shown.wYear);  // the controls start at the clock, not at the zero date

    ActivateAnotherWindow();

    EXPECT_FALSE(picker_.IsOpen());
    EXPECT_FALSE(IsWindow(Calendar()));
    EXPECT_TRUE(picker_.Changed());
    EXPECT_TRUE(SameTime(shown, picker_.WorkingExpiry()));
    EXPECT_EQ(std::vector<std::string>{Line("owner", kMsgPickerClosed)}, g_received);
}

TEST_F(ExpiryPickerTest, UntouchedExpiryIsShownAndStaysUnchanged)
{
    SYSTEMTIME expiry = Expiry(2031, 5, 17, 14, 35, 20, 250);
    picker_.WorkingExpiry() = expiry;
    Open();
    EXPECT_TRUE(SameTime(expiry, Shown(250)));

    ActivateAnotherWindow();

    EXPECT_FALSE(picker_.Changed());
    EXPECT_TRUE(SameTime(expiry, picker_.WorkingExpiry()));
    EXPECT_EQ(1, ClosedCount());
}

TEST_F(ExpiryPickerTest, NextMonthOnTheCalendarIsTheNewExpiryWithItsTimeAndMilliseconds)
{
    picker_.WorkingExpiry() = Expiry(2031, 1, 31, 9, 5, 0, 7);
    Open();
    SendMessageW(Calendar(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 10));  // the right arrow
    SendMessageW(Calendar(), WM_LBUTTONUP, 0, MAKELPARAM(150, 10));

    ActivateAnotherWindow();

    EXPECT_TRUE(picker_.Changed());
    EXPECT_TRUE(SameTime(Expiry(2031, 2, 28, 9, 5, 0, 7), picker_.WorkingExpiry()));
}

TEST_F(ExpiryPickerTest, TappingNoneMakesTheNoteNeverExpire)
{
    SYSTEMTIME expiry = Expiry(2031, 5, 17, 14, 35, 20, 250);
    picker_.WorkingExpiry() = expiry;
    Open();
    RECT calendar;
    GetClientRect(Calendar(), &calendar);
    LPARAM none = MAKELPARAM(calendar.right - 24, 150);  // the "None" button under the days
    PostMessageW(Calendar(), WM_LBUTTONDOWN, MK_LBUTTON, none);
    PostMessageW(Calendar(), WM_LBUTTONUP, 0, none);
    Pump();

    EXPECT_FALSE(picker_.IsOpen());
    EXPECT_TRUE(picker_.Changed());
    EXPECT_TRUE(NeverExpires(picker_.WorkingExpiry()));
    EXPECT_EQ(expiry.wYear, picker_.WorkingExpiry().wYear);  // only the hour marks "never"
    // Destroying the pop-up took its activation: that is no second closing.
    EXPECT_EQ(std::vector<std::string>{Line("owner", kMsgPickerClosed)}, g_received);
}

TEST_F(ExpiryPickerTest, OkReadsTheChoiceAndHandsTheCommandToTheOwner)
{
    picker_.WorkingExpiry() = Expiry(2031, 5, 17, 14, 35, 20, 0);
    Open();
    SendMessageW(Calendar(), WM_KEYDOWN, VK_RIGHT, 0);  // one day later

    SendMessageW(picker_.Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 1234);
    Pump();

    EXPECT_EQ((std::vector<std::string>{Line("owner", kMsgPickerClosed),
                                        Line("owner", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 1234)}),
              g_received);
    EXPECT_TRUE(picker_.Changed());
    EXPECT_EQ(18, picker_.WorkingExpiry().wDay);
    EXPECT_TRUE(picker_.IsOpen());  // the owner's Done closes it

    // Closed by its owner, the picker reports nothing more.
    picker_.ClosePicker();
    Pump();
    EXPECT_EQ(1, ClosedCount());
}

TEST_F(ExpiryPickerTest, DeactivationThrowsAwayStylusMessagesForTheClockButtonAndTheNote)
{
    Open();
    PostMessageW(anchor_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(anchor_, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    PostMessageW(owner_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 100));
    PostMessageW(owner_, WM_USER + 7, 0, 0);  // not a stylus message: kept
    PostMessageW(owner_, WM_LBUTTONUP, 0, MAKELPARAM(30, 100));

    ActivateAnotherWindow();

    EXPECT_EQ((std::vector<std::string>{Line("owner", WM_USER + 7), Line("owner", kMsgPickerClosed)}),
              g_received);
}

TEST_F(ExpiryPickerTest, TheTapThatClosesThePickerReachesNeitherTheClockButtonNorTheNote)
{
    Open();
    HWND popup = picker_.Window();
    Tap(anchor_, 8, 8);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(popup); }));
    Pump();
    EXPECT_EQ(std::vector<std::string>{Line("owner", kMsgPickerClosed)}, g_received);

    // Only that one tap: the next one reaches the note.
    Tap(owner_, 30, 150);
    ASSERT_TRUE(PumpUntil([&] { return g_received.size() >= 2; }));
    EXPECT_EQ(Line("owner", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 150)), g_received[1]);
}

}  // namespace
