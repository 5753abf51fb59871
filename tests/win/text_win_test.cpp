#include "win/text_win.h"

#include <gtest/gtest.h>

TEST(GbkText, LiteralsAreGbkAndConvertToUtf16) {
    std::string calibrated = "校准完成";
    EXPECT_EQ(calibrated, "\xD0\xA3\xD7\xBC\xCD\xEA\xB3\xC9");
    EXPECT_EQ(GbkToWide(calibrated), L"校准完成");
    EXPECT_EQ(WideToGbk(L"校准完成"), calibrated);
}

TEST(GbkText, MixedAndEmptyText) {
    EXPECT_EQ(GbkToWide("Brisolt——帮助您校准系统时间！"), L"Brisolt——帮助您校准系统时间！");
    EXPECT_EQ(GbkToWide(""), L"");
    EXPECT_EQ(WideToGbk(L""), "");
}
