#include "tests/formats/WriterTestFixture.h"

#include "formats/ToviFileformDoc.h"
#include "formats/Version5Writer.h"
#include "model/MethodFailure.h"
#include "model/Sheet.h"
#include "tests/support/ScriptedMessageBox.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

/// A version-3/4 sheet of layout kind 1 with one fixed element and one decoration.
std::string DiscSheet(const std::string& strFixed, const std::string& strDeco)
{
    return "GroupName = CD\nSheetType = 0,1,0,0\nFixed = " + strFixed + "\nFixedHorzPos = 5\nFixedVertPos = 6\n" +
           "FixedDeco = " + strDeco + "\n";
}

}  // namespace

TEST_F(Version5WriterTest, Version2CardExampleMatchesTheGoldenFileInEveryLineEndStyle)
{
    const std::string strLegacy = ReadWholeFile(TestDataPath("card_v2.FDF"));
    const std::string strGolden = ReadWholeFile(TestDataPath("card_v5.YLI"));
    ASSERT_FALSE(strGolden.empty());
    EXPECT_EQ(Convert("USER.FDF", strLegacy), strGolden);

    std::string strLf, strCr;
    for (std::size_t i = 0; i < strLegacy.size(); ++i) {
        if (strLegacy[i] == '\r')
            continue;
        strLf += strLegacy[i];
        strCr += strLegacy[i] == '\n' ? '\r' : strLegacy[i];
    }
    EXPECT_EQ(Convert("USER.FDF", strLf), strGolden);
    EXPECT_EQ(Convert("USER.FDF", strCr), strGolden);

    // A CR LF split by the 1024-byte chunk boundary, and a line spanning it.
    for (const std::size_t nCrAt : {std::size_t{1023}, std::size_t{1020}}) {
        SCOPED_TRACE(nCrAt);
        std::string strPadded = ";" + std::string(nCrAt - 1, '-') + "\r\n" + strLegacy;
        ASSERT_EQ(strPadded[nCrAt], '\r');
        EXPECT_EQ(Convert("USER.FDF", strPadded), strGolden);
    }
    // The part of an overlong line beyond 1023 bytes is dropped, never taken for a line of its own.
    EXPECT_EQ(Convert("USER.FDF", ";" + std::string(1022, 'x') + "GroupName = X\r\n" + strLegacy), strGolden);
    EXPECT_EQ(Convert("USER.FDF", ";" + std::string(5000, 'x') + "\r\n" + strLegacy), strGolden);
    EXPECT_TRUE(m_box.Texts().empty());
}

TEST_F(Version5WriterTest, NumbersIgnoreALocaleWithADecimalComma)
{
    const std::string strGolden = ReadWholeFile(TestDataPath("card_v5.YLI"));
    const std::string strLegacy = ReadWholeFile(TestDataPath("card_v2.FDF"));
    const std::string strPrevious = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
    const std::string strOut = Convert("USER.FDF", strLegacy);
    const std::string strDisc = ConvertBlocks(DiscSheet("1,116,116", "1,37.5,37.5,78.5,78.5"));
    std::setlocale(LC_ALL, strPrevious.c_str());
    EXPECT_EQ(strOut, strGolden);
    EXPECT_NE(strDisc.find("Fixed = 3,116.00,116.00,999\r\n"), std::string::npos) << strDisc;
    EXPECT_NE(strDisc.find("CDCaliber = 41.00\r\n"), std::string::npos) << strDisc;
}

TEST_F(Version5WriterTest, Version2BlocksAreSkippedForEmptyGroupNamesAndShowInitialValues)
{
    EXPECT_EQ(Convert("USER.FDF", Crlf("GroupName = \nSheetName = Lost\nSheetType = 0\nGroupName = Only\n")),
              kHeader + Crlf("GroupName = Only\nCompanyName = Tovi2 \xBA\xDD\xCA\xDE\xB0\xC4\nProductName = \n"
                             "SheetUse = \nSheetSurfaces = \nSheetType = 0,-1,-1,-1,999\nSheetSize = -1.00,-1.00\n"
                             "\n\nEND\n"));
    // A single sheet with an empty group name: header, trailer, nothing else.
    EXPECT_EQ(Convert("USER.FDF", "GroupName =   \r\nSheetType = 1\r\n"), kHeader + "\r\nEND\r\n");
    EXPECT_TRUE(m_box.Texts().empty());
}

TEST_F(Version5WriterTest, Version2SheetDecorationsAndFreeElementsWithTranslatedTypes)
{
    const std::string strOut = Convert("USER.FDF", Crlf("GroupName = G\nSheetDecoType = 1\nSheetDecoStartX = 5\n"
                                                        "SheetDecoEndY = 25\nSheetDecoType = 0\n"
                                                        "GroupName = H\nFreeNo = 1\nFreeWidth = 300\nFreeHeight = 200\n"
                                                        "FreeHorPos = 15\nFreeVerPos = 25\nFreeDecoType = 2\n"));
    EXPECT_NE(strOut.find(Crlf("SheetType = 0,0,-1,-1,999\nSheetSize = -1.00,-1.00\n"
                               "SheetDeco = 2,0.50,0.00,0.00,2.50\nSheetDeco = 1,0.00,0.00,0.00,0.00\n\n")),
              std::string::npos)
        << strOut;
    EXPECT_NE(strOut.find(Crlf("SheetType = 0,2,-1,-1,999\nSheetSize = -1.00,-1.00\nFree = 0,30.00,20.00,999\n"
                               "FreePos = 1.50,2.50\nFreeDeco = 0,0.00,0.00,0.00,0.00\n\n\nEND\n")),
              std::string::npos)
        << strOut;
    EXPECT_TRUE(m_box.Texts().empty());
}

TEST_F(Version5WriterTest, Version34TextsAreEchoedAndOnlyTheOwnLayoutKindIsWritten)
{
    const std::string strBlocks = ConvertBlocks(
        "GroupName = \x95\x5C\x8E\x86  \n"
        "ProductName = \x83\x41x \n"
        "SheetSize = 210,297\n"
        "SheetType = 3,1,0,0,7\n"
        "SheetDeco = 1,1,2,3,4\n"
        "Free = 1,2,3\n"
        "Fixed = 1,90.5,55\n"
        "FixedHorzPos = 10.5,20,,30\n"
        "FixedDeco = 1,0,0,10\n"
        "FixedDeco = 2,1,1,2,2\n"
        "GroupName = B\n");
    EXPECT_EQ(strBlocks, Crlf("GroupName = \x95\x5C\x8E\x86  \nCompanyName = \nProductName = \x83\x41x \nSheetUse = \n"
                              "SheetSurfaces = \nSheetType = 3,1,0,0,999\nSheetSize = 210,297\n"
                              "Fixed = 1,90.50,55.00,999\nFixedHorzPos = 10.50,20.00,0.00,30.00\nFixedVertPos = \n"
                              "FixedDeco = 1,0.00,0.00,10.00,0.00\nFixedDeco = 2,1.00,1.00,2.00,2.00\n\n"
                              "GroupName = B\nCompanyName = \nProductName = \nSheetUse = \nSheetSurfaces = \n"
                              "SheetType = 0,-1,-1,-1,999\nSheetSize = \n\n"));
    EXPECT_TRUE(m_box.Texts().empty());
}

TEST_F(Version5WriterTest, FailedQueriesAreWrittenAsTheyComeInTheOrderOfTheLine)
{
    // A free element without positions: "FreePos" queries the horizontal one first.
    const std::string strBlocks = ConvertBlocks("GroupName = A\nSheetType = 0,2,0,0\nFree = 1,10,20\n");
    EXPECT_NE(strBlocks.find("Free = 1,10.00,20.00,999\r\nFreePos = -99.00,-99.00\r\n"), std::string::npos)
        << strBlocks;
    const auto texts = m_box.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].ends_with("CFixedFree::GetHorPos"));
    EXPECT_TRUE(texts[1].ends_with("CFixedFree::GetVerPos"));
}

TEST_F(Version5WriterTest, DiscLabelIsWrittenAsTypeThreeWithItsCaliber)
{
    EXPECT_EQ(ConvertBlocks(DiscSheet("1,116,116", "1,37.5,37.5,78.5,78.5")),
              Crlf("GroupName = CD\nCompanyName = \nProductName = \nSheetUse = \nSheetSurfaces = \n"
                   "SheetType = 0,1,0,0,999\nSheetSize = \n"
                   "Fixed = 3,116.00,116.00,999\nFixedHorzPos = 5.00\nFixedVertPos = 6.00\nCDCaliber = 41.00\n\n"));
    // Moved 1.5 mm to the right, or too narrow: an ordinary element.
    const std::string strMoved = ConvertBlocks(DiscSheet("1,116,116", "1,39,37.5,80,78.5"));
    EXPECT_NE(strMoved.find("Fixed = 1,116.00,116.00,999\r\n"), std::string::npos) << strMoved;
    EXPECT_NE(strMoved.find("FixedDeco = 1,39.00,37.50,80.00,78.50\r\n"), std::string::npos) << strMoved;
    EXPECT_EQ(strMoved.find("CDCaliber"), std::string::npos);
    const std::string strNarrow = ConvertBlocks(DiscSheet("1,114.9,116", "1,37.5,37.5,78.5,78.5"));
    EXPECT_NE(strNarrow.find("Fixed = 1,114.90,116.00,999\r\n"), std::string::npos) << strNarrow;
    EXPECT_EQ(strNarrow.find("CDCaliber"), std::string::npos);

    // Free elements follow the same rule.
    const std::string strFree = ConvertBlocks(
        "GroupName = F\nSheetType = 0,2,0,0\nFree = 1,116,116\nFreePos = 1,2\n"
        "FreeDeco = 1,37.5,37.5,78.5,78.5\n");
    EXPECT_NE(strFree.find("Free = 3,116.00,116.00,999\r\nFreePos = 1.00,2.00\r\nCDCaliber = 41.00\r\n\r\n"),
              std::string::npos)
        << strFree;
    EXPECT_TRUE(m_box.Texts().empty());
}

namespace {

/// The caliber of a version-3/4 fixed element built from its value texts.
double Caliber(const std::string& strFixed, const std::string& strDeco, const std::string& strDeco2 = "")
{
    CSheet sheet(1);
    sheet.ParseSheetType("0,1,0,0");
    sheet.ParseFixed(strFixed);
    sheet.ParseFixedDeco(strDeco);
    if (!strDeco2.empty())
        sheet.ParseFixedDeco(strDeco2);
    const double dCaliber = GetDiscLabelCaliber(sheet, 0);
    sheet.Free();
    return dCaliber;
}

}  // namespace

TEST(DiscLabelTest, EveryBoundIsInclusiveAndJustBeyondItIsNotADisc)
{
    CScriptedMessageBox box;
    // Disc size: 115 and 117 each way, differing by at most 1.
    EXPECT_DOUBLE_EQ(Caliber("1,115,115", "1,37,37,78,78"), 41.0);
    EXPECT_DOUBLE_EQ(Caliber("1,117,117", "1,38,38,79,79"), 41.0);
    EXPECT_DOUBLE_EQ(Caliber("1,115,116", "1,37,37.5,78,78.5"), 41.0);
    EXPECT_DOUBLE_EQ(Caliber("1,114.99,115", "1,37,37,78,78"), 0.0);
    EXPECT_DOUBLE_EQ(Caliber("1,117,117.01", "1,38,38,79,79"), 0.0);
    EXPECT_DOUBLE_EQ(Caliber("1,115,116.25", "1,37,37.5,78,78.5"), 0.0);
    // Hole: 40 and 42 each way, differing by at most 1; start and end may be swapped.
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,38,38,78,78"), 40.0);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,79,79,37,37"), 42.0);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,38,37.5,78,78.5"), 40.5);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,38.01,38.01,77.99,77.99"), 0.0);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,36.99,36.99,79.01,79.01"), 0.0);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,38,37.25,78,78.75"), 0.0);
    // Centred within 1 mm each way.
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,38.5,37.5,79.5,78.5"), 41.0);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,37.5,36.5,78.5,77.5"), 41.0);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,38.75,37.5,79.75,78.5"), 0.0);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,37.5,36.25,78.5,77.25"), 0.0);
    // The mean is rounded to one decimal: 40.46 becomes 40.5.
    EXPECT_EQ(FormatReal(Caliber("1,116,116", "1,37.77,37.77,78.23,78.23"), 2), "40.50");
    // Element type, decoration count and decoration type must all be 1.
    EXPECT_DOUBLE_EQ(Caliber("0,116,116", "1,37.5,37.5,78.5,78.5"), 0.0);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "2,37.5,37.5,78.5,78.5"), 0.0);
    EXPECT_DOUBLE_EQ(Caliber("1,116,116", "1,37.5,37.5,78.5,78.5", "0,0,0,0,0"), 0.0);
    EXPECT_TRUE(box.Texts().empty());
}

TEST_F(Version5WriterTest, NoSheetWritesNoFileAndLeavesAnExistingOneAlone)
{
    const std::string strOut = m_folder.File("USER.YLI");
    EXPECT_EQ(m_doc.WriteVersion5File(strOut), 1);
    EXPECT_FALSE(FileExists(strOut));
    WriteWholeFile(strOut, "old");
    EXPECT_EQ(m_doc.WriteVersion5File(strOut), 1);
    EXPECT_EQ(ReadWholeFile(strOut), "old");
    EXPECT_TRUE(m_box.Texts().empty());
}
