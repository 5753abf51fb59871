#include "time/gbk_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string text;
    std::string delimiter;
    int32_t limit;
    Pieces expected;
    friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }
};

class SplitTextTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextTest, Pieces) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitText(c.text, c.delimiter, c.limit), c.expected);
}

// "\x81\x40" is a GBK character whose second byte is "@"; "\xE4\xB8\xAD" is
// one UTF-8 character, an odd run of high bytes.
INSTANTIATE_TEST_SUITE_P(
    GbkText, SplitTextTest,
    testing::Values(SplitCase{"TwoOfThree", "a,b,c", ",", 2, {"a", "b"}}, SplitCase{"LimitOne", "a,b,c", ",", 1, {"a"}},
                    SplitCase{"DelimiterAtEnd", "a,", ",", 2, {"a"}},
                    SplitCase{"DelimiterAtStart", ",a", ",", 2, {"", "a"}},
                    SplitCase{"EmptyBetween", "a,,b", ",", 5, {"a", "", "b"}},
                    SplitCase{"NoDelimiter", "abc", ",", 2, {"abc"}}, SplitCase{"EmptyText", "", ",", 2, {}},
                    SplitCase{"LimitZero", "a,b", ",", 0, {}}, SplitCase{"NegativeLimit", "a,b", ",", -3, {}},
                    SplitCase{"EmptyDelimiter", "a,b", "", 2, {"a,b"}},
                    SplitCase{"DelimiterLongerThanText", "ab", "abc", 2, {"ab"}},
                    SplitCase{"LongDelimiter", "x<=>y<=>z", "<=>", 3, {"x", "y", "z"}},
                    SplitCase{"NotInsideDoubleByte", "\x81\x40x@y", "@", 2, {"\x81\x40x", "y"}},
                    SplitCase{"DoubleBytePieces", "\xD0\xA3,\xD7\xBC", ",", 2, {"\xD0\xA3", "\xD7\xBC"}},
                    SplitCase{"OddHighRunHidesDelimiter", "\xE4\xB8\xAD(1)", "(", 2, {"\xE4\xB8\xAD(1)"}},
                    SplitCase{"EvenHighRunKeepsDelimiter", "\xD6\xD0(1)", "(", 2, {"\xD6\xD0", "1)"}},
                    SplitCase{"LeadByteAtEnd", "a,b\x81", ",", 3, {"a", "b\x81"}},
                    SplitCase{"LoneLeadByte", "\x81", ",", 2, {"\x81"}}),
    [](const testing::TestParamInfo<SplitCase>& info) { return info.param.name; });

TEST(NarrowFullWidth, TurnsFullWidthFormsIntoAscii) {
    EXPECT_EQ(NarrowFullWidth("\xA3\xB1\xA3\xB2\xA3\xB3"), "123");
    EXPECT_EQ(NarrowFullWidth("\xA3\xAB\xA3\xAD\xA3\xAE\xA3\xC5"), "+-.E");
    EXPECT_EQ(NarrowFullWidth("\xA1\xA1x\xA1\xAB\xA1\xEE\xA1\xEF"), " x~**");
    EXPECT_EQ(NarrowFullWidth("\xA3\xFE\xA3\xA1"), "~!");
    // Other double-byte characters, and one whose trail byte is an ASCII
    // digit, stay as they are.
    EXPECT_EQ(NarrowFullWidth("\xD0\xA3\x81\x31"), "\xD0\xA3\x81\x31");
    EXPECT_EQ(NarrowFullWidth("1\xA3"), "1\xA3");
}

struct NumberCase {
    const char* text;
    double value;
    bool found;
    friend void PrintTo(const NumberCase& c, std::ostream* os) { *os << testing::PrintToString(std::string(c.text)); }
};

class TextToNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(TextToNumberTest, ReadsLikeTheCLibrary) {
    const NumberCase& c = GetParam();
    NumberRead r = ReadNumber(c.text);
    EXPECT_EQ(r.found, c.found) << c.text;
    if (std::isnan(c.value)) {
        EXPECT_TRUE(std::isnan(r.value));
    } else {
        EXPECT_EQ(r.value, c.value) << c.text;
    }
    EXPECT_EQ(TextToNumber(c.text), r.value);
}

INSTANTIATE_TEST_SUITE_P(GbkText, TextToNumberTest,
                         testing::Values(NumberCase{"1418380800000", 1418380800000.0, true},
                                         NumberCase{"  42abc", 42, true}, NumberCase{"-7", -7, true},
                                         NumberCase{"+3.5", 3.5, true}, NumberCase{"1e3)", 1000, true},
                                         NumberCase{".5", 0.5, true}, NumberCase{"\t\n 8", 8, true},
                                         NumberCase{"\xA3\xB1\xA3\xB2", 12, true},
                                         NumberCase{"\xA1\xA1\xA3\xAD\xA3\xB5", -5, true}, NumberCase{"0x10", 16, true},
                                         NumberCase{"inf", INFINITY, true}, NumberCase{"abc", 0, false},
                                         NumberCase{"", 0, false}, NumberCase{")", 0, false}, NumberCase{"-", 0, false},
                                         NumberCase{"\xD0\xA3"
                                                    "1",
                                                    0, false}));

}  // namespace
