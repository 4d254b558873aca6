// The POSIX file system: the search roots (given ones and those read from
// the mount table) and file look-ups that ignore the case of the name.

#include "system/posix/FileSystem.h"
#include "tests/support/FileTestSupport.h"
#include "text/Path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {
using Texts = std::vector<std::string>;

/// A temporary folder whose files and folders are named by relative paths.
class CTempTree {
public:
    std::string Path(const std::string& strRelative) const { return m_folder.File(strRelative); }
    void File(const std::string& strRelative) const
    {
        std::filesystem::create_directories(std::filesystem::path(Path(strRelative)).parent_path());
        WriteWholeFile(Path(strRelative), "");
    }
    void Folder(const std::string& strRelative) const { std::filesystem::create_directories(Path(strRelative)); }

private:
    CTempFolder m_folder;
};

TEST(FileSystemTest, GivenRootsAreMadeAbsoluteAndLexicallyNormal)
{
    CPosixFileSystem fileSystem({".", "/tmp/./", "/", "sub/..//", ""});
    const std::string strCurrent = fileSystem.GetCurrentDir();
    EXPECT_EQ(fileSystem.GetSearchRoots(), (Texts{strCurrent, "/tmp", "/", strCurrent, ""}));
}

TEST(FileSystemTest, FindFileMatchesTheLastComponentIgnoringCase)
{
    CTempTree tree;
    tree.File("Dir/user.yli");
    tree.Folder("Dir/USER.FDF");
    CPosixFileSystem fileSystem;
    std::string strFound;

    EXPECT_TRUE(fileSystem.FindFile(tree.Path("Dir/USER.YLI"), strFound));
    EXPECT_EQ(strFound, tree.Path("Dir/user.yli"));
    EXPECT_TRUE(fileSystem.FindFile(tree.Path("Dir/user.yli"), strFound));
    EXPECT_EQ(strFound, tree.Path("Dir/user.yli"));
    // A folder is no file; folders in the path keep their case.
    EXPECT_FALSE(fileSystem.FindFile(tree.Path("Dir/User.FDF"), strFound));
    EXPECT_FALSE(fileSystem.FindFile(tree.Path("dir/user.yli"), strFound));
    EXPECT_FALSE(fileSystem.FindFile(tree.Path("Dir/"), strFound));
    EXPECT_TRUE(fileSystem.IsFolder(tree.Path("Dir/USER.FDF")));

    // An exact match is preferred to another spelling.
    tree.File("Dir/USER.YLI");
    EXPECT_TRUE(fileSystem.FindFile(tree.Path("Dir/USER.YLI"), strFound));
    EXPECT_EQ(strFound, tree.Path("Dir/USER.YLI"));

    // A relative path is looked up from the current directory.
    const std::string strSaved = fileSystem.GetCurrentDir();
    ASSERT_TRUE(fileSystem.SetCurrentDir(tree.Path("Dir")));
    EXPECT_TRUE(fileSystem.FindFile("User.Yli", strFound));
    EXPECT_TRUE(strFound == "user.yli" || strFound == "USER.YLI") << strFound;
    EXPECT_TRUE(fileSystem.SetCurrentDir(strSaved));
}

TEST(FileSystemTest, SearchRootsAreDiskFileSystemsRootFirst)
{
    const std::string strMountInfo =
        "22 27 0:21 / /proc rw - proc proc rw\n"
        "27 1 254:0 / / rw - ext4 /dev/vda rw\n"
        "30 27 8:1 / /media/my\\040disk rw - vfat /dev/sdb1 rw\n"
        "31 27 8:2 / /home rw shared:5 - ext4 /dev/sda2 rw\n"
        "32 27 0:30 / /run rw - tmpfs tmpfs rw\n"
        "33 27 0:31 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
        "34 27 8:2 / /home rw - ext4 /dev/sda2 rw\n"
        "garbage line\n";
    EXPECT_EQ(ParseSearchRoots(strMountInfo), (Texts{"/", "/home", "/media/my disk"}));

    std::string strMany;
    for (int i = 0; i < 40; ++i)
        strMany += "1 1 8:1 / /m" + std::to_string(100 + i) + " rw - xfs /dev/x rw\n";
    const Texts arRoots = ParseSearchRoots(strMany);
    ASSERT_EQ(arRoots.size(), 26u);
    EXPECT_EQ(arRoots[0], "/");
    EXPECT_EQ(arRoots[1], "/m100");

    // Given roots replace the list; relative ones start at the current directory.
    CPosixFileSystem given({"/srv/a", "rel"});
    EXPECT_EQ(given.GetSearchRoots(), (Texts{"/srv/a", JoinPath(given.GetCurrentDir(), "rel")}));
}

}  // namespace
