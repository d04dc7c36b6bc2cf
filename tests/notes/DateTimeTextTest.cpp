// Run once per locale (see CMakeLists.txt): the device's locale decides the
// date order and the clock; the environment says which the locale has.
#include "notes/DateTimeText.h"
#include "tests/support/TestTimes.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

namespace {

std::string Expected(const char* name)
{
    const char* value = getenv(name);
    return value != nullptr ? value : "";
}

SYSTEMTIME At(WORD hour, WORD minute)
{
    return Time(2002, 8, 3, hour, minute);
}

std::wstring Format(const SYSTEMTIME& t, bool withTime)
{
    wchar_t out[kDateTimeTextLength];
    FormatDateTime(t, withTime, out);
    return out;
}

std::wstring Date()
{
    std::string order = Expected("JOTLINGS_EXPECT_ORDER");
    if (order == "mdy")
        return L"08.03.02";
    if (order == "dmy")
        return L"03.08.02";
    return L"02.08.03";
}

}  // namespace

TEST(DateTimeTextTest, DateFollowsTheLocaleOrderWithFullStops)
{
    ASSERT_FALSE(Expected("JOTLINGS_EXPECT_ORDER").empty()) << "run through ctest";
    EXPECT_EQ(Format(At(9, 5), false), Date());
}

TEST(DateTimeTextTest, SmallValuesGetLeadingZerosAndTheYearTwoDigits)
{
    SYSTEMTIME t = At(9, 5);
    t.wYear = 2009;
    t.wMonth = 1;
    t.wDay = 2;
    std::wstring text = Format(t, false);
    std::string order = Expected("JOTLINGS_EXPECT_ORDER");
    EXPECT_EQ(text, order == "mdy" ? L"01.02.09" : order == "dmy" ? L"02.01.09" : L"09.01.02");
}

TEST(DateTimeTextTest, TimeFollowsTheLocaleClock)
{
    std::wstring date = Date();
    if (Expected("JOTLINGS_EXPECT_CLOCK") == "24") {
        EXPECT_EQ(Format(At(9, 5), true), date + L", 09:05");
        EXPECT_EQ(Format(At(0, 0), true), date + L", 00:00");
        EXPECT_EQ(Format(At(13, 30), true), date + L", 13:30");
        EXPECT_EQ(Format(At(23, 59), true), date + L", 23:59");
    } else {
        EXPECT_EQ(Format(At(9, 5), true), date + L", 09:05 AM");
        EXPECT_EQ(Format(At(0, 7), true), date + L", 12:07 AM");
        EXPECT_EQ(Format(At(11, 0), true), date + L", 11:00 AM");
        EXPECT_EQ(Format(At(12, 0), true), date + L", 12:00 PM");
        EXPECT_EQ(Format(At(13, 30), true), date + L", 01:30 PM");
        EXPECT_EQ(Format(At(23, 59), true), date + L", 11:59 PM");
    }
}
