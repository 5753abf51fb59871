#include "ui/tray_icon.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/fakes/fake_platform.h"

namespace {

using namespace MainWindow;
using Log = std::vector<std::string>;

const std::string kIcon = "ICON" + std::string(1146, '\0');
const std::string kTip = "Brisolt——帮助您校准系统时间！";
constexpr int64_t kPageMs = 1418380800000;

struct Started : FakeProgram {
    Started() {
        http.pages = {TimePage(kPageMs), TimePage(kPageMs)};
        Launch();
    }
};

TEST(TrayIcon, StartUpAddsItWithTheFirstIconThenSetsTheTip) {
    Started p;
    EXPECT_EQ(p.tray.log, (Log{"add ", "update " + kTip, "update " + kTip}));
    EXPECT_TRUE(p.program.tray.added);
}

TEST(TrayIcon, NeverShownWithoutNetwork) {
    FakeProgram p;
    p.probe.answer = -1;
    p.Launch();
    EXPECT_TRUE(p.tray.log.empty());
}

TEST(TrayIcon, AddOrUpdateRules) {
    FakeProgram p;
    Program& program = p.program;
    SetTrayTip(program, "tip");
    SetTrayShown(program, true);
    EXPECT_TRUE(p.tray.log.empty());  // no icon yet

    SetTrayShown(program, false);
    SetTrayIcon(program, kIcon);
    EXPECT_TRUE(p.tray.log.empty());  // not to be shown

    p.tray.accepts = false;
    SetTrayShown(program, true);
    EXPECT_FALSE(program.tray.added);  // refused: tried again by the next change
    p.tray.accepts = true;
    SetTrayTip(program, "tip 2");
    EXPECT_TRUE(program.tray.added);
    SetTrayTip(program, "tip 3");
    EXPECT_EQ(p.tray.log, (Log{"add tip", "add tip 2", "update tip 3"}));
}

TEST(TrayIcon, UnusableOrEmptyIconTakesItOut) {
    for (const std::string& bytes : {std::string(), std::string("not an icon")}) {
        FakeProgram p;
        SetTrayIcon(p.program, kIcon);
        SetTrayIcon(p.program, bytes);
        EXPECT_EQ(p.tray.log, (Log{"add ", "remove"}));
        EXPECT_FALSE(p.program.tray.added);
        SetTrayShown(p.program, true);
        EXPECT_EQ(p.tray.log.size(), 2u);  // no picture, nothing to add
    }
}

TEST(TrayIcon, ComesBackWhenTheTaskbarIsCreatedAnew) {
    Started p;
    p.tray.log.clear();
    p.Raise(0, Event::TaskbarCreated);
    EXPECT_EQ(p.tray.log, (Log{"add " + kTip}));
    SetTrayShown(p.program, false);
    p.Raise(0, Event::TaskbarCreated);
    EXPECT_EQ(p.tray.log, (Log{"add " + kTip, "remove"}));
}

TEST(TrayIcon, LeavesBeforeTheProgramEnds) {
    Started p;
    p.tray.journal = &p.window.log;
    p.window.log.clear();
    p.Raise(MenuExit, Event::Command);
    EXPECT_EQ(p.window.log, (Log{"box 确认退出", "remove", "end 0"}));

    Started q;
    q.tray.log.clear();
    q.Raise(0, Event::Destroyed);
    EXPECT_EQ(q.tray.log, (Log{"remove"}));
}

TEST(TrayIcon, CancelledExitKeepsIt) {
    Started p;
    p.tray.log.clear();
    p.window.answers.push_back([](const MessageBoxCall&) { return MbCancel; });
    p.Raise(按钮2, Event::Click);
    EXPECT_TRUE(p.tray.log.empty());
    EXPECT_EQ(p.window.endedWith, -1);
}

TEST(TrayIcon, MouseAndMenu) {
    Started p;
    p.Raise(按钮4, Event::Click);
    EXPECT_FALSE(p.window.visible);
    p.Raise(托盘图标1, Event::DoubleClick);
    EXPECT_TRUE(p.window.visible);

    p.Raise(按钮4, Event::Click);
    p.window.menuChoice = [](const std::vector<MenuItemDesc>& items) {
        EXPECT_EQ(items.size(), 5u);
        EXPECT_EQ(items[0].text, "立即校准！");
        EXPECT_EQ(items[1].text, "-");
        EXPECT_EQ(items[2].text, "显示窗口");
        EXPECT_EQ(items[4].text, "退出");
        return MenuShowWindow;
    };
    p.Raise(托盘图标1, Event::RightClick);
    EXPECT_TRUE(p.window.visible);
    EXPECT_NE(std::find(p.window.log.begin(), p.window.log.end(), "menu 1795 1055"), p.window.log.end());

    p.window.menuChoice = [](const std::vector<MenuItemDesc>&) { return MenuCalibrate; };
    p.Raise(托盘图标1, Event::RightClick);
    EXPECT_EQ(p.http.fetches, 2);

    p.window.menuChoice = [](const std::vector<MenuItemDesc>&) { return 0; };  // closed without a choice
    p.Raise(托盘图标1, Event::RightClick);
    EXPECT_EQ(p.http.fetches, 2);
    EXPECT_TRUE(p.window.boxes.empty());
}

TEST(TrayIcon, TipIsCutAtACharacterBoundary) {
    const std::string gbk = "\xD0\xA3";  // one double-byte character
    const std::pair<std::string, size_t> cases[] = {
        {std::string(127, 'a'), 127},
        {std::string(128, 'a'), 127},
        {std::string(126, 'a') + gbk, 126},
        {std::string(125, 'a') + gbk + "b", 127},
        {kTip, kTip.size()},
    };
    for (const auto& [tip, length] : cases) EXPECT_EQ(CutTip(tip), tip.substr(0, length));
}

}  // namespace
