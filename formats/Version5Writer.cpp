// The version-5 writer: the header, one block per sheet definition and the
// "END" trailer, CR LF after every line, numbers formatted the same in every
// locale.

#include "formats/Version5Writer.h"

#include "formats/ToviFileformDoc.h"
#include "model/Sheet.h"
#include "system/Backup.h"
#include "system/FileIo.h"
#include "text/MessageBox.h"
#include "text/Numbers.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

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

bool InRange(double dValue, double dLow, double dHigh)
{
    return dLow <= dValue && dValue <= dHigh;
}

/// Writes the lines of the sheets. The values of one line are queried in the
/// order in which they stand in it. The lines are built in a block that is
/// handed to the file whenever it fills; after a failed write nothing more is
/// built.
class CVersion5Writer {
public:
    explicit CVersion5Writer(CAtomicOutputFile& file)
        : m_file(file),
          m_pBlock(std::make_unique_for_overwrite<char[]>(kBlockSize)),
          m_pNext(m_pBlock.get()),
          m_pEnd(m_pBlock.get() + kBlockSize)
    {
    }

    bool Ok() const { return m_bOk; }

    /// Hands what the block holds to the file.
    void Flush()
    {
        const char* const pBlock = m_pBlock.get();
        if (m_bOk && m_pNext != pBlock)
            m_bOk = m_file.Write(std::string_view(pBlock, static_cast<std::size_t>(m_pNext - pBlock)));
        m_pNext = m_pBlock.get();
    }

    void WriteBytes(std::string_view bytes) { Text(bytes); }

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
    /// Bytes of the block: 64 KB, and room for a number's text beyond.
    static constexpr std::size_t kBlockSize = std::size_t{64} * 1024 + kNumberTextRoom;

    void MakeRoom(std::size_t nBytes)
    {
        if (static_cast<std::size_t>(m_pEnd - m_pNext) < nBytes)
            Flush();
    }

    // A line: Begin, then Text / Int / Real / Comma, then End.
    void Begin(std::string_view strKey) { Text(strKey); }
    void Text(std::string_view str)
    {
        MakeRoom(str.size());
        if (str.size() > static_cast<std::size_t>(m_pEnd - m_pNext)) {
            // Longer than a block: straight to the file.
            if (m_bOk)
                m_bOk = m_file.Write(str);
            return;
        }
        std::memcpy(m_pNext, str.data(), str.size());
        m_pNext += str.size();
    }
    void Int(int nValue)
    {
        MakeRoom(kNumberTextRoom);
        m_pNext = WriteInt(m_pNext, nValue);
    }
    void Real(double dValue)
    {
        MakeRoom(kNumberTextRoom);
        m_pNext = WriteReal(m_pNext, dValue, 2);
    }
    void Comma() { Text(","); }
    void End() { Text("\r\n"); }
    void Line(std::string_view strKey, std::string_view strValue)
    {
        Begin(strKey);
        Text(strValue);
        End();
    }

    void WriteVersion34Block(CSheet& sheet)
    {
        Line("GroupName = ", sheet.GetGroupNameText());
        Line("CompanyName = ", sheet.GetCompanyName());
        Line("ProductName = ", sheet.GetProductName());
        Line("SheetUse = ", sheet.GetSheetUse());
        Line("SheetSurfaces = ", sheet.GetSheetSurfaces());
        WriteSheetTypeLine(sheet);
        Line("SheetSize = ", sheet.GetSheetSizeText());
        WriteLayout(sheet);
        Line("", "");
    }

    /// One block for one support record; none when the record has no group
    /// name or an empty one.
    void WriteVersion2Block(CSheet& sheet, int nSupport)
    {
        const int nNameNo = sheet.GetGroupNameNo(nSupport);
        if (nNameNo <= 0)
            return;
        // The names are all fetched before the line is begun: an empty one
        // ends the block before anything of it is written.
        m_arNames.clear();
        for (int nName = 0; nName < nNameNo; ++nName) {
            m_arNames.push_back(sheet.GetGroupName(nSupport, nName));
            if (m_arNames.back().empty())
                return;
        }
        Begin("GroupName = ");
        for (std::size_t nName = 0; nName < m_arNames.size(); ++nName) {
            if (nName > 0)
                Comma();
            Text(m_arNames[nName]);
        }
        End();
        Line(kVersion2CompanyLine, "");
        Line("ProductName = ", sheet.GetSheetName());
        Line("SheetUse = ", sheet.GetSheetName());
        Line("SheetSurfaces = ", "");
        WriteSheetTypeLine(sheet);
        Begin("SheetSize = ");
        Real(sheet.m_dSheetWidth);
        Comma();
        Real(sheet.m_dSheetHeight);
        End();
        WriteLayout(sheet);
        Line("", "");
    }

    void WriteSheetTypeLine(const CSheet& sheet)
    {
        Begin("SheetType = ");
        for (const int nValue :
             {sheet.m_nSheetClass, sheet.m_nSheetType, sheet.m_nSheetIndex, sheet.m_nSheetOrientation}) {
            Int(nValue);
            Comma();
        }
        Text(kConstantField);
        End();
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

    /// "KEY = type,start X,start Y,end X,end Y", the values queried in that order.
    template <class TSheet, class... TIndex>
    void WriteDecoLine(std::string_view strKey, TSheet& sheet, int (TSheet::*pType)(TIndex...),
                       double (TSheet::*pStartX)(TIndex...), double (TSheet::*pStartY)(TIndex...),
                       double (TSheet::*pEndX)(TIndex...), double (TSheet::*pEndY)(TIndex...), TIndex... nIndex)
    {
        Begin(strKey);
        Int((sheet.*pType)(nIndex...));
        for (double (TSheet::*pField)(TIndex...) : {pStartX, pStartY, pEndX, pEndY}) {
            Comma();
            Real((sheet.*pField)(nIndex...));
        }
        End();
    }

    void WriteSheetDeco(CSheet& sheet, int nDeco)
    {
        WriteDecoLine("SheetDeco = ", sheet, &CSheet::GetSheetDecoType, &CSheet::GetSheetDecoStartX,
                      &CSheet::GetSheetDecoStartY, &CSheet::GetSheetDecoEndX, &CSheet::GetSheetDecoEndY, nDeco);
    }

    /// The "Fixed" or "Free" line: type (3 for a disc label), width, height.
    void WriteElementLine(std::string_view strKey, int nType, double dWidth, double dHeight)
    {
        Begin(strKey);
        Int(nType);
        Comma();
        Real(dWidth);
        Comma();
        Real(dHeight);
        Comma();
        Text(kConstantField);
        End();
    }

    void WriteCaliberLine(double dCaliber)
    {
        Begin("CDCaliber = ");
        Real(dCaliber);
        End();
    }

    void WriteFixed(CSheet& sheet, int nElem)
    {
        const double dCaliber = GetDiscLabelCaliber(sheet, nElem);
        const int nType = dCaliber != 0.0 ? 3 : sheet.GetFixedType(nElem);
        const double dWidth = sheet.GetFixedWidth(nElem);
        WriteElementLine("Fixed = ", nType, dWidth, sheet.GetFixedHeight(nElem));

        Begin("FixedHorzPos = ");
        const int nHorNum = sheet.GetFixedHorNum(nElem);
        for (int nPos = 0; nPos < nHorNum; ++nPos) {
            if (nPos > 0)
                Comma();
            Real(sheet.GetFixedHorPos(nElem, nPos));
        }
        End();

        Begin("FixedVertPos = ");
        const int nVerNum = sheet.GetFixedVerNum(nElem);
        for (int nPos = 0; nPos < nVerNum; ++nPos) {
            if (nPos > 0)
                Comma();
            Real(sheet.GetFixedVerPos(nElem, nPos));
        }
        End();

        if (dCaliber != 0.0) {
            WriteCaliberLine(dCaliber);
            return;
        }
        const int nDecoNo = sheet.GetFixedDecoNo(nElem);
        for (int nDeco = 0; nDeco < nDecoNo && m_bOk; ++nDeco)
            WriteDecoLine("FixedDeco = ", sheet, &CSheet::GetFixedDecoType, &CSheet::GetFixedDecoStartX,
                          &CSheet::GetFixedDecoStartY, &CSheet::GetFixedDecoEndX, &CSheet::GetFixedDecoEndY, nElem,
                          nDeco);
    }

    void WriteFree(CSheet& sheet, int nElem)
    {
        const double dCaliber = GetDiscLabelCaliber(sheet, nElem);
        const int nType = dCaliber != 0.0 ? 3 : sheet.GetFreeType(nElem);
        const double dWidth = sheet.GetFreeWidth(nElem);
        WriteElementLine("Free = ", nType, dWidth, sheet.GetFreeHeight(nElem));

        Begin("FreePos = ");
        Real(sheet.GetFreeHorPos(nElem));
        Comma();
        Real(sheet.GetFreeVerPos(nElem));
        End();

        if (dCaliber != 0.0) {
            WriteCaliberLine(dCaliber);
            return;
        }
        const int nDecoNo = sheet.GetFreeDecoNo(nElem);
        for (int nDeco = 0; nDeco < nDecoNo && m_bOk; ++nDeco)
            WriteDecoLine("FreeDeco = ", sheet, &CSheet::GetFreeDecoType, &CSheet::GetFreeDecoStartX,
                          &CSheet::GetFreeDecoStartY, &CSheet::GetFreeDecoEndX, &CSheet::GetFreeDecoEndY, nElem, nDeco);
    }

    CAtomicOutputFile& m_file;
    bool m_bOk = true;
    std::unique_ptr<char[]> m_pBlock;
    char* m_pNext;  ///< where the next byte goes
    char* m_pEnd;
    std::vector<std::string> m_arNames;  ///< the group names of a version-2 block
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

int CToviFileformDoc::WriteVersion5File(std::string strPath)  // NOLINT(performance-unnecessary-value-param)
{
    if (m_lstSheet.empty())
        return 1;  // nothing to write: no file is created or changed

    CAtomicOutputFile file;
    if (!file.Create(strPath)) {
        ShowMessageBox(OutputFailureMessage(strPath, file.GetFailure()));
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
    writer.Flush();
    if (!writer.Ok() || !file.Commit()) {
        file.Abandon();
        ShowMessageBox(OutputFailureMessage(strPath, file.GetFailure()));
        return 0;
    }
    return 1;
}

int CToviFileformDoc::ReplaceVersion5File(const std::string& strPath)
{
    m_strBackupPath.clear();
    if (m_lstSheet.empty())
        return 1;  // nothing is written, so nothing is replaced
    EOutputFailure eFailure = EOutputFailure::None;
    std::string strBackup;
    if (!BackUpFile(strPath, strBackup, eFailure)) {
        ShowMessageBox(WithFailureLine(OutputFailureMessage(strPath, EOutputFailure::Other) + "\n" + BackupFailedLine(),
                                       eFailure));
        return 0;
    }
    const int nResult = WriteVersion5File(strPath);
    if (nResult == 1)
        m_strBackupPath = strBackup;
    return nResult;
}
