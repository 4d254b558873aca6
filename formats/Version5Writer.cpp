// The version-5 writer: the header, one block per sheet definition and the
// "END" trailer, CR LF after every line, numbers formatted the same in every
// locale.

#include "formats/Version5Writer.h"

#include "formats/ToviFileformDoc.h"
#include "model/Sheet.h"
#include "platform/CodePage.h"
#include "platform/FileIo.h"
#include "platform/MessageBox.h"

#include <cmath>
#include <string>

// ";        Tovi 用紙定義ファイル          ;" is the second line (code page 932).
const std::string_view kVersion5Header =
    ";=============================================;\r\n"
    ";        Tovi \x97\x70\x8E\x86\x92\xE8\x8B\x60\x83\x74\x83\x40\x83\x43\x83\x8B          ;\r\n"
    ";                   VANTO SYSTEMS Inc.        ;\r\n"
    ";=============================================;\r\n"
    "ID = 5.0\r\n"
    "\r\n";

namespace {

/// "CompanyName = Tovi2 ｺﾝﾊﾞｰﾄ" (half-width katakana, one byte each in code page 932).
const std::string_view kVersion2CompanyLine = "CompanyName = Tovi2 \xBA\xDD\xCA\xDE\xB0\xC4";

const std::string_view kTrailer = "\r\nEND\r\n";

/// The last field of the "SheetType", "Fixed" and "Free" lines.
const std::string_view kConstantField = "999";

enum ELayoutKind { kLayoutSheetDeco = 0, kLayoutFixed = 1, kLayoutFree = 2 };

std::string Real2(double dValue)
{
    return FormatReal(dValue, 2);
}

bool InRange(double dValue, double dLow, double dHigh)
{
    return dLow <= dValue && dValue <= dHigh;
}

/// Writes the lines of the sheets. The values of one line are queried in the
/// order in which they stand in it; a line is written before the next is
/// built. After a failed write nothing more is built.
class CVersion5Writer {
public:
    explicit CVersion5Writer(CAtomicOutputFile& file) : m_file(file) {}

    bool Ok() const { return m_bOk; }

    void WriteBytes(std::string_view bytes)
    {
        if (m_bOk)
            m_bOk = m_file.Write(bytes);
    }

    void WriteLine(std::string strLine)
    {
        strLine += "\r\n";
        WriteBytes(strLine);
    }

    void WriteSheet(CSheet& sheet)
    {
        if (sheet.m_bVersion34 != 0) {
            WriteVersion34Block(sheet);
            return;
        }
        const int nSupportNo = sheet.GetSupportInfoNo();
        for (int nSupport = 0; nSupport < nSupportNo && m_bOk; ++nSupport)
            WriteVersion2Block(sheet, nSupport);
    }

private:
    void WriteVersion34Block(CSheet& sheet)
    {
        WriteLine("GroupName = " + sheet.GetGroupNameText());
        WriteLine("CompanyName = " + sheet.GetCompanyName());
        WriteLine("ProductName = " + sheet.GetProductName());
        WriteLine("SheetUse = " + sheet.GetSheetUse());
        WriteLine("SheetSurfaces = " + sheet.GetSheetSurfaces());
        WriteSheetTypeLine(sheet);
        WriteLine("SheetSize = " + sheet.GetSheetSizeText());
        WriteLayout(sheet);
        WriteLine("");
    }

    /// One block for one support record; none when the record has no group
    /// name or an empty one.
    void WriteVersion2Block(CSheet& sheet, int nSupport)
    {
        const int nNameNo = sheet.GetGroupNameNo(nSupport);
        if (nNameNo <= 0)
            return;
        std::string strNames;
        for (int nName = 0; nName < nNameNo; ++nName) {
            const std::string strName = sheet.GetGroupName(nSupport, nName);
            if (strName.empty())
                return;
            if (nName > 0)
                strNames += ',';
            strNames += strName;
        }
        WriteLine("GroupName = " + strNames);
        WriteLine(std::string(kVersion2CompanyLine));
        WriteLine("ProductName = " + sheet.GetSheetName());
        WriteLine("SheetUse = " + sheet.GetSheetName());
        WriteLine("SheetSurfaces = ");
        WriteSheetTypeLine(sheet);
        std::string strSize = "SheetSize = " + Real2(sheet.m_dSheetWidth);
        strSize += ',';
        strSize += Real2(sheet.m_dSheetHeight);
        WriteLine(strSize);
        WriteLayout(sheet);
        WriteLine("");
    }

    void WriteSheetTypeLine(const CSheet& sheet)
    {
        WriteLine("SheetType = " + FormatInt(sheet.m_nSheetClass) + ',' + FormatInt(sheet.m_nSheetType) + ',' +
                  FormatInt(sheet.m_nSheetIndex) + ',' + FormatInt(sheet.m_nSheetOrientation) + ',' +
                  std::string(kConstantField));
    }

    void WriteLayout(CSheet& sheet)
    {
        switch (sheet.m_nSheetType) {
        case kLayoutSheetDeco: {
            const int nDecoNo = sheet.GetSheetDecoNo();
            for (int nDeco = 0; nDeco < nDecoNo && m_bOk; ++nDeco)
                WriteSheetDeco(sheet, nDeco);
            break;
        }
        case kLayoutFixed: {
            const int nElemNo = sheet.GetElementNo();
            for (int nElem = 0; nElem < nElemNo && m_bOk; ++nElem)
                WriteFixed(sheet, nElem);
            break;
        }
        case kLayoutFree: {
            const int nElemNo = sheet.GetElementNo();
            for (int nElem = 0; nElem < nElemNo && m_bOk; ++nElem)
                WriteFree(sheet, nElem);
            break;
        }
        default:
            break;  // layout kind never decided: no layout lines
        }
    }

    void WriteSheetDeco(CSheet& sheet, int nDeco)
    {
        std::string strLine = "SheetDeco = " + FormatInt(sheet.GetSheetDecoType(nDeco));
        strLine += ',' + Real2(sheet.GetSheetDecoStartX(nDeco));
        strLine += ',' + Real2(sheet.GetSheetDecoStartY(nDeco));
        strLine += ',' + Real2(sheet.GetSheetDecoEndX(nDeco));
        strLine += ',' + Real2(sheet.GetSheetDecoEndY(nDeco));
        WriteLine(strLine);
    }

    void WriteFixed(CSheet& sheet, int nElem)
    {
        const double dCaliber = GetDiscLabelCaliber(sheet, nElem);
        std::string strLine = "Fixed = " + FormatInt(dCaliber != 0.0 ? 3 : sheet.GetFixedType(nElem));
        strLine += ',' + Real2(sheet.GetFixedWidth(nElem));
        strLine += ',' + Real2(sheet.GetFixedHeight(nElem));
        strLine += ',';
        strLine += kConstantField;
        WriteLine(strLine);

        strLine = "FixedHorzPos = ";
        const int nHorNum = sheet.GetFixedHorNum(nElem);
        for (int nPos = 0; nPos < nHorNum; ++nPos)
            strLine += (nPos > 0 ? "," : "") + Real2(sheet.GetFixedHorPos(nElem, nPos));
        WriteLine(strLine);

        strLine = "FixedVertPos = ";
        const int nVerNum = sheet.GetFixedVerNum(nElem);
        for (int nPos = 0; nPos < nVerNum; ++nPos)
            strLine += (nPos > 0 ? "," : "") + Real2(sheet.GetFixedVerPos(nElem, nPos));
        WriteLine(strLine);

        if (dCaliber != 0.0) {
            WriteLine("CDCaliber = " + Real2(dCaliber));
            return;
        }
        const int nDecoNo = sheet.GetFixedDecoNo(nElem);
        for (int nDeco = 0; nDeco < nDecoNo && m_bOk; ++nDeco) {
            strLine = "FixedDeco = " + FormatInt(sheet.GetFixedDecoType(nElem, nDeco));
            strLine += ',' + Real2(sheet.GetFixedDecoStartX(nElem, nDeco));
            strLine += ',' + Real2(sheet.GetFixedDecoStartY(nElem, nDeco));
            strLine += ',' + Real2(sheet.GetFixedDecoEndX(nElem, nDeco));
            strLine += ',' + Real2(sheet.GetFixedDecoEndY(nElem, nDeco));
            WriteLine(strLine);
        }
    }

    void WriteFree(CSheet& sheet, int nElem)
    {
        const double dCaliber = GetDiscLabelCaliber(sheet, nElem);
        std::string strLine = "Free = " + FormatInt(dCaliber != 0.0 ? 3 : sheet.GetFreeType(nElem));
        strLine += ',' + Real2(sheet.GetFreeWidth(nElem));
        strLine += ',' + Real2(sheet.GetFreeHeight(nElem));
        strLine += ',';
        strLine += kConstantField;
        WriteLine(strLine);

        strLine = "FreePos = " + Real2(sheet.GetFreeHorPos(nElem));
        strLine += ',' + Real2(sheet.GetFreeVerPos(nElem));
        WriteLine(strLine);

        if (dCaliber != 0.0) {
            WriteLine("CDCaliber = " + Real2(dCaliber));
            return;
        }
        const int nDecoNo = sheet.GetFreeDecoNo(nElem);
        for (int nDeco = 0; nDeco < nDecoNo && m_bOk; ++nDeco) {
            strLine = "FreeDeco = " + FormatInt(sheet.GetFreeDecoType(nElem, nDeco));
            strLine += ',' + Real2(sheet.GetFreeDecoStartX(nElem, nDeco));
            strLine += ',' + Real2(sheet.GetFreeDecoStartY(nElem, nDeco));
            strLine += ',' + Real2(sheet.GetFreeDecoEndX(nElem, nDeco));
            strLine += ',' + Real2(sheet.GetFreeDecoEndY(nElem, nDeco));
            WriteLine(strLine);
        }
    }

    CAtomicOutputFile& m_file;
    bool m_bOk = true;
};

}  // namespace

double GetDiscLabelCaliber(CSheet& sheet, int nElem)
{
    const bool bFixed = sheet.m_nSheetType == kLayoutFixed;
    if (!bFixed && sheet.m_nSheetType != kLayoutFree)
        return 0.0;

    if ((bFixed ? sheet.GetFixedType(nElem) : sheet.GetFreeType(nElem)) != 1)
        return 0.0;
    if ((bFixed ? sheet.GetFixedDecoNo(nElem) : sheet.GetFreeDecoNo(nElem)) != 1)
        return 0.0;
    if ((bFixed ? sheet.GetFixedDecoType(nElem, 0) : sheet.GetFreeDecoType(nElem, 0)) != 1)
        return 0.0;

    const double dWidth = bFixed ? sheet.GetFixedWidth(nElem) : sheet.GetFreeWidth(nElem);
    const double dHeight = bFixed ? sheet.GetFixedHeight(nElem) : sheet.GetFreeHeight(nElem);
    const double dStartX = bFixed ? sheet.GetFixedDecoStartX(nElem, 0) : sheet.GetFreeDecoStartX(nElem, 0);
    const double dStartY = bFixed ? sheet.GetFixedDecoStartY(nElem, 0) : sheet.GetFreeDecoStartY(nElem, 0);
    const double dEndX = bFixed ? sheet.GetFixedDecoEndX(nElem, 0) : sheet.GetFreeDecoEndX(nElem, 0);
    const double dEndY = bFixed ? sheet.GetFixedDecoEndY(nElem, 0) : sheet.GetFreeDecoEndY(nElem, 0);

    // A disc of about 116 mm ...
    if (!InRange(dWidth, 115.0, 117.0) || !InRange(dHeight, 115.0, 117.0) || !(std::fabs(dWidth - dHeight) <= 1.0))
        return 0.0;
    // ... with a centre hole of about 41 mm ...
    const double dHoleX = std::fabs(dEndX - dStartX);
    const double dHoleY = std::fabs(dEndY - dStartY);
    if (!InRange(dHoleX, 40.0, 42.0) || !InRange(dHoleY, 40.0, 42.0) || !(std::fabs(dHoleX - dHoleY) <= 1.0))
        return 0.0;
    // ... centred within 1 mm.
    if (!InRange((dStartX + dEndX) / 2.0, dWidth / 2.0 - 1.0, dWidth / 2.0 + 1.0) ||
        !InRange((dStartY + dEndY) / 2.0, dHeight / 2.0 - 1.0, dHeight / 2.0 + 1.0))
        return 0.0;
    // The caliber is the mean hole diameter to one decimal, as text and back.
    return TextToReal(FormatReal((dHoleX + dHoleY) / 2.0, 1));
}

int CToviFileformDoc::WriteVersion5File(std::string strPath)
{
    if (m_lstSheet.empty())
        return 1;  // nothing to write: no file is created or changed

    const std::string strFailure = "ﾌｧｲﾙ " + strPath + " に書き込みができません";
    CAtomicOutputFile file;
    if (!file.Create(strPath)) {
        ShowMessageBox(strFailure);
        return 0;
    }
    CVersion5Writer writer(file);
    writer.WriteBytes(kVersion5Header);
    for (const SheetPtr& pSheet : m_lstSheet) {
        if (!writer.Ok())
            break;
        writer.WriteSheet(*pSheet);
    }
    writer.WriteBytes(kTrailer);
    if (!writer.Ok() || !file.Commit()) {
        file.Abandon();
        ShowMessageBox(strFailure);
        return 0;
    }
    return 1;
}
