#include "text/Path.h"

#include <gtest/gtest.h>

namespace {

constexpr EPathStyle kPosix = EPathStyle::Posix;
constexpr EPathStyle kWindows = EPathStyle::Windows;

struct SPathCase {
    EPathStyle eStyle;
    const char* pszA;
    const char* pszB;
    const char* pszExpected;
};

TEST(PathTest, JoinKeepsRootsAndNeverDoublesASeparator)
{
    const SPathCase arCases[] = {
        {kPosix, "/", "bin", "/bin"},
        {kPosix, "/usr//", "bin", "/usr/bin"},
        {kPosix, "", "x", "/x"},
        {kWindows, "C:\\", "x", "C:\\x"},
        {kWindows, "C:", "x", "C:x"},
        {kWindows, "C:\\Tools\\\\", "x", "C:\\Tools\\x"},
        {kWindows, "C:/Tools/", "x", "C:/Tools/x"},
        {kWindows, "\\\\srv\\share\\", "x", "\\\\srv\\share\\x"},
        {kWindows, "\\\\?\\C:\\", "x", "\\\\?\\C:\\x"},
    };
    for (const SPathCase& c : arCases)
        EXPECT_EQ(JoinPath(c.pszA, c.pszB, c.eStyle), c.pszExpected) << c.pszA << " + " << c.pszB;
}

TEST(PathTest, FolderOfAPathEndsWithItsLastSeparator)
{
    EXPECT_EQ(FolderOfPath("/a/b.txt", kPosix), "/a/");
    EXPECT_EQ(FolderOfPath("b.txt", kPosix), "");
    EXPECT_EQ(FolderOfPath("a\\b.txt", kPosix), "") << "a backslash is part of a POSIX name";
    EXPECT_EQ(FolderOfPath("C:\\a\\b.txt", kWindows), "C:\\a\\");
    EXPECT_EQ(FolderOfPath("C:\\a/b.txt", kWindows), "C:\\a/");
    EXPECT_EQ(FolderOfPath("C:b.txt", kWindows), "C:");
    EXPECT_EQ(PathRootLength("\\\\srv\\share\\a", kWindows), 12u);
    EXPECT_EQ(PathRootLength("\\a", kWindows), 1u);
    EXPECT_EQ(PathRootLength("a\\b", kWindows), 0u);
}

TEST(PathTest, AbsolutePathsAreLexicallyNormal)
{
    const SPathCase arCases[] = {
        {kPosix, "/tmp/x", ".", "/tmp/x"},
        {kPosix, "/tmp/x", "./old/User.YLI", "/tmp/x/old/User.YLI"},
        {kPosix, "/tmp/x", "old//sub/", "/tmp/x/old/sub"},
        {kPosix, "/tmp/x", "a/../b", "/tmp/x/b"},
        {kPosix, "/tmp/x", "../../..", "/"},
        {kPosix, "/tmp/x", "/", "/"},
        {kPosix, "/tmp/x", "//usr/./share//", "/usr/share"},
        {kPosix, "/", "bin", "/bin"},
        {kPosix, "/tmp/x/", "...", "/tmp/x/..."},
        {kWindows, "C:\\Work", "old\\User.YLI", "C:\\Work\\old\\User.YLI"},
        {kWindows, "C:\\Work", "..\\..\\..", "C:\\"},
        {kWindows, "C:\\Work", "D:\\a/b\\", "D:\\a\\b"},
        {kWindows, "C:\\Work", "d:/", "d:\\"},
        {kWindows, "C:\\Work", "\\Top", "C:\\Top"},
        {kWindows, "C:\\Work", "c:sub", "C:\\Work\\sub"},
        {kWindows, "C:\\Work", "D:sub", "D:\\sub"},
        {kWindows, "C:\\", ".", "C:\\"},
        {kWindows, "C:\\Work", "\\\\srv\\share\\a\\..\\b", "\\\\srv\\share\\b"},
    };
    for (const SPathCase& c : arCases)
        EXPECT_EQ(MakeAbsolutePath(c.pszA, c.pszB, c.eStyle), c.pszExpected) << c.pszA << " | " << c.pszB;
}

}  // namespace
