#include "time/calendar_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct SplitCase {
    double value;
    CalendarFields expected;  // year, month, day, day of week, hour, minute, second
    friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.value; }
};

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, FieldsRoundToTheNearestSecond) {
    const SplitCase& c = GetParam();
    CalendarFields f = SplitCalendarTime(c.value);
    EXPECT_EQ(f.year, c.expected.year);
    EXPECT_EQ(f.month, c.expected.month);
    EXPECT_EQ(f.day, c.expected.day);
    EXPECT_EQ(f.dayOfWeek, c.expected.dayOfWeek);
    EXPECT_EQ(f.hour, c.expected.hour);
    EXPECT_EQ(f.minute, c.expected.minute);
    EXPECT_EQ(f.second, c.expected.second);
    EXPECT_EQ(HourOf(c.value), c.expected.hour);
    EXPECT_EQ(MinuteOf(c.value), c.expected.minute);
    EXPECT_EQ(SecondOf(c.value), c.expected.second);
}

INSTANTIATE_TEST_SUITE_P(
    CalendarTime, SplitTest,
    testing::Values(SplitCase{0.0, {1899, 12, 30, 6, 0, 0, 0}}, SplitCase{0.5, {1899, 12, 30, 6, 12, 0, 0}},
                    SplitCase{0.5 + 0.4 * kSecond, {1899, 12, 30, 6, 12, 0, 0}},
                    SplitCase{0.5 + 0.6 * kSecond, {1899, 12, 30, 6, 12, 0, 1}},
                    SplitCase{1.0 - 0.4 * kSecond, {1899, 12, 31, 0, 0, 0, 0}},
                    SplitCase{1.0 - 1.4 * kSecond, {1899, 12, 30, 6, 23, 59, 59}},
                    SplitCase{-1.25, {1899, 12, 29, 5, 6, 0, 0}}, SplitCase{-0.5, {1899, 12, 30, 6, 12, 0, 0}},
                    SplitCase{61.0, {1900, 3, 1, 4, 0, 0, 0}}, SplitCase{25569.0, {1970, 1, 1, 4, 0, 0, 0}},
                    SplitCase{BeijingEpoch, {1970, 1, 1, 4, 8, 0, 0}}, SplitCase{36585.75, {2000, 2, 29, 2, 18, 0, 0}},
                    SplitCase{50424.0, {2038, 1, 19, 2, 0, 0, 0}},
                    SplitCase{MaxCalendarTime, {9999, 12, 31, 5, 0, 0, 0}}, SplitCase{kNaN, {9999, 12, 31, 5, 0, 0, 0}},
                    SplitCase{kInf, {9999, 12, 31, 5, 0, 0, 0}}, SplitCase{1e12, {9999, 12, 31, 5, 0, 0, 0}},
                    SplitCase{MinCalendarTime, {100, 1, 1, 5, 0, 0, 0}}, SplitCase{-kInf, {100, 1, 1, 5, 0, 0, 0}},
                    SplitCase{-1e12, {100, 1, 1, 5, 0, 0, 0}}));

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(AddSeconds, ZeroReturnsTheValueBitForBit) {
    EXPECT_TRUE(SameBits(AddSeconds(BeijingEpoch, 0), BeijingEpoch));
    EXPECT_TRUE(SameBits(AddSeconds(1e12, 0), 1e12));
    EXPECT_TRUE(SameBits(AddSeconds(-1e12, 0), -1e12));
    EXPECT_TRUE(std::isnan(AddSeconds(kNaN, 0)));
}

TEST(AddSeconds, BeijingEpochHasItsExactBits) {
    EXPECT_EQ(std::bit_cast<uint64_t>(BeijingEpoch), 0x40D8F85555555555ULL);
    EXPECT_DOUBLE_EQ(BeijingEpoch, 25569.333333333332);
}

TEST(AddSeconds, PageTimeReadsAsBeijingTime) {
    CalendarTime t = AddSeconds(BeijingEpoch, 1418380800);
    CalendarFields f = SplitCalendarTime(t);
    EXPECT_EQ(f.year, 2014);
    EXPECT_EQ(f.month, 12);
    EXPECT_EQ(f.day, 12);
    EXPECT_EQ(HourOf(t), 18);
    EXPECT_EQ(MinuteOf(t), 40);
    EXPECT_EQ(SecondOf(t), 0);
}

TEST(AddSeconds, ClampsTheInputButNotTheSum) {
    CalendarTime t = AddSeconds(3000000.0, 1);
    EXPECT_EQ(t, MaxCalendarTime + kSecond);
    EXPECT_GT(t, MaxCalendarTime);
    EXPECT_EQ(HourOf(t), 0);
    EXPECT_EQ(AddSeconds(kNaN, -1), MaxCalendarTime - kSecond);
    // Below day 0 the time of day counts forwards: 0099-12-31 23:59:59.
    EXPECT_NEAR(AddSeconds(-1e9, -1), MinCalendarTime - 2 + kSecond, 1e-9);
}

TEST(AddSeconds, NegativeCountSubtracts) {
    CalendarTime t = AddSeconds(BeijingEpoch, -1);
    EXPECT_EQ(t, BeijingEpoch - kSecond);
    EXPECT_EQ(SplitCalendarTime(t).hour, 7);
    EXPECT_EQ(SplitCalendarTime(t).second, 59);
    CalendarTime earliest = AddSeconds(BeijingEpoch, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(SplitCalendarTime(earliest).year, 1901);
}

struct ContinuousCase {
    double start;
    int32_t seconds;
    double expected;
    friend void PrintTo(const ContinuousCase& c, std::ostream* os) { *os << c.start << " + " << c.seconds << " s"; }
};

class ContinuousScaleTest : public testing::TestWithParam<ContinuousCase> {};

TEST_P(ContinuousScaleTest, CrossesDayZeroOnTheContinuousScale) {
    const ContinuousCase& c = GetParam();
    EXPECT_NEAR(AddSeconds(c.start, c.seconds), c.expected, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(CalendarTime, ContinuousScaleTest,
                         testing::Values(ContinuousCase{-1.25, 3600, -1.25 - 1.0 / 24},  // 06:00 to 07:00
                                         ContinuousCase{-1.75, 21600, 0.0},              // 18:00 to midnight
                                         ContinuousCase{0.25, -43200, -1.75},            // back over day 0
                                         ContinuousCase{-2.5, 86400, -1.5},              // a whole day
                                         ContinuousCase{1.5, -172800, -1.5}));

TEST(AddSeconds, ADayOfOneSecondStepsReadsOneDayLater) {
    CalendarTime t = AddSeconds(BeijingEpoch, 1418380800);
    for (int i = 0; i < 86400; ++i) t = AddSeconds(t, 1);
    CalendarFields f = SplitCalendarTime(t);
    EXPECT_EQ(f.day, 13);
    EXPECT_EQ(f.hour, 18);
    EXPECT_EQ(f.minute, 40);
    EXPECT_EQ(f.second, 0);
}

TEST(IntToText, DecimalWithoutPadding) {
    const std::pair<int32_t, const char*> cases[] = {
        {7, "7"}, {10, "10"}, {-1, "-1"}, {0, "0"}, {2147483647, "2147483647"}, {INT32_MIN, "-2147483648"}};
    for (auto [i, text] : cases) EXPECT_EQ(IntToText(i), text) << i;
}

class FakeClock : public ClockPort {
public:
    CalendarFields now{};
    CalendarFields set{};
    bool accept = true;
    int sets = 0;
    CalendarFields ReadLocalClock() override { return now; }
    bool SetLocalClock(const CalendarFields& f) override {
        set = f;
        ++sets;
        return accept;
    }
};

TEST(Clock, CurrentLocalTimeBuildsTheValueFromLocalFields) {
    FakeClock clock;
    clock.now = {2014, 12, 12, 5, 18, 40, 0};
    EXPECT_NEAR(CurrentLocalTime(clock), AddSeconds(BeijingEpoch, 1418380800), 1e-9);
    clock.now = {1899, 12, 29, 0, 6, 0, 0};
    EXPECT_EQ(CurrentLocalTime(clock), -1.25);
    clock.now = {2038, 1, 19, 0, 11, 14, 8};
    CalendarFields back = SplitCalendarTime(CurrentLocalTime(clock));
    EXPECT_EQ(back.hour, 11);
    EXPECT_EQ(back.minute, 14);
    EXPECT_EQ(back.second, 8);
}

TEST(Clock, SetSystemClockPassesRoundedFieldsAndTheAnswer) {
    FakeClock clock;
    CalendarTime t = AddSeconds(AddSeconds(BeijingEpoch, 1418380800), 1) + 0.4 * kSecond;
    EXPECT_TRUE(SetSystemClock(clock, t));
    EXPECT_EQ(clock.set.year, 2014);
    EXPECT_EQ(clock.set.month, 12);
    EXPECT_EQ(clock.set.day, 12);
    EXPECT_EQ(clock.set.dayOfWeek, 5);  // a Friday
    EXPECT_EQ(clock.set.hour, 18);
    EXPECT_EQ(clock.set.minute, 40);
    EXPECT_EQ(clock.set.second, 1);

    clock.accept = false;
    EXPECT_FALSE(SetSystemClock(clock, t));
    EXPECT_EQ(clock.sets, 2);
}

}  // namespace
