#include "time/startup.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

namespace {

using namespace MainWindow;

const char* const kNoNetwork =
    "本软件通过连接到网络获取标准时间来校准您系统的时间，您的电脑看上去无网络连接，请连接到网络后再使用本软件！";
const char* const kExitQuestion = "确实要退出Brisolt？\r\n\r\n如果您退出软件，则无法定时校准系统时间！";
constexpr int64_t kPageMs = 1418380800000;  // 2014-12-12 18:40:00 in Beijing

TEST(Startup, NoProbeAnswerEndsWithTheNoNetworkMessage) {
    FakeProgram p;
    p.probe.answer = -1;
    p.http.pages = {TimePage(kPageMs)};
    p.Launch();
    EXPECT_EQ(p.probe.hosts, std::vector<std::string>{"www.baidu.com"});
    ASSERT_EQ(p.window.boxes.size(), 1u);
    EXPECT_EQ(p.window.boxes[0].text, kNoNetwork);
    EXPECT_EQ(p.window.boxes[0].title, "退出");
    EXPECT_EQ(p.window.boxes[0].style, 16);
    EXPECT_EQ(p.window.endedWith, 0);
    EXPECT_FALSE(p.window.visible);
    EXPECT_EQ(p.http.fetches, 0);
}

TEST(Startup, TimersTickWhileTheNoNetworkMessageIsOpen) {
    FakeProgram p;
    p.probe.answer = -1;
    p.window.answers.push_back([&p](const MessageBoxCall&) {
        p.window.Advance(2500);
        return MbOk;
    });
    p.Launch();
    std::vector<std::string> expected = {"box 退出", "text 1014 18 : 40 : 00", "text 1014 18 : 40 : 00", "end 0"};
    std::vector<std::string> tail(p.window.log.end() - 4, p.window.log.end());
    EXPECT_EQ(tail, expected);
}

TEST(Startup, AnyProbeAnswerCountsAsConnected) {
    for (int32_t answer : {0, 1, 9999}) {
        FakeProgram p;
        p.probe.answer = answer;
        p.http.pages = {TimePage(kPageMs)};
        p.Launch();
        EXPECT_TRUE(p.window.boxes.empty()) << answer;
        EXPECT_EQ(p.window.endedWith, -1) << answer;
        EXPECT_TRUE(p.window.visible) << answer;
    }
}

TEST(Startup, FetchesTheStandardTimeWithoutSettingTheClock) {
    FakeProgram p;
    p.http.pages = {TimePage(kPageMs)};
    p.Launch();
    EXPECT_EQ(p.http.fetches, 1);
    EXPECT_EQ(p.program.standardTime, AddSeconds(BeijingEpoch, 1418380800));
    EXPECT_TRUE(p.clock.sets.empty());
    EXPECT_EQ(p.window.log.back(), "show");
}

TEST(Startup, AFailedFirstFetchGoesOnWithThePlaceholder) {
    FakeProgram p;
    p.http.pages = {"<html>no time here</html>"};
    p.Launch();
    EXPECT_TRUE(p.window.visible);
    EXPECT_EQ(p.program.standardTime, 0.0);
    p.window.Advance(3000);
    EXPECT_EQ(p.window.texts[标签6], "XX : XX : XX");
    EXPECT_EQ(p.window.texts[标签7], "18 : 40 : 00");
}

TEST(Startup, SeedsTheGeneratorAndClearsPromoShown) {
    FakeProgram p;
    p.program.promoShown = 1;
    p.window.tickCount = 777;
    p.http.pages = {TimePage(kPageMs)};
    p.Launch();
    RandomGenerator expected;
    expected.Seed(777);
    EXPECT_EQ(p.program.random.Next(), expected.Next());
    EXPECT_EQ(p.program.promoShown, 0);
}

TEST(Startup, PutsTheFirstBannerPictureUp) {
    FakeProgram p;
    p.http.pages = {TimePage(kPageMs)};
    p.Launch();
    EXPECT_EQ(p.program.bannerSlot, 1);
    EXPECT_EQ(p.window.pictures[图片框1], Picture::Banner1);
}

TEST(Startup, TimersStartAsTheDescriptionGivesThem) {
    FakeProgram p;
    p.http.pages = {TimePage(kPageMs)};
    p.Launch();
    EXPECT_EQ(p.window.TimerPeriod(时钟1), 1000);
    EXPECT_EQ(p.window.TimerPeriod(时钟2), 0);
    EXPECT_EQ(p.window.TimerPeriod(时钟3), 10000);
    EXPECT_EQ(p.window.TimerPeriod(时钟4), 1000);
}

struct ExitCase {
    const char* name;
    int source;
    Event event;
    int answer;
    bool ends;
    friend void PrintTo(const ExitCase& c, std::ostream* os) { *os << c.name; }
};

class ConfirmExitTest : public testing::TestWithParam<ExitCase> {};

TEST_P(ConfirmExitTest, AsksAndEndsOnlyOnOk) {
    const ExitCase& c = GetParam();
    FakeProgram p;
    p.http.pages = {TimePage(kPageMs)};
    p.Launch();
    int answer = c.answer;
    p.window.answers.push_back([answer](const MessageBoxCall&) { return answer; });
    p.Raise(c.source, c.event);
    ASSERT_EQ(p.window.boxes.size(), 1u);
    EXPECT_EQ(p.window.boxes[0].text, kExitQuestion);
    EXPECT_EQ(p.window.boxes[0].title, "确认退出");
    EXPECT_EQ(p.window.boxes[0].style, 33);
    EXPECT_EQ(p.window.endedWith, c.ends ? 0 : -1);
    EXPECT_TRUE(p.window.visible);
}

INSTANTIATE_TEST_SUITE_P(Startup, ConfirmExitTest,
                         testing::Values(ExitCase{"ButtonOk", 按钮2, Event::Click, MbOk, true},
                                         ExitCase{"ButtonCancel", 按钮2, Event::Click, MbCancel, false},
                                         ExitCase{"MenuOk", MenuExit, Event::Command, MbOk, true},
                                         ExitCase{"MenuCancel", MenuExit, Event::Command, MbCancel, false}),
                         [](const testing::TestParamInfo<ExitCase>& info) { return info.param.name; });

TEST(TimerPeriods, FollowTheRestartRules) {
    FakeProgram p;
    SetTimerPeriod(p.program, 时钟3, 10000);
    p.window.Advance(4000);
    SetTimerPeriod(p.program, 时钟3, 10000);  // the same period changes nothing
    p.window.log.clear();
    p.window.Advance(6000);
    EXPECT_EQ(p.window.log, std::vector<std::string>{});  // 时钟3 fired, no handler yet
    SetTimerPeriod(p.program, 时钟2, 5000);
    p.window.Advance(3000);
    SetTimerPeriod(p.program, 时钟2, 7000);  // a new period restarts the countdown
    EXPECT_EQ(p.window.TimerPeriod(时钟2), 7000);
    SetTimerPeriod(p.program, 时钟2, -5);
    EXPECT_EQ(p.window.TimerPeriod(时钟2), 0);
    EXPECT_EQ(p.window.log, (std::vector<std::string>{"timer 2 5000", "timer 2 7000", "timer 2 stopped"}));
}

}  // namespace
