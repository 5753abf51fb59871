#include "time/standard_time.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class FakeHttp : public HttpPort {
public:
    std::string page;
    std::vector<std::string> urls;
    std::string HttpGetBytes(const std::string& url) override {
        urls.push_back(url);
        return page;
    }
};

// A literal with its embedded zero bytes.
template <size_t N>
std::string Bytes(const char (&s)[N]) {
    return std::string(s, N - 1);
}

struct Hms {
    int year, month, day, hour, minute, second;
};

struct PageCase {
    const char* name;
    std::string page;
    std::optional<Hms> expected;
    friend void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }
};

class FetchTest : public testing::TestWithParam<PageCase> {};

TEST_P(FetchTest, PageGivesTimeOrFailure) {
    const PageCase& c = GetParam();
    FakeHttp http;
    http.page = c.page;
    std::optional<CalendarTime> t = FetchStandardTime(http);
    ASSERT_EQ(http.urls, std::vector<std::string>{"http://open.baidu.com/special/time/"});
    ASSERT_EQ(t.has_value(), c.expected.has_value());
    if (!t) return;
    CalendarFields f = SplitCalendarTime(*t);
    const Hms& e = *c.expected;
    EXPECT_EQ(f.year, e.year);
    EXPECT_EQ(f.month, e.month);
    EXPECT_EQ(f.day, e.day);
    EXPECT_EQ(f.hour, e.hour);
    EXPECT_EQ(f.minute, e.minute);
    EXPECT_EQ(f.second, e.second);
}

const Hms k2014{2014, 12, 12, 18, 40, 0};
#define MARK "window.baidu_time("

INSTANTIATE_TEST_SUITE_P(
    StandardTime, FetchTest,
    testing::Values(
        PageCase{"Plain", "<script>" MARK "1418380800000);</script>", k2014},
        PageCase{"FractionDropped", MARK "1418380800999)", k2014},
        PageCase{"FirstMarkerCounts", MARK "1418380800000)" MARK "1)", k2014},
        PageCase{"TextBetweenTwoMarkers", MARK "1418380800000 " MARK "1)", k2014},
        PageCase{"NoClosingParenthesis", "x" MARK "1418380800000;", k2014},
        PageCase{"FullWidthDigits",
                 MARK "\xA3\xB1\xA3\xB4\xA3\xB1\xA3\xB8\xA3\xB3\xA3\xB8\xA3\xB0\xA3\xB8"
                      "\xA3\xB0\xA3\xB0\xA3\xB0\xA3\xB0\xA3\xB0)",
                 k2014},
        PageCase{"GbkTextAround", "\xB1\xB1\xBE\xA9\xCA\xB1\xBC\xE4" MARK "1418380800000)\xCA\xB1", k2014},
        PageCase{"NulAfterNumber", Bytes(MARK "1418380800000)\0garbage"), k2014},
        PageCase{"After2038", MARK "4102444800000)", Hms{2100, 1, 1, 8, 0, 0}},
        PageCase{"Before1970", MARK "-1000)", Hms{1970, 1, 1, 7, 59, 59}},
        PageCase{"OddHighRunThenMarkerAgain", "\xE4\xB8\xAD" MARK "1) " MARK "1418380800000)", k2014},
        PageCase{"Empty", "", std::nullopt}, PageCase{"NoMarker", "<html>404 Not Found</html>", std::nullopt},
        PageCase{"MarkerAtEnd", "abc" MARK, std::nullopt}, PageCase{"MarkerThenParenthesis", MARK ")", std::nullopt},
        PageCase{"MarkerThenText", MARK "abc)", std::nullopt},
        PageCase{"NulBeforeMarker", Bytes("x\0" MARK "1418380800000)"), std::nullopt},
        PageCase{"OddHighRunHidesMarker", "\xE4\xB8\xAD" MARK "1418380800000)", std::nullopt},
        PageCase{"Infinity", MARK "inf)", std::nullopt}, PageCase{"NotANumber", MARK "nan)", std::nullopt},
        PageCase{"Overflow", MARK "1e400)", std::nullopt}, PageCase{"BeyondSixtyFourBits", MARK "1e300)", std::nullopt},
        PageCase{"BeyondTheCalendar", MARK "253402300800000)", std::nullopt},
        PageCase{"BeforeTheCalendar", MARK "-62135596800000)", std::nullopt}),
    [](const testing::TestParamInfo<PageCase>& info) { return info.param.name; });

TEST(StandardTime, Before2038MatchesThe32BitCount) {
    FakeHttp http;
    http.page = MARK "2147483647000)";
    std::optional<CalendarTime> t = FetchStandardTime(http);
    ASSERT_TRUE(t);
    EXPECT_EQ(*t, AddSeconds(BeijingEpoch, 2147483647));
}

}  // namespace
