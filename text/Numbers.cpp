#include "text/Numbers.h"

#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

bool IsCSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

/// Skips leading white space (as C's isspace) and an optional sign; returns
/// the index of the first byte after them.
size_t SkipSpaceAndSign(std::string_view str, bool& bNegative)
{
    size_t i = 0;
    while (i < str.size() && IsCSpace(static_cast<unsigned char>(str[i])))
        ++i;
    bNegative = false;
    if (i < str.size() && (str[i] == '+' || str[i] == '-')) {
        bNegative = str[i] == '-';
        ++i;
    }
    return i;
}

/// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/// The short way for the usual numeral: at most 19 significant digits whose
/// integer is below 2^53, scaled by an exact power of ten. The integer and
/// the power are exact, so the one multiplication or division rounds
/// correctly, as from_chars does. False when the numeral needs the long way.
bool ReadShortDecimal(std::uint64_t nDigits, std::size_t nSignificant, long long nExponent10, double& dValue)
{
    constexpr std::uint64_t kExactIntegerLimit = std::uint64_t{1} << 53;
    constexpr long long kMaxExactPower = static_cast<long long>(std::size(kExactPowersOfTen)) - 1;
    if (nSignificant > 19 || nDigits > kExactIntegerLimit || nExponent10 < -kMaxExactPower ||
        nExponent10 > kMaxExactPower)
        return false;
    const double dDigits = static_cast<double>(nDigits);
    dValue = nExponent10 < 0 ? dDigits / kExactPowersOfTen[-nExponent10] : dDigits * kExactPowersOfTen[nExponent10];
    return true;
}

/// 10^nDecimals for the fixed-point writers.
constexpr std::uint64_t ScaleOf(int nDecimals)
{
    std::uint64_t nScale = 1;
    for (int i = 0; i < nDecimals; ++i)
        nScale *= 10;
    return nScale;
}

/// "00" to "99": the digits of a number two at a time.
constexpr auto kDigitPairs = [] {
    std::array<char, 200> ar{};
    for (std::size_t i = 0; i < 100; ++i) {
        ar[2 * i] = static_cast<char>('0' + i / 10);
        ar[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return ar;
}();

/// The decimal digits of n at p; the end of them. Lengths and
/// coordinates have one to three digits before the point, which take the
/// first branches. Written by hand rather than with std::to_chars (here and
/// for WriteInt), which the conversion benchmark found costlier
/// (bench/convert_bench.sh; the README's figures).
char* WriteDecimal(char* p, std::uint64_t n)
{
    if (n < 100) {
        if (n < 10) {
            *p = static_cast<char>('0' + n);
            return p + 1;
        }
        std::memcpy(p, &kDigitPairs[2 * n], 2);
        return p + 2;
    }
    if (n < 10000) {
        const std::uint64_t nHigh = n / 100;
        if (nHigh < 10) {
            *p++ = static_cast<char>('0' + nHigh);
        } else {
            std::memcpy(p, &kDigitPairs[2 * nHigh], 2);
            p += 2;
        }
        std::memcpy(p, &kDigitPairs[2 * (n % 100)], 2);
        return p + 2;
    }
    std::size_t nLength = 1;
    for (std::uint64_t nRest = n; nRest >= 10; nRest /= 10)
        ++nLength;
    char* const pEnd = p + nLength;
    char* q = pEnd;  // filled from the end
    while (n >= 100) {
        q -= 2;
        std::memcpy(q, &kDigitPairs[2 * (n % 100)], 2);
        n /= 100;
    }
    if (n >= 10)
        std::memcpy(q - 2, &kDigitPairs[2 * n], 2);
    else
        q[-1] = static_cast<char>('0' + n);
    return pEnd;
}

/// A fixed-point number at p from its value in units of 10^-nDecimals:
/// "-" when negative (negative zero too, as printf has it), the whole part,
/// the point and nDecimals digits.
template <int nDecimals>
char* WriteUnits(char* p, std::uint64_t nUnits, bool bNegative)
{
    constexpr std::uint64_t kScale = ScaleOf(nDecimals);
    if (bNegative)
        *p++ = '-';
    p = WriteDecimal(p, nUnits / kScale);
    if constexpr (nDecimals > 0) {
        *p++ = '.';
        std::uint64_t nFraction = nUnits % kScale;
        if constexpr (nDecimals == 1) {
            *p++ = static_cast<char>('0' + nFraction);
            return p;
        }
        if constexpr (nDecimals == 3) {
            *p++ = static_cast<char>('0' + nFraction / 100);
            nFraction %= 100;
        }
        std::memcpy(p, &kDigitPairs[2 * nFraction], 2);
        p += 2;
    }
    return p;
}

/// The short way of "%.<nDecimals>f" for nDecimals 0 to 3 and a magnitude
/// below 2^53. Exactly: the value is m * 2^e, so the decimal digits are
/// round(m * 10^nDecimals / 2^-e), rounded on the exact remainder (ties to
/// even); m * 10^3 stays below 2^63. nullptr for anything else. One body per
/// number of decimals, so that every scale is a constant.
template <int nDecimals>
char* WriteShortFixed(char* p, double dValue)
{
    static_assert(nDecimals >= 0 && nDecimals <= 3);
    constexpr std::uint64_t kScale = ScaleOf(nDecimals);
    // The quick way: below 2^40 units, the product fl(|v| * 10^nDecimals) is
    // within 2^-13 of the exact one, so a product whose fraction is further
    // than 2^-12 from a half rounds the way the exact value does. (NaN and
    // infinity fail the comparison.)
    const double dScaled = std::fabs(dValue) * static_cast<double>(kScale);
    if (dScaled < 0x1p40) {
        const auto nWhole = static_cast<std::uint64_t>(dScaled);
        const double dFraction = dScaled - static_cast<double>(nWhole);  // exact
        if (std::fabs(dFraction - 0.5) > 0x1p-12)
            return WriteUnits<nDecimals>(p, nWhole + (dFraction > 0.5 ? 1 : 0), std::signbit(dValue));
    }
    // The exact way for the rest: near-ties and large magnitudes.
    const auto nBits = std::bit_cast<std::uint64_t>(dValue);
    const auto nBiased = static_cast<int>((nBits >> 52) & 0x7FF);
    if (nBiased == 0x7FF)
        return nullptr;  // infinity and NaN
    std::uint64_t nMantissa = nBits & ((std::uint64_t{1} << 52) - 1);
    int nExponent2 = nBiased - 1075;
    if (nBiased == 0)
        nExponent2 = -1074;  // subnormal
    else
        nMantissa |= std::uint64_t{1} << 52;
    if (nExponent2 > 0)
        return nullptr;  // 2^53 and beyond

    std::uint64_t nUnits = 0;  // the value in units of 10^-nDecimals, rounded
    const std::uint64_t nScaled = nMantissa * kScale;
    const int nShift = -nExponent2;
    if (nShift == 0) {
        nUnits = nScaled;
    } else if (nShift < 64) {
        nUnits = nScaled >> nShift;
        const std::uint64_t nRest = nScaled & ((std::uint64_t{1} << nShift) - 1);
        const std::uint64_t nHalf = std::uint64_t{1} << (nShift - 1);
        if (nRest > nHalf || (nRest == nHalf && (nUnits & 1) != 0))
            ++nUnits;
    }  // else below half a unit: 0

    return WriteUnits<nDecimals>(p, nUnits, (nBits >> 63) != 0);
}

char* WriteShortFixed(char* p, double dValue, int nDecimals)
{
    switch (nDecimals) {
    case 0:
        return WriteShortFixed<0>(p, dValue);
    case 1:
        return WriteShortFixed<1>(p, dValue);
    case 2:
        return WriteShortFixed<2>(p, dValue);
    case 3:
        return WriteShortFixed<3>(p, dValue);
    default:
        return nullptr;
    }
}

}  // namespace

int TextToInt(std::string_view str)
{
    bool bNegative = false;
    size_t i = SkipSpaceAndSign(str, bNegative);
    // Accumulate towards the negative side, whose range is one larger.
    long long nValue = 0;
    for (; i < str.size() && IsDigit(static_cast<unsigned char>(str[i])); ++i) {
        nValue = nValue * 10 - (str[i] - '0');
        if (nValue < INT_MIN) {
            nValue = INT_MIN - 1LL;  // saturated; keeps the loop from overflowing
        }
    }
    if (bNegative)
        return nValue < INT_MIN ? INT_MIN : static_cast<int>(nValue);
    if (nValue < -static_cast<long long>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(-nValue);
}

namespace {

/// TextToReal for the numerals files hold: digits with an optional "." and
/// fraction, no exponent, at most 19 significant digits. False for anything
/// else, which the general way reads.
bool ReadPlainReal(std::string_view str, double& dValue)
{
    const char* p = str.data();
    const char* const pEnd = p + str.size();
    bool bNegative = false;
    if (p != pEnd && !IsDigit(static_cast<unsigned char>(*p)))
        p = str.data() + SkipSpaceAndSign(str, bNegative);  // rare: blanks or a sign first
    // More than 19 digits may wrap nDigits around; they are refused below.
    std::uint64_t nDigits = 0;
    const char* const pIntegerStart = p;
    for (; p != pEnd && IsDigit(static_cast<unsigned char>(*p)); ++p)
        nDigits = nDigits * 10 + static_cast<std::uint64_t>(*p - '0');
    auto nDigitCount = static_cast<std::size_t>(p - pIntegerStart);  // leading zeros included
    std::size_t nFracDigits = 0;
    if (p != pEnd && *p == '.') {
        const char* const pFractionStart = ++p;
        for (; p != pEnd && IsDigit(static_cast<unsigned char>(*p)); ++p)
            nDigits = nDigits * 10 + static_cast<std::uint64_t>(*p - '0');
        nFracDigits = static_cast<std::size_t>(p - pFractionStart);
        nDigitCount += nFracDigits;
    }
    if (nDigitCount == 0 || nDigitCount > 19 || (p != pEnd && (*p == 'e' || *p == 'E')))
        return false;
    if (!ReadShortDecimal(nDigits, nDigitCount, -static_cast<long long>(nFracDigits), dValue))
        return false;
    if (bNegative)
        dValue = -dValue;
    return true;
}

}  // namespace

namespace {

/// TextToReal for every numeral ReadPlainReal leaves: exponents, long
/// digit strings, magnitudes out of range. Kept out of line, so that the
/// short way does not pay for its frame.
[[gnu::noinline]] double ReadGeneralReal(std::string_view str)
{
    double dValue = 0.0;
    bool bNegative = false;
    size_t i = SkipSpaceAndSign(str, bNegative);
    const size_t nStart = i;
    size_t nIntDigits = 0;
    size_t nLeadingZeros = 0;  // zeros before the first non-zero digit, fraction included
    bool bSeenNonZero = false;
    std::uint64_t nDigits = 0;  // the first 20 significant digits as an integer
    size_t nSignificant = 0;
    auto takeDigit = [&](char c) {
        if (!bSeenNonZero) {
            if (c == '0') {
                ++nLeadingZeros;
                return;
            }
            bSeenNonZero = true;
        }
        if (++nSignificant <= 19)
            nDigits = nDigits * 10 + static_cast<std::uint64_t>(c - '0');
    };
    for (; i < str.size() && IsDigit(static_cast<unsigned char>(str[i])); ++i) {
        takeDigit(str[i]);
        ++nIntDigits;
    }
    size_t nFracDigits = 0;
    if (i < str.size() && str[i] == '.') {
        size_t j = i + 1;
        for (; j < str.size() && IsDigit(static_cast<unsigned char>(str[j])); ++j) {
            takeDigit(str[j]);
            ++nFracDigits;
        }
        if (nIntDigits + nFracDigits > 0)
            i = j;
    }
    if (nIntDigits + nFracDigits == 0)
        return 0.0;
    long long nExponent = 0;
    if (i < str.size() && (str[i] == 'e' || str[i] == 'E')) {
        size_t j = i + 1;
        bool bExpNegative = false;
        if (j < str.size() && (str[j] == '+' || str[j] == '-')) {
            bExpNegative = str[j] == '-';
            ++j;
        }
        if (j < str.size() && IsDigit(static_cast<unsigned char>(str[j]))) {
            for (; j < str.size() && IsDigit(static_cast<unsigned char>(str[j])); ++j) {
                if (nExponent < 100000000)
                    nExponent = nExponent * 10 + (str[j] - '0');
            }
            if (bExpNegative)
                nExponent = -nExponent;
            i = j;
        }
    }
    if (!bSeenNonZero)
        return bNegative ? -0.0 : 0.0;

    if (ReadShortDecimal(nDigits, nSignificant, nExponent - static_cast<long long>(nFracDigits), dValue))
        return bNegative ? -dValue : dValue;
    const std::from_chars_result result =
        std::from_chars(str.data() + nStart, str.data() + i, dValue, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Decimal exponent of the first significant digit decides the side.
        const long long nLead = static_cast<long long>(nIntDigits) - static_cast<long long>(nLeadingZeros) - 1;
        dValue = (nLead + nExponent >= 0) ? DBL_MAX : 0.0;
    } else if (result.ec != std::errc()) {
        dValue = 0.0;
    }
    return bNegative ? -dValue : dValue;
}

}  // namespace

double TextToReal(std::string_view str)
{
    double dValue = 0.0;
    return ReadPlainReal(str, dValue) ? dValue : ReadGeneralReal(str);
}

char* WriteReal(char* pOut, double dValue, int nDecimals)
{
    if (char* const pEnd = WriteShortFixed(pOut, dValue, nDecimals))
        return pEnd;
    const std::to_chars_result result =
        std::to_chars(pOut, pOut + kNumberTextRoom, dValue, std::chars_format::fixed, nDecimals);
    return result.ec == std::errc() ? result.ptr : pOut;
}

char* WriteInt(char* pOut, int nValue)
{
    const auto nMagnitude = nValue < 0
                                ? std::uint64_t{0} - static_cast<std::uint64_t>(static_cast<std::int64_t>(nValue))
                                : static_cast<std::uint64_t>(nValue);
    if (nValue < 0)
        *pOut++ = '-';
    return WriteDecimal(pOut, nMagnitude);
}

void AppendReal(std::string& str, double dValue, int nDecimals)
{
    std::array<char, kNumberTextRoom> buf;  // filled by WriteReal
    str.append(buf.data(), static_cast<std::size_t>(WriteReal(buf.data(), dValue, nDecimals) - buf.data()));
}

void AppendInt(std::string& str, int nValue)
{
    std::array<char, kNumberTextRoom> buf;  // filled by WriteInt
    str.append(buf.data(), static_cast<std::size_t>(WriteInt(buf.data(), nValue) - buf.data()));
}

std::string FormatReal(double dValue, int nDecimals)
{
    std::string str;
    AppendReal(str, dValue, nDecimals);
    return str;
}

std::string FormatInt(int nValue)
{
    std::string str;
    AppendInt(str, nValue);
    return str;
}
