#include "formats/LineSyntax.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

/// Splits the chunks in order and returns the lines delivered.
std::vector<std::string> Split(const std::vector<std::string>& chunks)
{
    std::vector<std::string> lines;
    CLineSplitter splitter([&lines](std::string_view line) { lines.emplace_back(line); });
    for (const std::string& strChunk : chunks)
        splitter.Feed(strChunk);
    splitter.Finish();
    return lines;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(LineSplitterTest, EveryLineEndStyleEndsOneLine)
{
    EXPECT_EQ(Split({"a=1\r\nb=2\r\n"}), (Lines{"a=1", "b=2"}));
    EXPECT_EQ(Split({"a=1\nb=2\n"}), (Lines{"a=1", "b=2"}));
    EXPECT_EQ(Split({"a=1\rb=2\r"}), (Lines{"a=1", "b=2"}));
    // LF CR is two line ends; empty lines are delivered (recognition ignores them).
    EXPECT_EQ(Split({"a\n\rb"}), (Lines{"a", "", "b"}));
    EXPECT_EQ(Split({"a\r\n\r\nb"}), (Lines{"a", "", "b"}));
    // The last line without a line end is still delivered; nothing for an empty stream.
    EXPECT_EQ(Split({"a\r\nlast"}), (Lines{"a", "last"}));
    EXPECT_EQ(Split({""}), Lines{});
    // Double-byte characters (trail bytes included) are plain line bytes.
    EXPECT_EQ(Split({"\x95\x5C\x83\x41\r\n"}), (Lines{"\x95\x5C\x83\x41"}));
}

TEST(LineSplitterTest, LinesSpanChunksAndCrLfSplitByAChunkGivesOneEmptyLine)
{
    // A line continues in the next chunk.
    EXPECT_EQ(Split({"Group", "Name = A\r\n"}), (Lines{"GroupName = A"}));
    // CR closing one chunk, LF opening the next: the extra line is empty.
    EXPECT_EQ(Split({"a=1\r", "\nb=2"}), (Lines{"a=1", "", "b=2"}));
    // At the real chunk size.
    std::string strFirst(CLineSplitter::kChunkSize - 1, 'x');
    strFirst += '\r';
    EXPECT_EQ(Split({strFirst, "\nb"}), (Lines{std::string(CLineSplitter::kChunkSize - 1, 'x'), "", "b"}));
}

TEST(LineSplitterTest, OverlongLineKeepsItsFirst1023BytesAndDropsTheRest)
{
    const std::string strHead(1023, 'h');
    EXPECT_EQ(Split({strHead + "TAIL\r\nnext"}), (Lines{strHead, "next"}));
    // The dropped rest may span chunks; the following line is intact.
    EXPECT_EQ(Split({strHead, std::string(3000, 't'), "t\nafter\n"}), (Lines{strHead, "after"}));
    // Exactly 1023 bytes fit whole.
    EXPECT_EQ(Split({std::string(1022, 'y') + "z\n"}), (Lines{std::string(1022, 'y') + "z"}));
}

TEST(RecognizeLineTest, KeyIsBuiltFromLettersAndDigitsBeforeTheFirstEqualsSign)
{
    std::string strValue;
    EXPECT_EQ(RecognizeLine("GroupName = Card", EFileVersion::Version2, strValue), kLineGroupName);
    EXPECT_EQ(strValue, "Card");
    EXPECT_EQ(RecognizeLine("groupname=Card", EFileVersion::Version34, strValue), kLineGroupName);
    EXPECT_EQ(RecognizeLine("  GROUPNAME  = Card", EFileVersion::Version2, strValue), kLineGroupName);
    EXPECT_EQ(RecognizeLine("Sheet Width = 10", EFileVersion::Version2, strValue), kLineSheetWidth);
    EXPECT_EQ(RecognizeLine("SheetWidth : = 10", EFileVersion::Version2, strValue), kLineSheetWidth);
    EXPECT_EQ(strValue, "10");
    // A double-byte character inside the key is skipped whole, even when its
    // trail byte looks like a letter ("\x83\x4E": trail "N").
    EXPECT_EQ(RecognizeLine("Group\x83\x4EName = A", EFileVersion::Version2, strValue), kLineGroupName);
    EXPECT_EQ(RecognizeLine("\x83\x41ID = 5", EFileVersion::Version34, strValue), kLineId);
    // Only the first "=" separates; later ones belong to the value.
    EXPECT_EQ(RecognizeLine("ProductName = a=b", EFileVersion::Version34, strValue), kLineProductName);
    EXPECT_EQ(strValue, "a=b");
}

TEST(RecognizeLineTest, ValueLosesLeadingBlanksAndTabsAndKeepsEverythingElse)
{
    std::string strValue;
    EXPECT_EQ(RecognizeLine("GroupName =\t  \tCard  ", EFileVersion::Version34, strValue), kLineGroupName);
    EXPECT_EQ(strValue, "Card  ");
    EXPECT_EQ(RecognizeLine("GroupName = \x95\x5C\x8E\x86 ", EFileVersion::Version34, strValue), kLineGroupName);
    EXPECT_EQ(strValue, "\x95\x5C\x8E\x86 ");
    // No "=": the whole line is the key and the value is empty.
    EXPECT_EQ(RecognizeLine("SheetSurfaces", EFileVersion::Version34, strValue), kLineSheetSurfaces);
    EXPECT_EQ(strValue, "");
    EXPECT_EQ(RecognizeLine("SheetSurfaces =", EFileVersion::Version34, strValue), kLineSheetSurfaces);
    EXPECT_EQ(strValue, "");
}

TEST(RecognizeLineTest, CommentsEmptyLinesMissingAndUnknownKeys)
{
    std::string strValue = "stale";
    EXPECT_EQ(RecognizeLine("", EFileVersion::Version2, strValue), kLineUnknown);
    EXPECT_EQ(strValue, "");
    EXPECT_EQ(RecognizeLine(";GroupName = A", EFileVersion::Version2, strValue), kLineComment);
    // Only a ";" in the first byte makes a comment.
    EXPECT_EQ(RecognizeLine(" ;GroupName = A", EFileVersion::Version2, strValue), kLineGroupName);
    EXPECT_EQ(RecognizeLine("= 5", EFileVersion::Version2, strValue), kLineNoKey);
    EXPECT_EQ(RecognizeLine("  \x83\x41 = 5", EFileVersion::Version2, strValue), kLineNoKey);
    EXPECT_EQ(RecognizeLine("Nonsense = 5", EFileVersion::Version2, strValue), kLineUnknown);
    EXPECT_EQ(RecognizeLine("GroupNames = 5", EFileVersion::Version2, strValue), kLineUnknown);
}

TEST(RecognizeLineTest, EachVersionKnowsItsOwnKeywords)
{
    std::string strValue;
    // Both spellings of the position keywords in version 2, only the long one in 3/4.
    EXPECT_EQ(RecognizeLine("FixedHorPos = 1", EFileVersion::Version2, strValue), kLineFixedHorPos);
    EXPECT_EQ(RecognizeLine("FixedHorzPos = 1", EFileVersion::Version2, strValue), kLineFixedHorPos);
    EXPECT_EQ(RecognizeLine("FixedVerPos = 1", EFileVersion::Version2, strValue), kLineFixedVerPos);
    EXPECT_EQ(RecognizeLine("FixedVertPos = 1", EFileVersion::Version2, strValue), kLineFixedVerPos);
    EXPECT_EQ(RecognizeLine("FixedHorPos = 1", EFileVersion::Version34, strValue), kLineUnknown);
    EXPECT_EQ(RecognizeLine("FixedHorzPos = 1", EFileVersion::Version34, strValue), kLineFixedHorPos);
    EXPECT_EQ(RecognizeLine("FixedVertPos = 1", EFileVersion::Version34, strValue), kLineFixedVerPos);
    // Version-2 keywords mean nothing in a version-3/4 file.
    for (const char* pszLine : {"SheetName = a", "SheetWidth = 1", "FixedNo = 1", "FreeDecoEndY = 1", "LabelNumber = 1"})
        EXPECT_EQ(RecognizeLine(pszLine, EFileVersion::Version34, strValue), kLineUnknown) << pszLine;
    EXPECT_EQ(RecognizeLine("FreeDecoEndY = 1", EFileVersion::Version2, strValue), kLineFreeDecoEndY);
    EXPECT_EQ(RecognizeLine("LabelNumber = 1", EFileVersion::Version2, strValue), kLineLabelNumber);
    // The version-5 layout keywords are known to both.
    EXPECT_EQ(RecognizeLine("Free = 1", EFileVersion::Version2, strValue), kLineFree);
    EXPECT_EQ(RecognizeLine("FreePos = 1", EFileVersion::Version34, strValue), kLineFreePos);
    EXPECT_EQ(RecognizeLine("id = 5.0", EFileVersion::Version34, strValue), kLineId);
}

TEST(Version2NumberTest, LeadingDigitsOnlyWithSaturation)
{
    EXPECT_EQ(ReadVersion2Number("120"), 120);
    EXPECT_EQ(ReadVersion2Number("12.5"), 12);
    EXPECT_EQ(ReadVersion2Number("-3"), 0);
    EXPECT_EQ(ReadVersion2Number(""), 0);
    EXPECT_EQ(ReadVersion2Number("x12"), 0);
    EXPECT_EQ(ReadVersion2Number("2147483647"), INT_MAX);
    EXPECT_EQ(ReadVersion2Number("2147483648"), INT_MAX);
    EXPECT_EQ(ReadVersion2Number(std::string(300, '9')), INT_MAX);
    EXPECT_EQ(ReadVersion2Number(std::string(300, '0') + "7"), 7);
    EXPECT_DOUBLE_EQ(ReadVersion2Length("2100"), 210.0);
    EXPECT_DOUBLE_EQ(ReadVersion2Length("2100.5"), 210.0);
    EXPECT_DOUBLE_EQ(ReadVersion2Length("-5"), 0.0);
}
