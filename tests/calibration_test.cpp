#include "time/calibration.h"

#include <gtest/gtest.h>

#include "promo/calibration_notice.h"
#include "tests/fakes/fake_platform.h"
#include "ui/web_addresses.h"

namespace {

using namespace MainWindow;
using Log = std::vector<std::string>;

constexpr int64_t kPageMs = 1418380800000;  // 2014-12-12 18:40:00 in Beijing
const char* const kReset6 = "text 1012 XX : XX : XX";
const char* const kReset7 = "text 1014 XX : XX : XX";

// A running program whose first fetch gave 18:40:00, with the page for the
// next fetch and whether the clock accepts a new time.
struct Running : FakeProgram {
    explicit Running(std::string nextPage = TimePage(kPageMs + 5000), bool accept = true) {
        http.pages = {TimePage(kPageMs), nextPage};
        clock.accept = accept;
        Launch();
        window.Advance(1500);
        window.log.clear();
    }
};

TEST(CalibrateButton, SuccessShowsTheBoxBeforeTheLabelsReset) {
    Running p;
    p.Raise(按钮3, Event::Click);
    EXPECT_EQ(p.window.log, (Log{"box 校准完成", kReset6, kReset7}));
    EXPECT_EQ(p.window.boxes[0].text, "系统时间已校准！");
    EXPECT_EQ(p.window.boxes[0].style, 64);
    ASSERT_EQ(p.clock.sets.size(), 1u);
    const CalendarFields& set = p.clock.sets[0];
    EXPECT_EQ(std::make_tuple(set.year, set.month, set.day, set.dayOfWeek, set.hour, set.minute, set.second),
              std::make_tuple(2014, 12, 12, 5, 18, 40, 6));  // fetched 18:40:05, plus one second
    EXPECT_TRUE(p.window.tips.empty());
}

TEST(CalibrateButton, ClocksTickWhileTheBoxIsOpen) {
    Running p;
    p.window.answers.push_back([&p](const MessageBoxCall&) {
        p.window.Advance(1000);
        return MbOk;
    });
    p.Raise(按钮3, Event::Click);
    EXPECT_EQ(p.window.log,
              (Log{"box 校准完成", "text 1012 18 : 40 : 06", "text 1014 18 : 40 : 06", kReset6, kReset7}));
}

TEST(CalibrateButton, ClockNotSetResetsTheLabelsSilently) {
    Running p(TimePage(kPageMs + 5000), false);
    p.Raise(按钮3, Event::Click);
    EXPECT_EQ(p.window.log, (Log{kReset6, kReset7}));
    EXPECT_EQ(p.program.standardTime, AddSeconds(BeijingEpoch, 1418380805));
}

TEST(CalibrateButton, FailedFetchSaysSoAndChangesNothing) {
    Running p("<html>no marker</html>");
    CalendarTime before = p.program.standardTime;
    p.Raise(按钮3, Event::Click);
    EXPECT_EQ(p.window.log, (Log{"box 校准失败"}));
    EXPECT_EQ(p.window.boxes[0].style, 16);
    EXPECT_EQ(p.window.texts[标签6], "18 : 40 : 01");
    EXPECT_EQ(p.program.standardTime, before);
    EXPECT_TRUE(p.clock.sets.empty());
}

TEST(CalibrateButton, BothClocksAgreeAtTheNextTick) {
    Running p;
    p.Raise(按钮3, Event::Click);
    p.window.Advance(1000);
    EXPECT_EQ(p.window.texts[标签6], "18 : 40 : 06");
    EXPECT_EQ(p.window.texts[标签7], "18 : 40 : 06");
}

struct BackgroundCase {
    const char* name;
    std::string page;
    bool accept;
    Log expected;
    friend void PrintTo(const BackgroundCase& c, std::ostream* os) { *os << c.name; }
};

class CalibrateFromMenuTest : public testing::TestWithParam<BackgroundCase> {};

TEST_P(CalibrateFromMenuTest, LabelsResetThenTheNotice) {
    const BackgroundCase& c = GetParam();
    Running p(c.page, c.accept);
    p.Raise(MenuCalibrate, Event::Command);
    EXPECT_EQ(p.window.log, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Calibration, CalibrateFromMenuTest,
    testing::Values(BackgroundCase{"ClockSet", TimePage(kPageMs + 5000), true, {kReset6, kReset7, "tip 1920 1040 -1"}},
                    BackgroundCase{"ClockNotSet", TimePage(kPageMs + 5000), false, {kReset6, kReset7}},
                    BackgroundCase{"FetchFailed", "", true, {"box 校准失败"}}),
    [](const testing::TestParamInfo<BackgroundCase>& info) { return info.param.name; });

TEST(AutoCalibration, FirstRunsOnePeriodAfterStartUp) {
    FakeProgram p;
    p.StoreSettings({1, 2, 0, 0});
    p.http.pages = {TimePage(kPageMs), TimePage(kPageMs + 7200000), TimePage(kPageMs + 14400000)};
    p.Launch();
    p.window.Advance(7200000 - 1);
    EXPECT_EQ(p.http.fetches, 1);
    p.window.log.clear();
    p.window.Advance(1);
    EXPECT_EQ(p.http.fetches, 2);
    // 时钟1 is due at the same moment and fires first.
    EXPECT_EQ(p.window.log,
              (Log{"text 1012 20 : 40 : 00", "text 1014 18 : 40 : 00", kReset6, kReset7, "tip 1920 1040 -1"}));
    ASSERT_EQ(p.window.tips.size(), 1u);
    EXPECT_EQ(p.window.tips[0], CalibrationNoticeText);
    p.window.Advance(7200000);
    EXPECT_EQ(p.http.fetches, 3);
}

TEST(AutoCalibration, AFailedFetchShowsNothing) {
    FakeProgram p;
    p.StoreSettings({1, 0, 0, 0});
    p.http.pages = {TimePage(kPageMs)};
    p.Launch();
    p.window.Advance(1800000 - 500);
    p.window.log.clear();
    p.window.Advance(500);
    EXPECT_EQ(p.window.log, (Log{"text 1012 19 : 10 : 00", "text 1014 18 : 40 : 00"}));  // 时钟1 only
    EXPECT_TRUE(p.window.boxes.empty());
}

struct PeriodCase {
    int32_t autochecktime;
    int32_t autochecktimeevery;
    int period;
};

TEST(AutoCalibration, PeriodFollowsTheSettings) {
    const PeriodCase cases[] = {
        {0, 0, 0},        {0, 3, 0},        {1, 0, 1800000},  {1, 1, 3600000},  {1, 2, 7200000}, {1, 3, 10800000},
        {1, 4, 21600000}, {1, 5, 43200000}, {2, 3, 10800000}, {-1, 1, 3600000}, {1, 6, 0},       {1, -1, 0},
    };
    for (const PeriodCase& c : cases) {
        FakeProgram p;
        p.StoreSettings({c.autochecktime, c.autochecktimeevery, 0, 0});
        p.http.pages = {TimePage(kPageMs)};
        p.Launch();
        EXPECT_EQ(p.window.TimerPeriod(时钟2), c.period) << c.autochecktime << " " << c.autochecktimeevery;
    }
}

TEST(CalibrationNotice, AnchorsAboveTheTaskbarAtTheRightEdge) {
    EXPECT_EQ(TaskbarHeight({1920, 1080, 1040}), 40);
    EXPECT_EQ(TaskbarHeight({1920, 1080, 1080}), 0);
    FakeProgram p;
    p.window.screen = {1920, 1080, 1080};  // taskbar at the top or a side
    ShowCalibrationNotice(p.program);
    EXPECT_EQ(p.window.log, (Log{"tip 1920 1080 -1"}));
}

TEST(CalibrationNotice, OnlyItsOwnLinkOpensTheShop) {
    FakeProgram p;
    for (const char* name : {"OpenWebSize", "openwebsite", "", "openwebsize"}) OnNoticeLink(p.program, name);
    EXPECT_EQ(p.window.opened, std::vector<std::string>{ShopPageUrl});
}

}  // namespace
