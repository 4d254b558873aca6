// Writes a legacy user-sheet file of about a given size for the conversion
// benchmarks, the same bytes on every run:
//
//   make_legacy_file SHAPE VERSION MEGABYTES OUTPUT
//
// SHAPE:   sheets  many sheets of a dozen elements each (what users have)
//          fixed   one sheet of fixed elements only
//          free    one sheet of free elements only
// VERSION: 2 (a USER.FDF) or 34 (a version-3/4 USER.YLI)

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class CGenerator {
public:
    CGenerator(bool bVersion2, std::size_t nLimit) : m_bVersion2(bVersion2), m_nLimit(nLimit) {}

    bool Full() const { return m_strOut.size() >= m_nLimit; }
    const std::string& Bytes() const { return m_strOut; }

    void Line(const std::string& strLine) { m_strOut += strLine + "\r\n"; }

    /// A number in tenths of a millimetre (version 2) or millimetres with
    /// up to two decimals (version 3/4).
    std::string Length(unsigned nLow, unsigned nSpan)
    {
        const unsigned nTenths = nLow + Next() % nSpan;
        if (m_bVersion2)
            return std::to_string(nTenths);
        std::string str = std::to_string(nTenths / 10);
        if (nTenths % 10 != 0)
            str += "." + std::to_string(nTenths % 10) + (Next() % 3 == 0 ? "5" : "");
        return str;
    }

    void SheetHeader(int nSheet, int nKind)
    {
        const std::string strNo = std::to_string(nSheet);
        if (m_bVersion2) {
            Line("; sheet " + strNo);
            Line("GroupName = Card \x83\x4A\x81\x5B\x83\x68 " + strNo);  // "カード"
            Line("SheetName = Label " + strNo);
            Line("SheetType = " + std::to_string(nKind));
            Line("SheetIndex = " + std::to_string(nSheet % 40));
            Line("SheetWidth = " + Length(900, 1200));
            Line("SheetHeight = " + Length(550, 2400));
            Line("SheetOrientation = " + std::to_string(nSheet % 2));
            Line("LabelNumber = 10");
        } else {
            Line("");
            Line("GroupName = Card \x83\x4A\x81\x5B\x83\x68 " + strNo);
            Line("CompanyName = Maker " + std::to_string(nSheet % 7));
            Line("ProductName = Label " + strNo);
            Line("SheetUse = \x95\x5C\x8E\x86 " + strNo);  // a trail byte that looks like "\"
            Line("SheetSurfaces = 1");
            Line("SheetType = 3," + std::to_string(nKind) + "," + std::to_string(nSheet % 40) + ",0");
            Line("SheetSize = " + Length(900, 1200) + "," + Length(550, 2400));
        }
    }

    void Element(int nNo, bool bFixed)
    {
        const std::string strKind = bFixed ? "Fixed" : "Free";
        // Every 50th element is a disc label, which the writer detects.
        const bool bDisc = nNo % 50 == 0;
        const std::string strWidth = bDisc ? (m_bVersion2 ? "1160" : "116") : Length(200, 900);
        const std::string strHeight = bDisc ? strWidth : Length(100, 600);
        if (m_bVersion2) {
            Line(strKind + "No = " + std::to_string(nNo));
            Line(strKind + "Width = " + strWidth);
            Line(strKind + "Height = " + strHeight);
            if (bFixed) {
                Line("FixedHorNum = 2");
                Line("FixedHorPos = " + Length(0, 50));
                Line("FixedHorPos = " + Length(500, 50));
                Line("FixedVerNum = 1");
                Line("FixedVerPos = " + Length(0, 80));
            } else {
                Line("FreeHorPos = " + Length(0, 1500));
                Line("FreeVerPos = " + Length(0, 2500));
            }
            Line(strKind + "DecoType = " + std::string(bDisc ? "3" : std::to_string(Next() % 3)));
            Line(strKind + "DecoStartX = " + std::string(bDisc ? "375" : Length(0, 30)));
            Line(strKind + "DecoStartY = " + std::string(bDisc ? "375" : Length(0, 30)));
            Line(strKind + "DecoEndX = " + std::string(bDisc ? "785" : Length(100, 300)));
            Line(strKind + "DecoEndY = " + std::string(bDisc ? "785" : Length(100, 300)));
        } else {
            Line(strKind + " = " + (bDisc ? "1" : std::to_string(Next() % 3)) + "," + strWidth + "," + strHeight);
            if (bFixed) {
                Line("FixedHorzPos = " + Length(0, 50) + "," + Length(500, 50));
                Line("FixedVertPos = " + Length(0, 80));
            } else {
                Line("FreePos = " + Length(0, 1500) + "," + Length(0, 2500));
            }
            Line(strKind + "Deco = " +
                 (bDisc ? "1,37.5,37.5,78.5,78.5"
                        : std::to_string(Next() % 3) + "," + Length(0, 30) + "," + Length(0, 30) + "," +
                              Length(100, 300) + "," + Length(100, 300)));
        }
    }

private:
    unsigned Next()
    {
        m_nSeed = m_nSeed * 1103515245u + 12345u;
        return (m_nSeed >> 16) & 0x7FFF;
    }

    bool m_bVersion2;
    std::size_t m_nLimit;
    unsigned m_nSeed = 1;
    std::string m_strOut;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: make_legacy_file sheets|fixed|free 2|34 MEGABYTES OUTPUT\n");
        return 2;
    }
    const std::string strShape = argv[1];
    const bool bVersion2 = std::strcmp(argv[2], "2") == 0;
    const std::size_t nLimit = static_cast<std::size_t>(std::atof(argv[3]) * 1024 * 1024);
    if (strShape != "sheets" && strShape != "fixed" && strShape != "free") {
        std::fprintf(stderr, "make_legacy_file: unknown shape %s\n", argv[1]);
        return 2;
    }

    CGenerator gen(bVersion2, nLimit);
    if (!bVersion2)
        gen.Line("ID = 4.0");
    if (strShape == "sheets") {
        for (int nSheet = 1; !gen.Full(); ++nSheet) {
            const bool bFixed = nSheet % 3 != 0;
            gen.SheetHeader(nSheet, bFixed ? 1 : 2);
            for (int nElem = 1; nElem <= 12; ++nElem)
                gen.Element(nElem, bFixed);
        }
    } else {
        const bool bFixed = strShape == "fixed";
        gen.SheetHeader(1, bFixed ? 1 : 2);
        for (int nElem = 1; !gen.Full(); ++nElem)
            gen.Element(nElem, bFixed);
    }

    std::FILE* pFile = std::fopen(argv[4], "wb");
    if (pFile == nullptr) {
        std::perror(argv[4]);
        return 1;
    }
    const std::string& strBytes = gen.Bytes();
    const bool bOk = std::fwrite(strBytes.data(), 1, strBytes.size(), pFile) == strBytes.size();
    if (std::fclose(pFile) != 0 || !bOk) {
        std::perror(argv[4]);
        return 1;
    }
    return 0;
}
