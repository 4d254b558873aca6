#include "text/CodePage.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

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

// The conversions take a short way for the usual numbers and the general
// one for the rest; both must give what the general one alone gives.
TEST(CodePage, ShortWaysAgreeWithTheGeneralConversions)
{
    auto generalFormat = [](double dValue, int nDecimals) {
        std::array<char, 400> buf{};
        const auto result =
            std::to_chars(buf.data(), buf.data() + buf.size(), dValue, std::chars_format::fixed, nDecimals);
        return std::string(buf.data(), result.ptr);
    };
    auto generalRead = [](const std::string& str) {
        double dValue = 0.0;
        std::from_chars(str.data(), str.data() + str.size(), dValue);
        return dValue;
    };

    std::mt19937_64 random(20261208);
    std::vector<double> arValues = {0.0,
                                    -0.0,
                                    0.125,
                                    0.375,
                                    2.5,
                                    -2.5,
                                    0.0005,
                                    1.0005,
                                    9.995,
                                    99.995,
                                    999.9995,
                                    -0.004,
                                    4503599627370495.5,
                                    9007199254740991.0,
                                    9007199254740992.0,
                                    1e300,
                                    -1e-300,
                                    5e-324,
                                    std::nextafter(0.005, 1.0),
                                    std::nextafter(0.005, 0.0),
                                    INFINITY,
                                    NAN};
    for (int i = 0; i < 20000; ++i) {
        arValues.push_back(std::bit_cast<double>(random()));  // any bit pattern
        // Values as files hold them: a few digits, often exact ties.
        arValues.push_back(static_cast<double>(static_cast<std::int64_t>(random() % 2000001) - 1000000) / 8000.0);
    }
    for (const int nValue : {0, 7, -7, 9, 10, 99, 100, -100, 9999, 10000, 123456789, INT_MAX, INT_MIN, INT_MIN + 1})
        EXPECT_EQ(FormatInt(nValue), std::to_string(nValue));
    for (const double dValue : arValues) {
        for (int nDecimals = 0; nDecimals <= 4; ++nDecimals)
            ASSERT_EQ(FormatReal(dValue, nDecimals), generalFormat(dValue, nDecimals)) << dValue << " " << nDecimals;
    }

    const char* const arTexts[] = {"9007199254740993",
                                   "9007199254740992",
                                   "0.1",
                                   "1e22",
                                   "1e23",
                                   "3e-22",
                                   "123456789012345678901",
                                   "1234567890123456789",
                                   "0.000000000000000000001",
                                   "4.9406564584124654e-324",
                                   "17976931348623157e292"};
    for (const char* pszText : arTexts)
        EXPECT_EQ(TextToReal(pszText), generalRead(pszText)) << pszText;
    for (int i = 0; i < 20000; ++i) {
        std::string str = std::to_string(random() % 100000000000000000ULL);
        str.insert(random() % (str.size() + 1), ".");
        str += "e" + std::to_string(static_cast<int>(random() % 61) - 30);
        ASSERT_EQ(TextToReal(str), generalRead(str)) << str;
    }
}
