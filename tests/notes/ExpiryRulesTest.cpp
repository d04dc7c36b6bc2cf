#include "notes/ExpiryRules.h"

#include "notes/Clock.h"
#include "tests/support/TestTimes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SYSTEMTIME Offset(WORD day, WORD hour, WORD minute, WORD second = 0)
{
    SYSTEMTIME t = {};
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

std::string Text(const SYSTEMTIME& t)
{
    char s[64];
    sprintf(s, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return s;
}

// A clock the tests set.
SYSTEMTIME g_now;
void FixedClock(SYSTEMTIME* now) { *now = g_now; }

class ExpiryRulesWithClock : public ::testing::Test {
protected:
    void SetUp() override { SetClock(FixedClock); }
    void TearDown() override { SetClock(nullptr); }

    std::wstring Status(const SYSTEMTIME& expiry, bool stored = true, bool expired = false)
    {
        wchar_t text[kExpiryTextLength];
        ExpiryStatusText(expiry, stored, expired, text, kExpiryTextLength);
        return text;
    }
};

}  // namespace

TEST(ExpiryRulesTest, OffsetsCarryIntoTheNextMinuteHourDayMonthAndYear)
{
    SYSTEMTIME t = Time(2026, 12, 31, 23, 50);
    AddTimeOffset(&t, Offset(0, 0, 15));
    EXPECT_EQ(Text(t), "2027-01-01 00:05:00");

    t = Time(2026, 1, 31, 10, 0);
    AddTimeOffset(&t, Offset(7, 0, 0));
    EXPECT_EQ(Text(t), "2026-02-07 10:00:00");

    t = Time(2026, 5, 10, 10, 59, 50);
    AddTimeOffset(&t, Offset(0, 0, 0, 15));
    EXPECT_EQ(Text(t), "2026-05-10 11:00:05");

    t = Time(2026, 4, 30, 22, 30);
    AddTimeOffset(&t, Offset(0, 2, 0));
    EXPECT_EQ(Text(t), "2026-05-01 00:30:00");
}

TEST(ExpiryRulesTest, FebruaryFollowsTheLeapYearRules)
{
    struct {
        WORD year;
        const char* next;
    } cases[] = {{2002, "2002-03-01"}, {2004, "2004-02-29"}, {1900, "1900-03-01"}, {2000, "2000-02-29"}};
    for (const auto& c : cases) {
        SYSTEMTIME t = Time(c.year, 2, 28, 12, 0);
        AddTimeOffset(&t, Offset(1, 0, 0));
        EXPECT_EQ(Text(t).substr(0, 10), c.next) << c.year;
    }
}

TEST(ExpiryRulesTest, DayOfWeekAndMillisecondsAreLeftAlone)
{
    SYSTEMTIME t = Time(2026, 12, 8, 12, 0);
    t.wDayOfWeek = 2;
    t.wMilliseconds = 123;
    SYSTEMTIME offset = Offset(1, 0, 0);
    offset.wDayOfWeek = 5;
    offset.wMilliseconds = 900;
    AddTimeOffset(&t, offset);
    EXPECT_EQ(t.wDayOfWeek, 2);
    EXPECT_EQ(t.wMilliseconds, 123);
}

TEST_F(ExpiryRulesWithClock, PresetsAreTheClockPlusTheirOffset)
{
    g_now = Time(2026, 12, 31, 23, 55, 42);
    struct {
        int command;
        const char* expected;
    } cases[] = {
        {kCmdExpiry10Minutes, "2027-01-01 00:05:42"}, {kCmdExpiry15Minutes, "2027-01-01 00:10:42"},
        {kCmdExpiry30Minutes, "2027-01-01 00:25:42"}, {kCmdExpiry1Hour, "2027-01-01 00:55:42"},
        {kCmdExpiry2Hours, "2027-01-01 01:55:42"},    {kCmdExpiryTomorrow, "2027-01-01 23:55:42"},
        {kCmdExpiryNextWeek, "2027-01-07 23:55:42"},
    };
    for (const auto& c : cases) {
        SYSTEMTIME expiry = {};
        ASSERT_TRUE(ApplyExpiryChoiceTo(c.command, &expiry));
        EXPECT_EQ(Text(expiry), c.expected) << c.command;
    }
}

TEST_F(ExpiryRulesWithClock, NeverExpireSetsOnlyTheHour)
{
    SYSTEMTIME expiry = Time(2026, 3, 4, 5, 6);
    ASSERT_TRUE(ApplyExpiryChoiceTo(kCmdExpiryNever, &expiry));
    EXPECT_EQ(expiry.wHour, 25);
    EXPECT_EQ(expiry.wDay, 4);
    EXPECT_TRUE(NeverExpires(expiry));
    EXPECT_FALSE(ApplyExpiryChoiceTo(119, &expiry));
}

TEST_F(ExpiryRulesWithClock, StatusLineCountsDownTheLastDay)
{
    g_now = Time(2026, 12, 8, 10, 0, 0);
    EXPECT_EQ(Status(Time(2026, 12, 8, 12, 15)), L"Expire after 2 h 15 m");
    EXPECT_EQ(Status(Time(2026, 12, 8, 12, 5)), L"Expire after 2 h 05 m");
    EXPECT_EQ(Status(Time(2026, 12, 8, 12, 0)), L"Expire after 2 h");
    EXPECT_EQ(Status(Time(2026, 12, 8, 11, 0, 30)), L"Expire after 1 h");
    EXPECT_EQ(Status(Time(2026, 12, 8, 10, 1)), L"Expire after 1 minutes");
    EXPECT_EQ(Status(Time(2026, 12, 8, 10, 0, 59)), L"Expire after 0 minutes");
    // Due right now counts as not yet overdue.
    EXPECT_EQ(Status(Time(2026, 12, 8, 10, 0, 0)), L"Expire after 0 minutes");
    EXPECT_EQ(Status(Time(2026, 12, 9, 9, 59)), L"Expire after 23 h 59 m");
}

TEST_F(ExpiryRulesWithClock, StatusLineShowsTheDateWhenADayOrMoreAwayOrOverdue)
{
    g_now = Time(2026, 12, 8, 10, 0, 0);
    std::wstring later = Status(Time(2026, 12, 9, 10, 1));
    EXPECT_EQ(later.rfind(L"Expire at : ", 0), 0u) << later.c_str();
    EXPECT_NE(later.find(L"10:01"), std::wstring::npos) << later.c_str();
    std::wstring overdue = Status(Time(2026, 12, 8, 9, 59));
    EXPECT_EQ(overdue.rfind(L"Expire at : ", 0), 0u) << overdue.c_str();
}

TEST_F(ExpiryRulesWithClock, ExpiredAndNeverExpiringNotesSaySo)
{
    g_now = Time(2026, 12, 8, 10, 0, 0);
    SYSTEMTIME future = Time(2027, 1, 1, 0, 0);
    EXPECT_EQ(Status(future, true, true), L"Jotling is expired");
    // A new note is never shown as expired.
    EXPECT_NE(Status(future, false, true), L"Jotling is expired");
    SYSTEMTIME never = future;
    never.wHour = 25;
    EXPECT_EQ(Status(never, true, false), L"Never expire");
    EXPECT_EQ(Status(never, true, true), L"Jotling is expired");
}

namespace {
// A clock that passes the expiry between the two readings of the status line.
int g_reads;
void RacingClock(SYSTEMTIME* now)
{
    *now = ++g_reads == 1 ? Time(2026, 12, 8, 9, 59, 59) : Time(2026, 12, 8, 10, 5, 0);
}
}  // namespace

TEST(ExpiryRulesTest, ExpiryPassingWhileTheLineIsBuiltShowsZeroMinutes)
{
    g_reads = 0;
    SetClock(RacingClock);
    wchar_t text[kExpiryTextLength];
    ExpiryStatusText(Time(2026, 12, 8, 10, 0), true, false, text, kExpiryTextLength);
    SetClock(nullptr);
    EXPECT_STREQ(text, L"Expire after 0 minutes");
}

TEST(ExpiryRulesTest, ComparisonUsesTheWholeTime)
{
    EXPECT_EQ(CompareTimes(Time(2026, 1, 1, 0, 0, 1), Time(2026, 1, 1, 0, 0, 0)), 1);
    EXPECT_EQ(CompareTimes(Time(2025, 12, 31, 23, 59), Time(2026, 1, 1, 0, 0)), -1);
    EXPECT_EQ(CompareTimes(Time(2026, 1, 1, 0, 0), Time(2026, 1, 1, 0, 0)), 0);
}
