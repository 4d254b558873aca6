#include "formats/LineSyntax.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

/// Splits the chunks in order and returns the lines delivered.
Lines Split(const Lines& chunks)
{
    Lines lines;
    CLineSplitter splitter([&lines](std::string_view line) { lines.emplace_back(line); });
    for (const std::string& strChunk : chunks)
        splitter.Feed(strChunk);
    splitter.Finish();
    return lines;
}

}  // namespace

TEST(LineSplitterTest, LineEndsChunkBoundariesAndOverlongLines)
{
    EXPECT_EQ(Split({"a=1\r\nb=2\r\n"}), (Lines{"a=1", "b=2"}));
    EXPECT_EQ(Split({"a=1\nb=2\n"}), (Lines{"a=1", "b=2"}));
    EXPECT_EQ(Split({"a=1\rb=2"}), (Lines{"a=1", "b=2"}));  // the last line needs no line end
    EXPECT_EQ(Split({"a\n\r\x95\x5C"}), (Lines{"a", "", "\x95\x5C"}));
    // A line continues in the next chunk; a CR LF split by a chunk boundary
    // gives one further, empty line.
    EXPECT_EQ(Split({"Group", "Name = A\r", "\nb"}), (Lines{"GroupName = A", "", "b"}));
    // 1023 bytes fit; the rest of a longer line is dropped up to its line end,
    // even across chunks.
    const std::string strHead(1023, 'h');
    EXPECT_EQ(Split({strHead + "\nx"}), (Lines{strHead, "x"}));
    EXPECT_EQ(Split({strHead + "tail\r\nx"}), (Lines{strHead, "x"}));
    EXPECT_EQ(Split({strHead, std::string(3000, 't'), "t\nafter\n"}), (Lines{strHead, "after"}));
}

TEST(RecognizeLineTest, KeysValuesAndTheKeywordsOfEachVersion)
{
    struct SCase {
        const char* pszLine;
        EFileVersion eVersion;
        int nCode;
        const char* pszValue;
    };
    constexpr EFileVersion V2 = EFileVersion::Version2;
    constexpr EFileVersion V34 = EFileVersion::Version34;
    const SCase cases[] = {
        {"GroupName = Card", V2, kLineGroupName, "Card"},
        {"  GROUPNAME=Card", V34, kLineGroupName, "Card"},
        {"Sheet Width = 10", V2, kLineSheetWidth, "10"},
        {"SheetWidth : = 10", V2, kLineSheetWidth, "10"},
        // A double-byte character in the key is skipped whole, even when its
        // trail byte looks like a letter ("\x83\x4E": trail "N").
        {"Group\x83\x4EName = A", V2, kLineGroupName, "A"},
        // Leading blanks and tabs go, everything after them stays.
        {"GroupName =\t \x95\x5C a=b  ", V34, kLineGroupName, "\x95\x5C a=b  "},
        {"SheetSurfaces", V34, kLineSheetSurfaces, ""},
        {"", V2, kLineUnknown, ""},
        {";GroupName = A", V2, kLineComment, ""},
        {" ;GroupName = A", V2, kLineGroupName, "A"},  // only a first-byte ";" is a comment
        {"  \x83\x41 = 5", V2, kLineNoKey, "5"},
        {"GroupNames = 5", V2, kLineUnknown, "5"},
        // Both spellings of the position keywords in version 2, only the long one in 3/4.
        {"FixedHorzPos = 1", V2, kLineFixedHorPos, "1"},
        {"FixedVerPos = 1", V2, kLineFixedVerPos, "1"},
        {"FixedHorPos = 1", V34, kLineUnknown, "1"},
        {"fixedvertpos = 1", V34, kLineFixedVerPos, "1"},
        // Version-2 keywords mean nothing in a version-3/4 file.
        {"SheetName = a", V34, kLineUnknown, "a"},
        {"FreeDecoEndY = 1", V34, kLineUnknown, "1"},
        {"FreeDecoEndY = 1", V2, kLineFreeDecoEndY, "1"},
        {"FreePos = 1", V2, kLineFreePos, "1"},
        {"id = 5.0", V34, kLineId, "5.0"},
        // Letters are gathered eight at a time: keys of 8, 16 and 17 letters,
        // the bytes next to the letters' ranges ("@[`{") skipped, a
        // double-byte character right after the first eight.
        {"FreeDeco=1", V34, kLineFreeDeco, "1"},
        {"sheetorientation = 1", V2, kLineSheetOrientation, "1"},
        {"SheetOrientationX = 1", V2, kLineUnknown, "1"},
        {"Fixed@Hor[zPos`{ = 1", V34, kLineFixedHorPos, "1"},
        {"GroupNam\x83\x4E\x65 = A", V2, kLineGroupName, "A"},  // \x65 is "e"
        {"SheetDeco1 = 1", V34, kLineUnknown, "1"},
    };
    for (const SCase& c : cases) {
        std::string_view value = "stale";
        EXPECT_EQ(RecognizeLine(c.pszLine, c.eVersion, value), c.nCode) << c.pszLine;
        EXPECT_EQ(value, c.pszValue) << c.pszLine;
    }
}

TEST(Version2NumberTest, LeadingDigitsOnlyWithSaturation)
{
    EXPECT_EQ(ReadVersion2Number("120"), 120);
    EXPECT_EQ(ReadVersion2Number("12.5"), 12);
    EXPECT_EQ(ReadVersion2Number("-3"), 0);
    EXPECT_EQ(ReadVersion2Number(""), 0);
    EXPECT_EQ(ReadVersion2Number("2147483648"), INT_MAX);
    EXPECT_EQ(ReadVersion2Number(std::string(300, '9')), INT_MAX);
    EXPECT_EQ(ReadVersion2Number(std::string(300, '0') + "7"), 7);
    EXPECT_DOUBLE_EQ(ReadVersion2Length("2100.5"), 210.0);
}
