#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <clocale>

TEST(CodePage, UpperCasingLeavesTrailBytesAlone)
{
    // 0x83 0x61 is a double-byte character whose trail byte looks like "a".
    EXPECT_EQ(MakeUpperCp932("ab\x83\x61yz"), "AB\x83\x61YZ");
    EXPECT_EQ(MakeUpperCp932("user.fdf"), "USER.FDF");
    // A lead byte at the very end has no trail byte to skip.
    EXPECT_EQ(MakeUpperCp932("a\x83"), "A\x83");
}

TEST(CodePage, LastBackslashIsNeverATrailByte)
{
    // 0x95 0x5C ("表") ends in a byte that looks like a backslash.
    const std::string strPath = "C:\\DIR\\\x95\x5C";
    EXPECT_EQ(ReverseFindCp932(strPath, '\\'), 6u);
    EXPECT_EQ(ReverseFindCp932("\x95\x5C", '\\'), std::string_view::npos);
    EXPECT_EQ(ReverseFindCp932("abc", '\\'), std::string_view::npos);
}

TEST(CodePage, TextToIntReadsLikeAtoiAndSaturates)
{
    EXPECT_EQ(TextToInt("42"), 42);
    EXPECT_EQ(TextToInt(" \t\v\f-17xyz"), -17);
    EXPECT_EQ(TextToInt("+8"), 8);
    EXPECT_EQ(TextToInt(""), 0);
    EXPECT_EQ(TextToInt("-"), 0);
    EXPECT_EQ(TextToInt("x12"), 0);
    EXPECT_EQ(TextToInt("12.9"), 12);
    EXPECT_EQ(TextToInt("2147483647"), INT_MAX);
    EXPECT_EQ(TextToInt("2147483648"), INT_MAX);
    EXPECT_EQ(TextToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(TextToInt("-99999999999999999999999"), INT_MIN);
    EXPECT_EQ(TextToInt("99999999999999999999999"), INT_MAX);
}

TEST(CodePage, TextToRealReadsDecimalNotationOnly)
{
    EXPECT_DOUBLE_EQ(TextToReal("90.5"), 90.5);
    EXPECT_DOUBLE_EQ(TextToReal("  +1.5e2mm"), 150.0);
    EXPECT_DOUBLE_EQ(TextToReal("-.25"), -0.25);
    EXPECT_DOUBLE_EQ(TextToReal("5."), 5.0);
    EXPECT_DOUBLE_EQ(TextToReal("1e"), 1.0);
    EXPECT_DOUBLE_EQ(TextToReal("1e+"), 1.0);
    EXPECT_DOUBLE_EQ(TextToReal("2E-1"), 0.2);
    EXPECT_DOUBLE_EQ(TextToReal("0x10"), 0.0);
    EXPECT_DOUBLE_EQ(TextToReal("inf"), 0.0);
    EXPECT_DOUBLE_EQ(TextToReal("nan"), 0.0);
    EXPECT_DOUBLE_EQ(TextToReal("."), 0.0);
    EXPECT_DOUBLE_EQ(TextToReal(""), 0.0);
    EXPECT_DOUBLE_EQ(TextToReal("1,5"), 1.0);
    EXPECT_DOUBLE_EQ(TextToReal("1e999"), DBL_MAX);
    EXPECT_DOUBLE_EQ(TextToReal("-1e999"), -DBL_MAX);
    EXPECT_DOUBLE_EQ(TextToReal("1e-999"), 0.0);
    EXPECT_DOUBLE_EQ(TextToReal("0.000e99999999999"), 0.0);
}

TEST(CodePage, FormattingRoundsAndIgnoresTheLocale)
{
    EXPECT_EQ(FormatReal(31.5, 2), "31.50");
    EXPECT_EQ(FormatReal(-99.0, 2), "-99.00");
    EXPECT_EQ(FormatReal(40.46, 1), "40.5");
    EXPECT_EQ(FormatReal(0.005, 2), "0.01");  // 0.005 is slightly above the tie in binary
    EXPECT_EQ(FormatReal(0.125, 2), "0.12");  // an exact tie goes to even
    EXPECT_EQ(FormatInt(-99), "-99");
    EXPECT_EQ(FormatReal(DBL_MAX, 2).size(), 312u);

    // A toolkit may switch LC_NUMERIC to a locale with a decimal comma.
    const char* pOld = std::setlocale(LC_NUMERIC, nullptr);
    const std::string strOld = pOld ? pOld : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        EXPECT_EQ(FormatReal(1.5, 2), "1.50");
        EXPECT_DOUBLE_EQ(TextToReal("1.5"), 1.5);
        std::setlocale(LC_NUMERIC, strOld.c_str());
    }
}
