// One suite for the scripted file system of the run's tests and the real one
// of the system the build is for: the double may only do what the real one
// does.

#include "system/FileSystem.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/ScriptedFrontEnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <ostream>

namespace {

/// A file system under test with a tree of its own below Root().
class CTreeUnderTest {
public:
    virtual ~CTreeUnderTest() = default;
    virtual CFileSystem& FileSystem() = 0;
    virtual std::string Root() = 0;
    virtual void AddFile(const std::string& strRelative) = 0;
    virtual void AddFolder(const std::string& strRelative) = 0;
    std::string Path(const std::string& strRelative)
    {
        return JoinPath(Root(), strRelative, FileSystem().GetPathStyle());
    }
};

class CScriptedTree : public CTreeUnderTest {
public:
    CFileSystem& FileSystem() override { return m_fs; }
    std::string Root() override { return "/t"; }
    void AddFile(const std::string& strRelative) override { m_fs.AddFile("/t/" + strRelative); }
    void AddFolder(const std::string& strRelative) override { m_fs.AddFolder("/t/" + strRelative); }

private:
    CScriptedFileSystem m_fs;
};

class CRealTree : public CTreeUnderTest {
public:
    CFileSystem& FileSystem() override { return *m_pFs; }
    std::string Root() override { return m_folder.Path(); }
    void AddFile(const std::string& strRelative) override
    {
        std::filesystem::create_directories(std::filesystem::path(m_folder.File(strRelative)).parent_path());
        WriteWholeFile(m_folder.File(strRelative), "x");
    }
    void AddFolder(const std::string& strRelative) override
    {
        std::filesystem::create_directories(m_folder.File(strRelative));
    }

private:
    CTempFolder m_folder;
    std::unique_ptr<CFileSystem> m_pFs = CreateFileSystem({});
};

/// A kind of tree the suite runs on; printed by its name, so that the tests
/// keep their names from run to run.
struct STreeKind {
    const char* pName;
    std::unique_ptr<CTreeUnderTest> (*pfnMake)();
};

void PrintTo(const STreeKind& kind, std::ostream* pOut)
{
    *pOut << kind.pName;
}

class FileSystemConformanceTest : public ::testing::TestWithParam<STreeKind> {
protected:
    void SetUp() override
    {
        m_pTree = GetParam().pfnMake();
        m_strSavedDir = Fs().GetCurrentDir();
        m_pTree->AddFile("Dir/user.yli");
        m_pTree->AddFolder("Dir/USER.FDF");
        m_pTree->AddFolder("Dir/Sub");
        m_pTree->AddFile("Top.txt");
    }
    void TearDown() override { Fs().SetCurrentDir(m_strSavedDir); }

    CFileSystem& Fs() { return m_pTree->FileSystem(); }
    std::string Path(const std::string& strRelative) { return m_pTree->Path(strRelative); }

    /// The entries of an open folder, sorted, "." and ".." left out; a
    /// folder's name ends with "/".
    std::vector<std::string> List(int nFolder)
    {
        CFolderEntries entries;
        EXPECT_TRUE(Fs().ReadFolder(nFolder, entries));
        std::vector<std::string> arNames;
        for (size_t i = 0; i < entries.Size(); ++i) {
            const std::string strName(entries.Name(i));
            if (strName != "." && strName != "..")
                arNames.push_back(strName + (entries.IsFolder(i) ? "/" : ""));
        }
        std::sort(arNames.begin(), arNames.end());
        return arNames;
    }

    std::unique_ptr<CTreeUnderTest> m_pTree;
    std::string m_strSavedDir;
};

TEST_P(FileSystemConformanceTest, FindFileMatchesTheFileNameIgnoringCaseAndNeverAFolder)
{
    std::string strFound;
    EXPECT_TRUE(Fs().FindFile(Path("Dir/USER.YLI"), strFound));
    EXPECT_EQ(strFound, Path("Dir/user.yli")) << "the stored spelling is kept";
    EXPECT_TRUE(Fs().FindFile(Path("Dir/user.yli"), strFound));
    EXPECT_EQ(strFound, Path("Dir/user.yli"));
    EXPECT_FALSE(Fs().FindFile(Path("Dir/User.FDF"), strFound)) << "a folder is no file";
    EXPECT_FALSE(Fs().FindFile(Path("Dir/Missing.YLI"), strFound));
    EXPECT_FALSE(Fs().FindFile(Path("Nowhere/user.yli"), strFound));
    EXPECT_TRUE(Fs().IsFolder(Path("Dir/USER.FDF")));
    EXPECT_FALSE(Fs().IsFolder(Path("Top.txt")));
    EXPECT_FALSE(Fs().IsFolder(Path("Missing")));
}

TEST_P(FileSystemConformanceTest, ABareNameIsLookedUpInTheCurrentFolder)
{
    ASSERT_TRUE(Fs().SetCurrentDir(Path("Dir")));
    std::string strFound;
    EXPECT_TRUE(Fs().FindFile("User.Yli", strFound));
    EXPECT_EQ(strFound, "user.yli");
    EXPECT_FALSE(Fs().FindFile("Top.txt", strFound));

    // A folder that is not there is refused, and the current one stays.
    const std::string strCurrent = Fs().GetCurrentDir();
    EXPECT_FALSE(Fs().SetCurrentDir(Path("Missing")));
    EXPECT_FALSE(Fs().SetCurrentDir(Path("Top.txt")));
    EXPECT_EQ(Fs().GetCurrentDir(), strCurrent);
}

TEST_P(FileSystemConformanceTest, FoldersListTheirEntriesAndOpenOnlySubfolders)
{
    EXPECT_LT(Fs().OpenRoot(Path("Missing")), 0);
    const int nRoot = Fs().OpenRoot(m_pTree->Root());
    ASSERT_GE(nRoot, 0);
    EXPECT_EQ(List(nRoot), (std::vector<std::string>{"Dir/", "Top.txt"}));
    EXPECT_LT(Fs().OpenSubFolder(nRoot, "Top.txt"), 0);
    EXPECT_LT(Fs().OpenSubFolder(nRoot, "Missing"), 0);
    const int nDir = Fs().OpenSubFolder(nRoot, "Dir");
    ASSERT_GE(nDir, 0);
    EXPECT_EQ(List(nDir), (std::vector<std::string>{"Sub/", "USER.FDF/", "user.yli"}));
    Fs().CloseFolder(nDir);
    Fs().CloseFolder(nRoot);
}

// A link to a folder (a reparse point on Windows) is listed as no folder and
// never opened: the walk cannot loop through it.
TEST(FileSystemLinkTest, ALinkToAFolderIsNoFolderToWalk)
{
    CTempFolder folder;
    std::filesystem::create_directories(folder.File("Dir/Sub"));
    std::error_code error;
    std::filesystem::create_directory_symlink(std::filesystem::path(folder.File("Dir")), folder.File("Dir/Sub/Up"),
                                              error);
    std::string strSub = folder.File("Dir/Sub");
    if (error) {
#ifdef TOVICONV_LINK_TREE
        // Made by the build where the test cannot make links itself (the
        // host's symbolic link, seen through Wine).
        strSub = TOVICONV_LINK_TREE;
#else
        GTEST_SKIP() << "no symbolic links here: " << error.message();
#endif
    }
    const std::unique_ptr<CFileSystem> pFs = CreateFileSystem({});
    const int nRoot = pFs->OpenRoot(strSub);
    ASSERT_GE(nRoot, 0);
    CFolderEntries entries;
    ASSERT_TRUE(pFs->ReadFolder(nRoot, entries));
    bool bListed = false;
    for (size_t i = 0; i < entries.Size(); ++i) {
        if (entries.Name(i) == "Up") {
            bListed = true;
            EXPECT_FALSE(entries.IsFolder(i));
        }
    }
    EXPECT_TRUE(bListed);
    EXPECT_LT(pFs->OpenSubFolder(nRoot, "Up"), 0);
    pFs->CloseFolder(nRoot);
}

INSTANTIATE_TEST_SUITE_P(Scripted, FileSystemConformanceTest,
                         ::testing::Values(STreeKind{"Scripted", [] {
                                                         return std::unique_ptr<CTreeUnderTest>(
                                                             std::make_unique<CScriptedTree>());
                                                     }}));
INSTANTIATE_TEST_SUITE_P(Real, FileSystemConformanceTest,
                         ::testing::Values(STreeKind{
                             "Real", [] { return std::unique_ptr<CTreeUnderTest>(std::make_unique<CRealTree>()); }}));

}  // namespace
