#include "formats/ToviFileformDoc.h"

#include "model/Allocation.h"
#include "model/MethodFailure.h"
#include "model/Sheet.h"
#include "system/FileIo.h"
#include "text/CodePage.h"
#include "text/MessageBox.h"

namespace {

/// Product version and type of the support record of a version-2 sheet.
const char* const kVersion2ToviVersion = "3.00";
constexpr int kVersion2ToviType = 4;

/// Bytes read from the legacy file at a time: a whole number of chunks.
constexpr std::size_t kReadBlockSize = 64 * CLineSplitter::kChunkSize;

/// True when the path names a version-2 file: its last three bytes are "FDF"
/// in any case.
bool IsVersion2Path(const std::string& strPath)
{
    return strPath.size() >= 3 && EqualNoCaseAscii(std::string_view(strPath).substr(strPath.size() - 3), "FDF");
}

}  // namespace

void CToviFileformDoc::SSheetDeleter::operator()(CSheet* pSheet) const
{
    pSheet->Free();  // its result does not matter: the sheet goes either way
    delete pSheet;
}

CToviFileformDoc::CToviFileformDoc() = default;

CToviFileformDoc::~CToviFileformDoc()
{
    DeleteContents();
}

void CToviFileformDoc::DeleteContents()
{
    m_pCurSheet = nullptr;
    m_lstSheet.clear();
}

int CToviFileformDoc::GetSheetNum() const
{
    return static_cast<int>(m_lstSheet.size());
}

CSheet* CToviFileformDoc::GetSheet(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSheetNum())
        return nullptr;
    return m_lstSheet[static_cast<std::size_t>(nIndex)].get();
}

int CToviFileformDoc::ReadLegacyFile(std::string strPath)  // NOLINT(performance-unnecessary-value-param)
{
    CInputFile file;
    if (!file.Open(strPath)) {
        ShowMessageBox("ﾌｧｲﾙ " + strPath + " が開けません。\n読み込みを中止します。");
        return 0;
    }
    DeleteContents();
    const EFileVersion eVersion = IsVersion2Path(strPath) ? EFileVersion::Version2 : EFileVersion::Version34;

    // The file is read in blocks of many chunks. The lines are the same as
    // chunk by chunk: a block ends where a chunk ends, and the only
    // difference, the empty line of a CR LF split by a chunk boundary inside
    // a block, is one that recognition ignores anyway.
    CLineSplitter splitter([this, eVersion](std::string_view line) { PerformLine(line, eVersion); });
    const std::unique_ptr<char[]> pBlock = std::make_unique_for_overwrite<char[]>(kReadBlockSize);
    for (;;) {
        const std::size_t nRead = file.Read(pBlock.get(), kReadBlockSize);
        splitter.Feed(std::string_view(pBlock.get(), nRead));
        if (nRead < kReadBlockSize)
            break;
    }
    splitter.Finish();
    m_pCurSheet = nullptr;
    if (file.HadReadError()) {
        // A file that could not be read whole is not converted: the part
        // before the fault would replace the user's whole version-5 file.
        // The text follows the open failure's, so the user sees the same
        // kind of message and the run ends the same way.
        DeleteContents();
        ShowMessageBox("ﾌｧｲﾙ " + strPath + " が読み込めません。\n読み込みを中止します。");
        return 0;
    }
    return 1;
}

void CToviFileformDoc::PerformLine(std::string_view line, EFileVersion eVersion)
{
    std::string_view value;
    const int nCode = RecognizeLine(line, eVersion, value);
    if (nCode == kLineGroupName) {
        BeginSheet(eVersion == EFileVersion::Version2 ? 0 : 1);
    } else if (m_pCurSheet == nullptr) {
        return;  // no sheet yet: the line has nothing to act on
    }
    if (m_pCurSheet == nullptr)
        return;  // the sheet could not be created
    if (eVersion == EFileVersion::Version2)
        PerformVersion2Line(nCode, value);
    else
        PerformVersion34Line(nCode, value);
}

void CToviFileformDoc::BeginSheet(int bVersion34)
{
    m_pCurSheet = nullptr;
    CSheet* pSheet = NewModelObject<CSheet>(bVersion34);
    if (pSheet == nullptr) {
        // The lines up to the next "GroupName" then have no sheet.
        ReportMemoryExhausted();
        return;
    }
    SheetPtr pOwned(pSheet);
    m_lstSheet.push_back(std::move(pOwned));
    m_pCurSheet = pSheet;
}

void CToviFileformDoc::PerformVersion2Line(int nCode, std::string_view strValue)
{
    CSheet& sheet = *m_pCurSheet;
    switch (nCode) {
    case kLineGroupName:
        m_nCurSupport = sheet.AddSupportInfo();
        sheet.AddGroupName(m_nCurSupport, std::string(strValue));
        sheet.SetToviVersion(m_nCurSupport, kVersion2ToviVersion);
        sheet.SetToviType(m_nCurSupport, kVersion2ToviType);
        sheet.m_nSheetClass = 0;
        break;
    case kLineSheetName:
        sheet.SetSheetName(strValue);
        break;
    case kLineSheetType:
        sheet.m_nSheetType = ReadVersion2Number(strValue);
        break;
    case kLineSheetIndex:
        sheet.m_nSheetIndex = ReadVersion2Number(strValue);
        break;
    case kLineSheetWidth:
        sheet.m_dSheetWidth = ReadVersion2Length(strValue);
        break;
    case kLineSheetHeight:
        sheet.m_dSheetHeight = ReadVersion2Length(strValue);
        break;
    case kLineSheetOrientation:
        sheet.m_nSheetOrientation = ReadVersion2Number(strValue);
        break;

    case kLineSheetDecoType:
        m_nCurDeco = sheet.AddSheetDeco(ReadVersion2Number(strValue));
        break;
    case kLineSheetDecoStartX:
        sheet.SetSheetDecoStartX(m_nCurDeco, ReadVersion2Length(strValue));
        break;
    case kLineSheetDecoStartY:
        sheet.SetSheetDecoStartY(m_nCurDeco, ReadVersion2Length(strValue));
        break;
    case kLineSheetDecoEndX:
        sheet.SetSheetDecoEndX(m_nCurDeco, ReadVersion2Length(strValue));
        break;
    case kLineSheetDecoEndY:
        sheet.SetSheetDecoEndY(m_nCurDeco, ReadVersion2Length(strValue));
        break;

    case kLineFixedNo:
        m_nCurElement = sheet.AddFixed(ReadVersion2Number(strValue));
        sheet.SetFixedType(m_nCurElement, 0);
        break;
    case kLineFixedWidth:
        sheet.SetFixedWidth(m_nCurElement, ReadVersion2Length(strValue));
        break;
    case kLineFixedHeight:
        sheet.SetFixedHeight(m_nCurElement, ReadVersion2Length(strValue));
        break;
    case kLineFixedHorPos:
        sheet.AddFixedHorPos(m_nCurElement, ReadVersion2Length(strValue));
        break;
    case kLineFixedVerPos:
        sheet.AddFixedVerPos(m_nCurElement, ReadVersion2Length(strValue));
        break;
    case kLineFixedDecoType:
        m_nCurDeco = sheet.AddFixedDeco(m_nCurElement, ReadVersion2Number(strValue));
        break;
    case kLineFixedDecoStartX:
        sheet.SetFixedDecoStartX(m_nCurElement, m_nCurDeco, ReadVersion2Length(strValue));
        break;
    case kLineFixedDecoStartY:
        sheet.SetFixedDecoStartY(m_nCurElement, m_nCurDeco, ReadVersion2Length(strValue));
        break;
    case kLineFixedDecoEndX:
        sheet.SetFixedDecoEndX(m_nCurElement, m_nCurDeco, ReadVersion2Length(strValue));
        break;
    case kLineFixedDecoEndY:
        sheet.SetFixedDecoEndY(m_nCurElement, m_nCurDeco, ReadVersion2Length(strValue));
        break;

    case kLineFreeNo:
        m_nCurElement = sheet.AddFree(ReadVersion2Number(strValue));
        sheet.SetFreeType(m_nCurElement, 0);
        break;
    case kLineFreeWidth:
        sheet.SetFreeWidth(m_nCurElement, ReadVersion2Length(strValue));
        break;
    case kLineFreeHeight:
        sheet.SetFreeHeight(m_nCurElement, ReadVersion2Length(strValue));
        break;
    case kLineFreeHorPos:
        sheet.SetFreeHorPos(m_nCurElement, ReadVersion2Length(strValue));
        break;
    case kLineFreeVerPos:
        sheet.SetFreeVerPos(m_nCurElement, ReadVersion2Length(strValue));
        break;
    case kLineFreeDecoType:
        m_nCurDeco = sheet.AddFreeDeco(m_nCurElement, ReadVersion2Number(strValue));
        break;
    case kLineFreeDecoStartX:
        sheet.SetFreeDecoStartX(m_nCurElement, m_nCurDeco, ReadVersion2Length(strValue));
        break;
    case kLineFreeDecoStartY:
        sheet.SetFreeDecoStartY(m_nCurElement, m_nCurDeco, ReadVersion2Length(strValue));
        break;
    case kLineFreeDecoEndX:
        sheet.SetFreeDecoEndX(m_nCurElement, m_nCurDeco, ReadVersion2Length(strValue));
        break;
    case kLineFreeDecoEndY:
        sheet.SetFreeDecoEndY(m_nCurElement, m_nCurDeco, ReadVersion2Length(strValue));
        break;

    default:
        // "LabelNumber", "FixedHorNum" and "FixedVerNum" carry nothing the
        // model keeps; the version-5 keywords, "ID", comments and unknown
        // keys mean nothing in a version-2 file.
        break;
    }
}

void CToviFileformDoc::PerformVersion34Line(int nCode, std::string_view strValue)
{
    CSheet& sheet = *m_pCurSheet;
    switch (nCode) {
    case kLineGroupName:
        sheet.SetGroupNameText(strValue);
        break;
    case kLineCompanyName:
        sheet.SetCompanyName(strValue);
        break;
    case kLineProductName:
        sheet.SetProductName(strValue);
        break;
    case kLineSheetUse:
        sheet.SetSheetUse(strValue);
        break;
    case kLineSheetSurfaces:
        sheet.SetSheetSurfaces(strValue);
        break;
    case kLineSheetType:
        sheet.ParseSheetType(strValue);
        break;
    case kLineSheetSize:
        sheet.SetSheetSizeText(strValue);
        break;
    case kLineSheetDeco:
        sheet.ParseSheetDeco(strValue);
        break;
    case kLineFixed:
        sheet.ParseFixed(strValue);
        break;
    case kLineFixedHorPos:
        sheet.ParseFixedHorzPos(strValue);
        break;
    case kLineFixedVerPos:
        sheet.ParseFixedVertPos(strValue);
        break;
    case kLineFixedDeco:
        sheet.ParseFixedDeco(strValue);
        break;
    case kLineFree:
        sheet.ParseFree(strValue);
        break;
    case kLineFreePos:
        sheet.ParseFreePos(strValue);
        break;
    case kLineFreeDeco:
        sheet.ParseFreeDeco(strValue);
        break;
    default:
        break;  // "ID", comments, lines without a key and unknown keys
    }
}
