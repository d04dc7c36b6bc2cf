#include "desktop/export/ExpiryText.h"
#include "desktop/fuzz/NoteSamples.h"

#include <gtest/gtest.h>

namespace {

using exporter::DateStyle;

using samples::Time;
const auto At = Time;

TEST(ExpiryTextTest, WordsTheTimeAsTheListDoesInEveryOrderAndClock)
{
    formats::NoteTime t = At(2002, 8, 3, 9, 5);
    EXPECT_EQ(exporter::FormatDateTime(t, true, DateStyle{0, true}), "08.03.02, 09:05");
    EXPECT_EQ(exporter::FormatDateTime(t, true, DateStyle{1, false}), "03.08.02, 09:05 AM");
    EXPECT_EQ(exporter::FormatDateTime(t, false, DateStyle{2, false}), "02.08.03");
    EXPECT_EQ(exporter::FormatDateTime(At(2002, 8, 3, 0, 7), true, DateStyle{0, false}), "08.03.02, 12:07 AM");
    EXPECT_EQ(exporter::FormatDateTime(At(2002, 8, 3, 12, 0), true, DateStyle{0, false}), "08.03.02, 12:00 PM");
    EXPECT_EQ(exporter::FormatDateTime(At(2002, 8, 3, 13, 30), true, DateStyle{0, false}), "08.03.02, 01:30 PM");
    EXPECT_EQ(exporter::FormatDateTime(At(2002, 8, 3, 11, 30), true, DateStyle{0, false}), "08.03.02, 11:30 AM");
    formats::NoteTime never = t;
    never.hour = 25;
    EXPECT_EQ(exporter::ExpiryWords(never, DateStyle{}), "Never expire");
}

TEST(ExpiryTextTest, IsoTimeOnlyForTimesOfTheCalendar)
{
    formats::NoteTime t = At(2024, 2, 29, 23, 59);
    t.second = 7;
    EXPECT_EQ(exporter::IsoTime(t), "2024-02-29T23:59:07");
    EXPECT_EQ(exporter::IsoTime(At(2023, 2, 29, 10, 0)), "");
    EXPECT_EQ(exporter::IsoTime(At(2024, 13, 1, 10, 0)), "");
    EXPECT_EQ(exporter::IsoTime(At(2024, 1, 1, 25, 0)), "");
    EXPECT_LT(exporter::TimeKey(At(2024, 12, 31, 23, 59)), exporter::TimeKey(At(2025, 1, 1, 0, 0)));
    EXPECT_LT(exporter::TimeKey(At(2024, 2, 28, 12, 0)), exporter::TimeKey(At(2024, 2, 29, 0, 0)));
}

}  // namespace
