#include "ui/clock_display.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

namespace {

using namespace MainWindow;

TEST(ClockDisplay, TwoDigitsEach) {
    const std::pair<CalendarFields, const char*> cases[] = {
        {{2014, 12, 12, 5, 0, 0, 5}, "00 : 00 : 05"},
        {{2014, 12, 12, 5, 8, 5, 9}, "08 : 05 : 09"},
        {{2014, 12, 12, 5, 10, 10, 10}, "10 : 10 : 10"},
        {{2014, 12, 12, 5, 23, 59, 59}, "23 : 59 : 59"},
    };
    for (const auto& [fields, text] : cases) EXPECT_EQ(ClockText(CalendarTimeFromFields(fields)), text);
}

TEST(ClockDisplay, EachTickAdvancesTheStandardTimeAndReadsTheLocalClock) {
    FakeProgram p;
    p.http.pages = {TimePage(1418380800000)};
    p.clock.now = {2014, 12, 12, 5, 18, 39, 50};
    p.Launch();
    EXPECT_EQ(p.window.texts[标签6], "XX : XX : XX");
    p.window.Advance(1000);
    EXPECT_EQ(p.window.texts[标签6], "18 : 40 : 01");
    EXPECT_EQ(p.window.texts[标签7], "18 : 39 : 50");
    p.clock.now = {2014, 12, 12, 5, 9, 0, 0};  // changed by hand
    p.window.Advance(2000);
    EXPECT_EQ(p.window.texts[标签6], "18 : 40 : 03");
    EXPECT_EQ(p.window.texts[标签7], "09 : 00 : 00");
}

TEST(ClockDisplay, RollsOverAtMidnight) {
    FakeProgram p;
    p.program.standardTime = CalendarTimeFromFields({2014, 12, 12, 5, 23, 59, 59});
    p.program.standardTimeKnown = true;
    OnClockTick(p.program);
    EXPECT_EQ(p.window.texts[标签6], "00 : 00 : 00");
    EXPECT_EQ(SplitCalendarTime(p.program.standardTime).day, 13);
}

TEST(ClockDisplay, AnHourOfTicksKeepsTheSecondsExact) {
    FakeProgram p;
    p.http.pages = {TimePage(1418380800000)};
    p.Launch();
    p.window.Advance(3600 * 1000);
    EXPECT_EQ(p.window.texts[标签6], "19 : 40 : 00");
}

}  // namespace
