#include "frontends/wx/WxFileFilter.h"

#include <gtest/gtest.h>

#include <fnmatch.h>

TEST(FileFilterTest, RunFiltersBecomeWildcardsMatchingAnyCase)
{
    const std::string strLegacy = MakeWxWildcard("Tovi2～4形式(USER.FDF; USER.YLI)|USER.FDF; USER.YLI||");
    EXPECT_EQ(strLegacy,
              "Tovi2～4形式(USER.FDF; USER.YLI)|[Uu][Ss][Ee][Rr].[Ff][Dd][Ff];[Uu][Ss][Ee][Rr].[Yy][Ll][Ii]");
    EXPECT_EQ(MakeWxWildcard("Tovi5形式(USER.YLI)|USER.YLI|"), "Tovi5形式(USER.YLI)|[Uu][Ss][Ee][Rr].[Yy][Ll][Ii]");

    // The patterns match as the names of a case-blind file system would.
    const std::string strPattern = MakeCaseInsensitivePattern("USER.YLI");
    for (const char* pName : {"USER.YLI", "user.yli", "User.Yli"})
        EXPECT_EQ(::fnmatch(strPattern.c_str(), pName, 0), 0) << pName;
    for (const char* pName : {"USER.YLX", "USERXYLI.", "XUSER.YLI", "USER.YLIX"})
        EXPECT_NE(::fnmatch(strPattern.c_str(), pName, 0), 0) << pName;
}

TEST(FileFilterTest, PairsWithoutPatternsAreDroppedAndBlanksRemoved)
{
    EXPECT_EQ(MakeWxWildcard(""), "");
    EXPECT_EQ(MakeWxWildcard("||"), "");
    EXPECT_EQ(MakeWxWildcard("Nothing| ; |"), "");
    // Several pairs; a pair without description is described by its patterns.
    EXPECT_EQ(MakeWxWildcard("Text|*.txt|| *.a ;;*.b |All|*"), "Text|*.[tT][xX][tT]|*.a;*.b|*.[aA];*.[bB]|All|*");
    // A last description without any pattern is no filter.
    EXPECT_EQ(MakeWxWildcard("Text|*.txt|Loose"), "Text|*.[tT][xX][tT]");
}

TEST(FileFilterTest, PatternSyntaxIsKept)
{
    EXPECT_EQ(MakeCaseInsensitivePattern("*?1"), "*?1");
    EXPECT_EQ(MakeCaseInsensitivePattern("[ab]c"), "[ab][cC]");
    EXPECT_EQ(MakeCaseInsensitivePattern("[!]x]y"), "[!]x][yY]");
    EXPECT_EQ(MakeCaseInsensitivePattern("\\*a"), "\\*[aA]");
    EXPECT_EQ(MakeCaseInsensitivePattern("a[bc"), "[aA][bc");
    EXPECT_EQ(MakeCaseInsensitivePattern("形式.x"), "形式.[xX]");
}
