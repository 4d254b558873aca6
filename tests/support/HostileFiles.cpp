#include "tests/support/HostileFiles.h"

#include <random>
#include <string_view>

namespace {

constexpr std::string_view kVersion2Keys[] = {"GroupName",       "SheetName",     "SheetType",        "SheetIndex",
                                              "SheetWidth",      "SheetHeight",   "SheetOrientation", "SheetDecoType",
                                              "SheetDecoStartX", "SheetDecoEndY", "FixedNo",          "FixedWidth",
                                              "FixedHeight",     "FixedHorPos",   "FixedVertPos",     "FixedDecoType",
                                              "FixedDecoStartX", "FixedDecoEndY", "FreeNo",           "FreeWidth",
                                              "FreeHeight",      "FreeHorPos",    "FreeVerPos",       "FreeDecoType",
                                              "FreeDecoStartY",  "FreeDecoEndX",  "LabelNumber",      "ID"};
constexpr std::string_view kVersion34Keys[] = {
    "GroupName", "CompanyName",  "ProductName",  "SheetUse",  "SheetSurfaces", "SheetType", "SheetSize", "SheetDeco",
    "Fixed",     "FixedHorzPos", "FixedVertPos", "FixedDeco", "Free",          "FreePos",   "FreeDeco",  "ID"};
/// Millimetres: the disc bounds and just beyond them, halves of a
/// hundredth, signs, the largest magnitudes, what is no number.
constexpr std::string_view kLengths[] = {
    "0",    "116",   "115",   "117",    "117.004", "114.996", "41",     "40",      "42",   "42.004",
    "37.5", "78.5",  "37.49", "78.506", "-0.001",  "0.005",   "12.345", "1e300",   "-99",  "",
    "x",    " 7.25", "999",   "2.675",  "1.005",   "-3",      "58.004", "16.9951", "5e-3", "100"};
/// Tenths of a millimetre for version 2.
constexpr std::string_view kTenths[] = {"0",  "1160", "1150", "1170",        "375",  "785", "410", "1171",
                                        "-5", "12.5", "",     "99999999999", "2100", "2",   "1",   "3"};
/// A disc label's size and centre hole, on and around the bounds.
constexpr std::string_view kDiscSizes[] = {"116", "115", "117", "117.004", "114.996", "116.5", "115.004"};
constexpr std::string_view kHoleStarts[] = {"37.5", "37.49", "36.996", "38", "37.504", "36.5"};
constexpr std::string_view kHoleEnds[] = {"78.5", "78.506", "79.004", "78", "77.996", "79.5"};
constexpr std::string_view kNames[] = {"Card",
                                       "\x82\xA0\x82\xA2 \x83\x4A\x81\x5B\x83\x68",
                                       "<script>&amp;\"'",
                                       "  trailing  ",
                                       "",
                                       "a,b",
                                       "\xBA\xDD\xCA\xDE\xB0\xC4"};

class CHostileWriter {
public:
    CHostileWriter(unsigned nSeed, bool bVersion2) : m_random(nSeed), m_bVersion2(bVersion2) {}

    std::string Make()
    {
        const int nLines = 1 + static_cast<int>(m_random() % 60);
        Line("GroupName", Pick(kNames));
        for (int i = 0; i < nLines; ++i) {
            if (!m_bVersion2 && m_random() % 8 == 0)
                DiscLabel();
            else
                Line(m_bVersion2 ? Pick(kVersion2Keys) : Pick(kVersion34Keys), Value());
        }
        return m_strOut;
    }

private:
    template <std::size_t N>
    std::string_view Pick(const std::string_view (&arItems)[N])
    {
        return arItems[m_random() % N];
    }

    std::string Value()
    {
        const auto nKind = m_random() % 6;
        if (nKind < 2)  // a name, or a line up to too long for the legacy readers
            return nKind == 0 ? std::string(Pick(kNames)) : std::string(m_random() % 1500, ',');
        std::string strValue;
        const int nFields = 1 + static_cast<int>(m_random() % 6);
        for (int i = 0; i < nFields; ++i) {
            if (i > 0)
                strValue += ',';
            strValue += m_bVersion2 ? Pick(kTenths) : Pick(kLengths);
        }
        return strValue;
    }

    /// A version-3/4 element on and around the disc-label bounds.
    void DiscLabel()
    {
        const std::string_view strKind = m_random() % 2 ? "Fixed" : "Free";
        Line("SheetType", m_random() % 2 ? "0,1,0,0" : "0,2,0,0");
        Line(strKind, "1," + std::string(Pick(kDiscSizes)) + "," + std::string(Pick(kDiscSizes)));
        Line(strKind == "Fixed" ? "FixedHorzPos" : "FreePos", "0,0");
        const std::string strHole = "1," + std::string(Pick(kHoleStarts)) + "," + std::string(Pick(kHoleStarts)) + "," +
                                    std::string(Pick(kHoleEnds)) + "," + std::string(Pick(kHoleEnds));
        Line(std::string(strKind) + "Deco", strHole);
    }

    void Line(std::string_view strKey, std::string_view strValue)
    {
        m_strOut.append(strKey).append(m_random() % 4 ? " = " : "=").append(strValue);
        m_strOut += m_random() % 5 ? "\r\n" : "\n";
    }

    std::mt19937 m_random;
    bool m_bVersion2;
    std::string m_strOut;
};

}  // namespace

std::string MakeHostileFile(unsigned nSeed, bool bVersion2)
{
    return CHostileWriter(nSeed, bVersion2).Make();
}
