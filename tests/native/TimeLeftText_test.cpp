#include <gtest/gtest.h>

#include "common/TextFunctions_.h"

using common::TimeLeftText;

TEST(TimeLeftText, Table) {
    struct Row {
        long seconds;
        const char* padded;
        const char* clock;
        const char* longWords;
        const char* shortWords;
    };
    const Row rows[] = {
        {0, "00:00", ":00", "", ""},
        {5, "00:05", ":05", "5 seconds", "5 seconds"},
        {1, "00:01", ":01", "1 second", "1 second"},
        {60, "01:00", "1:00", "1 minute", "1 minute"},
        {90, "01:30", "1:30", "1 min 30 sec", "1 m 30 s"},
        {600, "10:00", "10:00", "10 minutes", "10 minutes"},
        {3600, "01:00:00", "1:00:00", "1 hour", "1 hour"},
        {3601, "01:00:01", "1:00:01", "1 hr 1 sec", "1 h 1 s"},
        {3660, "01:01:00", "1:01:00", "1 hr 1 min ", "1 h 1 m "},
        {7325, "02:02:05", "2:02:05", "2 hr 2 min 5 sec", "2 h 2 m 5 s"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.seconds);
        EXPECT_EQ(TimeLeftText(row.seconds, true, true, false), row.padded);
        EXPECT_EQ(TimeLeftText(row.seconds, true, false, false), row.clock);
        EXPECT_EQ(TimeLeftText(row.seconds, false, false, true), row.longWords);
        EXPECT_EQ(TimeLeftText(row.seconds, false, false, false), row.shortWords);
    }
}

TEST(TimeLeftText, HoursBeyondTwoDigitsAreWrittenInFull) {
    EXPECT_EQ(TimeLeftText(125 * 3600 + 61, true, true, false), "125:01:01");
    EXPECT_EQ(TimeLeftText(125 * 3600, true, false, false), "125:00:00");
    EXPECT_EQ(TimeLeftText(21600, false, false, true), "6 hours");
}

TEST(TimeLeftText, PaddedFlagOnlyMattersForClockAndUnitsOnlyForWords) {
    EXPECT_EQ(TimeLeftText(90, false, true, true), TimeLeftText(90, false, false, true));
    EXPECT_EQ(TimeLeftText(90, true, false, true), TimeLeftText(90, true, false, false));
}

TEST(TimeLeftText, NegativeCountShowsNothingLeft) { EXPECT_EQ(TimeLeftText(-5, true, false, false), ":00"); }
