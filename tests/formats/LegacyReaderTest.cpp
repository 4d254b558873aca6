#include "tests/support/FileTestSupport.h"

#include "formats/ToviFileformDoc.h"
#include "model/MethodFailure.h"
#include "model/Sheet.h"
#include "system/FileIo.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class LegacyReaderTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFailureCountsForTesting(); }

    /// Writes the bytes to a file of that name and reads it into m_doc.
    int Read(const std::string& strName, const std::string& strBytes)
    {
        const std::string strPath = m_folder.File(strName);
        WriteWholeFile(strPath, strBytes);
        return m_doc.ReadLegacyFile(strPath);
    }

    CTempFolder m_folder;
    CScriptedMessageBox m_box;
    CToviFileformDoc m_doc;
};

/// The text of a failure report: the repetition prefix for its level, then
/// "<class>::<method>" at the end.
void ExpectReport(const std::string& strText, int nLevel, const std::string& strQualifiedName)
{
    std::string strPrefix;
    for (int i = 0; i < nLevel; ++i)
        strPrefix += "また";
    EXPECT_EQ(strText.rfind(strPrefix + "バグ", 0), 0u) << strText;
    EXPECT_EQ(strText.substr(strText.rfind('\n') + 1), strQualifiedName) << strText;
}

}  // namespace

TEST_F(LegacyReaderTest, OpenFailureShowsItsMessageAndKeepsTheSheets)
{
    ASSERT_EQ(Read("USER.FDF", "GroupName = A\r\n"), 1);
    ASSERT_EQ(m_doc.GetSheetNum(), 1);

    const std::string strMissing = m_folder.File("nowhere/\xE3\x83\x86.FDF");
    EXPECT_EQ(m_doc.ReadLegacyFile(strMissing), 0);
    ASSERT_EQ(m_box.Texts().size(), 1u);
    EXPECT_EQ(m_box.Texts()[0], "ﾌｧｲﾙ " + strMissing + " が開けません。\n読み込みを中止します。");
    EXPECT_EQ(m_doc.GetSheetNum(), 1);
    // A folder is not a file that opens.
    EXPECT_EQ(m_doc.ReadLegacyFile(m_folder.Path()), 0);
    EXPECT_EQ(m_doc.GetSheetNum(), 1);

    EXPECT_EQ(m_doc.GetSheet(-1), nullptr);
    EXPECT_EQ(m_doc.GetSheet(1), nullptr);
    // A file that opens replaces the sheets, even with none.
    EXPECT_EQ(Read("empty.FDF", ";\r\n\r\n"), 1);
    EXPECT_EQ(m_doc.GetSheetNum(), 0);
}

TEST_F(LegacyReaderTest, VersionIsChosenByTheLastThreeCharactersOfThePath)
{
    const std::string strLines = "GroupName = A\r\nSheetWidth = 2100\r\nSheetType = 3,1,0,0\r\n";
    struct SCase {
        const char* pszName;
        bool bVersion2;
    };
    for (const SCase& c : {SCase{"USER.FDF", true}, SCase{"user.fdf", true}, SCase{"userfDf", true},
                           SCase{"USER.YLI", false}, SCase{"USER.FDF.bak", false}, SCase{"DF", false}}) {
        SCOPED_TRACE(c.pszName);
        ASSERT_EQ(Read(c.pszName, strLines), 1);
        ASSERT_EQ(m_doc.GetSheetNum(), 1);
        const CSheet& sheet = *m_doc.GetSheet(0);
        EXPECT_EQ(sheet.m_bVersion34, c.bVersion2 ? 0 : 1);
        // "SheetWidth" exists only in version 2; version 3/4 parses four numbers from "SheetType".
        EXPECT_DOUBLE_EQ(sheet.m_dSheetWidth, c.bVersion2 ? 210.0 : -1.0);
        EXPECT_EQ(sheet.m_nSheetType, c.bVersion2 ? 3 : 1);
        EXPECT_EQ(sheet.m_nSheetClass, c.bVersion2 ? 0 : 3);
    }
    EXPECT_TRUE(m_box.Texts().empty());
}

TEST_F(LegacyReaderTest, Version2SheetsTheirSupportRecordsAndTenthsOfAMillimetre)
{
    const std::string strFile =
        "; comment\r\n"
        "GroupName = Card  \r\n"
        "SheetName = \x95\x5C\x8E\x86\r\n"
        "SheetType = 2\r\n"
        "SheetIndex = 7\r\n"
        "SheetWidth = 2100.5\r\n"
        "SheetHeight = -5\r\n"
        "SheetOrientation = 1\r\n"
        "LabelNumber = 4\r\n"
        "ID = 9\r\n"
        "FreeNo = 3\r\n"
        "FreeWidth = 455\r\n"
        "FreeHorPos = 100\r\n"
        "FreeHorPos = 120\r\n"
        "FreeVerPos = 50\r\n"
        "FreeDecoType = 2\r\n"
        "FreeDecoEndY = 33\r\n"
        "GROUPNAME=Second\r\n";
    ASSERT_EQ(Read("USER.FDF", strFile), 1);
    ASSERT_EQ(m_doc.GetSheetNum(), 2);

    CSheet& first = *m_doc.GetSheet(0);
    EXPECT_EQ(first.GetSheetName(), "\x95\x5C\x8E\x86");
    EXPECT_EQ(first.m_nSheetIndex, 7);
    EXPECT_DOUBLE_EQ(first.m_dSheetWidth, 210.0);
    EXPECT_DOUBLE_EQ(first.m_dSheetHeight, 0.0);
    EXPECT_EQ(first.m_nSheetOrientation, 1);
    ASSERT_EQ(first.GetElementNo(), 1);
    EXPECT_DOUBLE_EQ(first.GetFreeWidth(0), 45.5);
    EXPECT_DOUBLE_EQ(first.GetFreeHorPos(0), 12.0);  // the second "FreeHorPos" replaces the first
    EXPECT_DOUBLE_EQ(first.GetFreeVerPos(0), 5.0);
    EXPECT_EQ(first.GetFreeDecoType(0, 0), 0);  // stored 2, reported in version-5 coding
    EXPECT_DOUBLE_EQ(first.GetFreeDecoEndY(0, 0), 3.3);
    EXPECT_EQ(first.GetGroupName(0, 0), "Card  ");

    CSheet& second = *m_doc.GetSheet(1);
    EXPECT_EQ(second.GetGroupName(0, 0), "Second");
    EXPECT_EQ(second.m_nSheetType, -1);
    for (CSheet* pSheet : {&first, &second}) {
        ASSERT_EQ(pSheet->GetSupportInfoNo(), 1);
        EXPECT_EQ(pSheet->GetGroupNameNo(0), 1);
        EXPECT_EQ(pSheet->GetSupportList()[0]->m_nToviType, 4);
        EXPECT_EQ(pSheet->GetSupportList()[0]->m_strToviVersion, "3.00");
    }
    EXPECT_TRUE(m_box.Texts().empty());
}

TEST_F(LegacyReaderTest, Version2MisuseIsReportedByTheModelInOrderAndReadingGoesOn)
{
    const std::string strFile =
        "FixedNo = 3\r\n"       // no sheet yet: ignored, the cursor stays unassigned
        "SheetWidth = 100\r\n"  // ignored as well
        "GroupName = A\r\n"
        "FixedWidth = 100\r\n"  // no element yet: GetFixed, SetFixedWidth
        "FixedNo = 1\r\n"       // layout kind 1, cursor 0
        "FreeNo = 2\r\n"        // AddFree refused, cursor -99: AddFree, GetFree, SetFreeType
        "FixedHeight = 50\r\n"  // cursor -99: GetFixed, SetFixedHeight
        "FixedNo = 4\r\n"       // the second element: cursor 1
        "FixedHorPos = 10\r\n"
        "GroupName = B\r\n"
        "SheetType = 1\r\n"
        "FixedWidth = 70\r\n";  // cursor 1 survives into a sheet without elements: 2 reports
    ASSERT_EQ(Read("USER.FDF", strFile), 1);

    const std::vector<std::string> texts = m_box.Texts();
    const std::vector<std::string> expected = {
        "CSheet::GetFixed", "CSheet::SetFixedWidth",  "CSheet::AddFree",  "CSheet::GetFree",      "CSheet::SetFreeType",
        "CSheet::GetFixed", "CSheet::SetFixedHeight", "CSheet::GetFixed", "CSheet::SetFixedWidth"};
    ASSERT_EQ(texts.size(), expected.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        ExpectReport(texts[i], static_cast<int>(i), expected[i]);
    EXPECT_EQ(GetFailureCount(EFailureClass::Sheet), 9);

    ASSERT_EQ(m_doc.GetSheetNum(), 2);
    CSheet& first = *m_doc.GetSheet(0);
    EXPECT_DOUBLE_EQ(first.m_dSheetWidth, -1.0);
    ASSERT_EQ(first.GetElementNo(), 2);
    EXPECT_DOUBLE_EQ(first.GetFixedWidth(0), 0.0);
    EXPECT_EQ(first.GetFixedHorNum(1), 1);
    EXPECT_EQ(m_doc.GetSheet(1)->GetElementNo(), 0);
}

TEST_F(LegacyReaderTest, Version34RawTextsAreKeptByteForByte)
{
    // Trail bytes that look like "\" (0x95 0x5C), a letter (0x83 0x41) or a
    // blank-free tail; trailing blanks stay, leading blanks and tabs go.
    const std::string strFile =
        "ID = 4.0\r\n"
        "CompanyName = before any sheet\r\n"
        "Fixed = 1,10,10\r\n"
        "GroupName =\t \x95\x5C\x8E\x86  \r\n"
        "CompanyName = \x83\x41\x83\x4E\r\n"
        "ProductName = Label \x95\x5C\r\n"
        "SheetUse =   use  \r\n"
        "SheetSurfaces = 1\r\n"
        "SheetSize = 210,297 \r\n"
        "SheetWidth = 2100\r\n"
        "FixedNo = 1\r\n"
        "SheetType = 3,1,0,0\r\n"
        "Fixed = 1,90.5,55\r\n"
        "FixedHorzPos = 10.5,20,,30\r\n"
        "FixedHorPos = 99\r\n"
        "FixedDeco = 1,0,0,10\r\n"
        "Free = 2,10,20\r\n"
        "FixedDeco = 2,1,1,2,2\r\n";  // decorates the free element
    ASSERT_EQ(Read("USER.YLI", strFile), 1);
    ASSERT_EQ(m_doc.GetSheetNum(), 1);
    CSheet& sheet = *m_doc.GetSheet(0);
    EXPECT_EQ(sheet.m_bVersion34, 1);
    EXPECT_EQ(sheet.GetGroupNameText(), "\x95\x5C\x8E\x86  ");
    EXPECT_EQ(sheet.GetCompanyName(), "\x83\x41\x83\x4E");
    EXPECT_EQ(sheet.GetProductName(), "Label \x95\x5C");
    EXPECT_EQ(sheet.GetSheetUse(), "use  ");
    EXPECT_EQ(sheet.GetSheetSizeText(), "210,297 ");
    EXPECT_DOUBLE_EQ(sheet.m_dSheetWidth, -1.0);
    EXPECT_EQ(sheet.GetSupportInfoNo(), 0);
    EXPECT_EQ(sheet.m_nSheetType, 1);
    ASSERT_EQ(sheet.GetElementNo(), 1);
    EXPECT_EQ(sheet.GetFixedHorNum(0), 4);
    EXPECT_EQ(sheet.GetFixedDecoNo(0), 1);
    ASSERT_EQ(sheet.GetFreeList().size(), 1u);
    EXPECT_EQ(sheet.GetFreeList()[0]->GetDecoCount(), 1);
    EXPECT_TRUE(m_box.Texts().empty());
}

TEST_F(LegacyReaderTest, AReadErrorMidwayIsAFailureThatLeavesNoSheet)
{
    // Many sheets, so that the fault comes in the middle of the file (and of
    // a line), long after the first sheets were read.
    std::string strFile;
    for (int i = 0; i < 200; ++i)
        strFile += "GroupName = Sheet " + std::to_string(i) + "\r\nSheetType = 3,1,0,0\r\nFixed = 1,10,10\r\n";
    ASSERT_GT(strFile.size(), 5000u);
    ASSERT_EQ(Read("USER.YLI", "GroupName = A\r\n"), 1);
    ASSERT_EQ(m_doc.GetSheetNum(), 1);

    struct SFaultScope {
        explicit SFaultScope(long long nBytes) { CInputFile::InjectReadError(nBytes); }
        ~SFaultScope() { CInputFile::InjectReadError(-1); }
    };
    for (const long long nFaultAfter : {3000LL, 0LL}) {
        SCOPED_TRACE(nFaultAfter);
        m_box.Clear();
        const std::string strPath = m_folder.File("faulty.YLI");
        WriteWholeFile(strPath, strFile);
        SFaultScope fault(nFaultAfter);
        EXPECT_EQ(m_doc.ReadLegacyFile(strPath), 0);
        EXPECT_EQ(m_doc.GetSheetNum(), 0);
        EXPECT_EQ(m_box.Texts(),
                  (std::vector<std::string>{"ﾌｧｲﾙ " + strPath + " が読み込めません。\n読み込みを中止します。"}));
    }
    // A file that ends before the fault would come is read whole.
    SFaultScope fault(static_cast<long long>(strFile.size()) + 1);
    m_box.Clear();
    EXPECT_EQ(Read("whole.YLI", strFile), 1);
    EXPECT_EQ(m_doc.GetSheetNum(), 200);
    EXPECT_TRUE(m_box.Texts().empty());
}
