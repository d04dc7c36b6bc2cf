// The expiry picker over real windows: a test owner records what the picker
// posts to it, a child stands in for the clock button, and the pop-up loses
// its activation to another window or to a tap, as on the device.
#include "notewindow/ExpiryPicker.h"

#include "notes/ExpiryRules.h"
#include "notewindow/NoteWindowMessages.h"
#include "tests/support/DeviceInput.h"
#include "tests/support/MessageLog.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestTimes.h"
#include "tests/support/TestWindow.h"

#include <cecompat.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

bool Recorded(UINT message)
{
    return message == kMsgPickerClosed || message == WM_COMMAND || message == WM_USER + 7 ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE);
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDayOfWeek == b.wDayOfWeek && a.wDay == b.wDay &&
           a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond &&
           a.wMilliseconds == b.wMilliseconds;
}

class ExpiryPickerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES};
        InitCommonControlsEx(&controls);
    }

    void SetUp() override
    {
        received.Keep(Recorded);
        owner_ = Make("owner", WS_POPUP | WS_VISIBLE, RECT{0, 26, 240, 294}, nullptr, L"owner");
        anchor_ = Make("anchor", WS_CHILD | WS_VISIBLE, RECT{220, 6, 236, 22}, owner_);
        ASSERT_NE(nullptr, anchor_);
        SetForegroundWindow(owner_);
    }

    void TearDown() override
    {
        picker_.ClosePicker();
        while (!windows_.empty())
            windows_.pop_back();
        Pump();
    }

    HWND Make(const char* name, DWORD style, RECT place, HWND parent, const wchar_t* title = L"")
    {
        windows_.push_back(std::make_unique<TestWindow>(received, name, style, place, parent, title));
        return windows_.back()->Handle();
    }

    void Open()
    {
        ASSERT_TRUE(picker_.ShowPicker(owner_, anchor_));
        Pump();
        ASSERT_EQ(picker_.Window(), GetActiveWindow());
    }

    void ActivateAnotherWindow()
    {
        other_ = Make("other", WS_POPUP | WS_VISIBLE, RECT{0, 26, 50, 76}, nullptr, L"other");
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

    int ClosedCount() const
    {
        return int(received.Count([this](const MessageRecord& m) { return received.Same(m, kClosed); }));
    }

    // What the owner and the clock button get, sent or posted alike:
    // window, message, wParam, lParam.
    MessageLog received{kWindowField | kWParamField | kLParamField, kNoteMessages};
    const MessageRecord kClosed = {"owner", kMsgPickerClosed};
    std::vector<std::unique_ptr<TestWindow>> windows_;
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
    EXPECT_MESSAGES({kClosed}, received);
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
    EXPECT_MESSAGES({kClosed}, received);
}

TEST_F(ExpiryPickerTest, OkReadsTheChoiceAndHandsTheCommandToTheOwner)
{
    picker_.WorkingExpiry() = Expiry(2031, 5, 17, 14, 35, 20, 0);
    Open();
    SendMessageW(Calendar(), WM_KEYDOWN, VK_RIGHT, 0);  // one day later

    SendMessageW(picker_.Window(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 1234);
    Pump();

    std::vector<MessageRecord> expected = {kClosed, {"owner", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 1234}};
    EXPECT_MESSAGES(expected, received);
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

    std::vector<MessageRecord> expected = {{"owner", WM_USER + 7}, kClosed};
    EXPECT_MESSAGES(expected, received);
}

TEST_F(ExpiryPickerTest, TheTapThatClosesThePickerReachesNeitherTheClockButtonNorTheNote)
{
    Open();
    HWND popup = picker_.Window();
    TapThroughInput(anchor_, 8, 8);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(popup); }));
    Pump();
    EXPECT_MESSAGES({kClosed}, received);

    // Only that one tap: the next one reaches the note.
    TapThroughInput(owner_, 30, 150);
    ASSERT_TRUE(PumpUntil([&] { return received.size() >= 2; }));
    EXPECT_EQ(received.Describe({"owner", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 150)}),
              received.Describe(received[1]));
}

}  // namespace
