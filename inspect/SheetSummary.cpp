#include "inspect/SheetSummary.h"

#include "formats/LineSyntax.h"
#include "formats/ToviFileformDoc.h"
#include "formats/Version5Writer.h"
#include "model/Sheet.h"
#include "system/FileIo.h"
#include "text/CodePage.h"
#include "text/Numbers.h"

namespace {

/// True when a line of the bytes holds a keyword of the version.
bool HoldsKeyword(std::string_view bytes, EFileVersion eVersion)
{
    bool bFound = false;
    ForEachLine(bytes, [&](std::string_view line) {
        std::string_view value;
        bFound = bFound || RecognizeLine(line, eVersion, value) < kLineComment;
    });
    return bFound;
}

std::string Join(const std::vector<std::string>& lstNames)
{
    std::string strJoined;
    for (const std::string& strName : lstNames)
        strJoined += (strJoined.empty() ? "" : ",") + strName;
    return strJoined;
}

std::vector<std::string> Names(const std::vector<std::unique_ptr<std::string>>& lstNames)
{
    std::vector<std::string> lstCopies;
    for (const std::unique_ptr<std::string>& pName : lstNames) {
        if (pName)
            lstCopies.push_back(*pName);
    }
    return lstCopies;
}

}  // namespace

EReadResult ReadAnySheetFile(const std::string& strPath, CToviFileformDoc& doc, ESheetFileVersion& eVersion)
{
    std::string strBytes;
    if (!ReadFileBytes(strPath, strBytes))
        return EReadResult::NotOpened;
    const bool bVersion2 = strPath.size() >= 3 && EqualNoCaseAscii(strPath.substr(strPath.size() - 3), "FDF");
    eVersion = bVersion2                   ? ESheetFileVersion::Version2
               : HoldsVersion5Id(strBytes) ? ESheetFileVersion::Version5
                                           : ESheetFileVersion::Version34;
    if (!HoldsKeyword(strBytes, bVersion2 ? EFileVersion::Version2 : EFileVersion::Version34))
        return EReadResult::NotUserSheets;
    if (eVersion == ESheetFileVersion::Version5) {
        doc.ReadVersion5Bytes(strBytes);
        return EReadResult::Ok;
    }
    return doc.ReadLegacyFile(strPath) == 1 ? EReadResult::Ok : EReadResult::NotOpened;
}

SSheetSummary SummarizeSheet(const CSheet& sheet)
{
    SSheetSummary summary;
    summary.nLayoutKind = sheet.m_nSheetType;
    summary.nOrientation = sheet.m_nSheetOrientation;
    summary.nSheetClass = sheet.m_nSheetClass;
    summary.nSheetIndex = sheet.m_nSheetIndex;
    if (sheet.m_bVersion34 != 0) {
        summary.strGroup = sheet.GetGroupNameText();
        summary.strName = sheet.GetProductName();
        // The size is kept as the file's text: "width,height".
        ForEachValue(sheet.GetSheetSizeText(), [&summary](std::size_t nIndex, std::string_view strPiece) {
            if (nIndex < 2)
                (nIndex == 0 ? summary.dWidth : summary.dHeight) = TextToReal(strPiece);
        });
    } else {
        std::vector<std::string> lstGroups;
        for (const std::unique_ptr<CToviSupportInfo>& pSupport : sheet.GetSupportList()) {
            if (!pSupport)
                continue;
            SSupportSummary support{pSupport->m_nToviType, pSupport->m_strToviVersion,
                                    Names(pSupport->m_lstNormalGroup), Names(pSupport->m_lstWizardGroup)};
            lstGroups.insert(lstGroups.end(), support.lstGroups.begin(), support.lstGroups.end());
            summary.lstSupport.push_back(std::move(support));
        }
        summary.strGroup = Join(lstGroups);
        summary.strName = sheet.GetSheetName();
        // -1.0 is the model's "not set".
        if (sheet.m_dSheetWidth >= 0.0)
            summary.dWidth = sheet.m_dSheetWidth;
        if (sheet.m_dSheetHeight >= 0.0)
            summary.dHeight = sheet.m_dSheetHeight;
    }

    if (sheet.m_nSheetType == 0) {
        summary.nDecoNum = static_cast<int>(sheet.GetSheetDecoList().size());
    } else if (sheet.m_nSheetType == 1 || sheet.m_nSheetType == 2) {
        const bool bFixed = sheet.m_nSheetType == 1;
        for (const std::unique_ptr<CFixedFree>& pElem : bFixed ? sheet.GetFixedList() : sheet.GetFreeList()) {
            ++summary.nElementNum;
            summary.nLabelNum += bFixed ? pElem->GetHorPosCount() * pElem->GetVerPosCount() : 1;
            summary.nDecoNum += pElem->GetDecoCount();
        }
    }
    return summary;
}

const char* VersionName(ESheetFileVersion eVersion)
{
    switch (eVersion) {
    case ESheetFileVersion::Version2:
        return "2";
    case ESheetFileVersion::Version34:
        return "3/4";
    case ESheetFileVersion::Version5:
        break;
    }
    return "5";
}
