#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <set>

#include "ui/hyperlink.h"

namespace {

using namespace MainWindow;

struct PlaceCase {
    int id;
    Rect place;  // in MainWindow's client area
    int page;
};

TEST(MainWindowDescription, ControlsSitWhereTheirParentsPlaceThem) {
    const PlaceCase cases[] = {
        {选择夹1, {7, 6, 506, 242}, 0},   {图片框1, {8, 256, 504, 128}, 0},  {按钮2, {432, 392, 72, 24}, 0},
        {分组框1, {15, 33, 490, 87}, 1},  {标签6, {95, 47, 320, 32}, 1},     {标签7, {95, 81, 320, 32}, 1},
        {按钮3, {408, 50, 89, 56}, 1},    {组合框1, {108, 175, 76, 160}, 1}, {选择框3, {359, 145, 136, 24}, 1},
        {分组框3, {16, 32, 488, 208}, 2}, {标签3, {104, 52, 385, 116}, 2},   {超级链接框2, {104, 208, 384, 24}, 2},
    };
    const WindowDesc& w = Description();
    for (const PlaceCase& c : cases) {
        const ControlDesc* control = FindControl(w, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        EXPECT_EQ(PlaceInWindow(w, *control), c.place) << c.id;
        EXPECT_EQ(PageOf(w, *control), c.page) << c.id;
    }
}

TEST(MainWindowDescription, CentredOnAnyScreen) {
    EXPECT_EQ(CentreOnScreen(526, 460, 1280, 800), (Rect{377, 170, 526, 460}));
    EXPECT_EQ(CentreOnScreen(526, 460, 1920, 1080), (Rect{697, 310, 526, 460}));
    EXPECT_EQ(CentreOnScreen(526, 460, 1366, 768), (Rect{420, 154, 526, 460}));
}

TEST(MainWindowDescription, FocusMovesInTheChosenOrder) {
    std::vector<int> order;
    for (const ControlDesc& c : Description().controls) {
        if (c.takesFocus) order.push_back(c.id);
    }
    EXPECT_EQ(order, (std::vector<int>{按钮3, 选择框1, 组合框1, 选择框2, 选择框3, 按钮1, 按钮4, 按钮2}));
}

TEST(MainWindowDescription, ControlIdsAreUnique) {
    std::set<int> ids;
    for (const ControlDesc& c : Description().controls) EXPECT_TRUE(ids.insert(c.id).second) << c.id;
}

TEST(Hyperlink, ColourFollowsHoverThenVisit) {
    EXPECT_EQ(HyperlinkColour(false, false), (Rgb{0, 0, 255}));
    EXPECT_EQ(HyperlinkColour(true, false), (Rgb{51, 153, 255}));
    EXPECT_EQ(HyperlinkColour(false, true), (Rgb{128, 0, 0}));
}

TEST(Hyperlink, BrowserCommandIsCutAtItsPlaceholder) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Program Files\\Web\\web.exe\" -nohome \"%1\"", "\"C:\\Program Files\\Web\\web.exe\" -nohome x"},
        {"web.exe %1 -new", "web.exe x"},
        {"web.exe", "web.exe x"},
    };
    for (const auto& [command, line] : cases) EXPECT_EQ(BrowserCommandLine(command, "x"), line) << command;
}

}  // namespace
