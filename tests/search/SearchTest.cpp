// The installation search on real folder trees.

#include "tests/app/RecordingDoc.h"
#include "tests/search/WalkReference.h"
#include "tests/support/ScriptedFrontEnd.h"

#include "app/ConverterApp.h"
#include "app/ProgressDlg.h"
#include "system/posix/FileSystem.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <pthread.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
using Texts = std::vector<std::string>;

class CTempTree {
public:
    /// In strBase, /tmp unless given (a memory file system such as /dev/shm
    /// makes and removes many folders faster).
    explicit CTempTree(const char* pBase = "/tmp")
    {
        std::string strTemplate = std::string(pBase) + "/toviconv-search-XXXXXX";
        if (!::mkdtemp(strTemplate.data())) {
            strTemplate = "/tmp/toviconv-search-XXXXXX";
            ::mkdtemp(strTemplate.data());
        }
        m_strRoot = strTemplate;
        ::chmod(m_strRoot.c_str(), 0755);
    }
    ~CTempTree()
    {
        std::error_code error;
        for (auto& entry : std::filesystem::recursive_directory_iterator(m_strRoot, error))
            ::chmod(entry.path().c_str(), 0755);
        std::filesystem::remove_all(m_strRoot, error);
    }
    CTempTree(const CTempTree&) = delete;
    CTempTree& operator=(const CTempTree&) = delete;

    std::string Path(const std::string& strRelative) const { return m_strRoot + "/" + strRelative; }
    void File(const std::string& strRelative) const
    {
        std::filesystem::create_directories(std::filesystem::path(Path(strRelative)).parent_path());
        ::close(::open(Path(strRelative).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
    void Folder(const std::string& strRelative) const { std::filesystem::create_directories(Path(strRelative)); }
    const std::string& Root() const { return m_strRoot; }

private:
    std::string m_strRoot;
};

/// Names of a folder in the order the system lists them.
std::vector<std::pair<std::string, bool>> ListInOrder(const std::string& strFolder)
{
    std::vector<std::pair<std::string, bool>> arEntries;
    DIR* pDir = ::opendir(strFolder.c_str());
    if (!pDir)
        return arEntries;
    while (dirent* pEntry = ::readdir(pDir))
        arEntries.emplace_back(pEntry->d_name, pEntry->d_type == DT_DIR);
    ::closedir(pDir);
    return arEntries;
}

/// The files a complete walk shows, and the entries it counts, found
/// independently: files of a folder first, then its subfolders, depth first.
void ReferenceWalk(const std::string& strFolder, Texts& arFiles, unsigned& nEntries)
{
    const auto arEntries = ListInOrder(strFolder);
    nEntries += static_cast<unsigned>(arEntries.size());
    for (const auto& [strName, bFolder] : arEntries) {
        if (!bFolder)
            arFiles.push_back(strFolder + "/" + strName);
    }
    for (const auto& [strName, bFolder] : arEntries) {
        if (bFolder && strName != "." && strName != "..")
            ReferenceWalk(strFolder + "/" + strName, arFiles, nEntries);
    }
}

/// Makes a chain of nDepth folders "d" below strFolder with the file
/// strFile at its bottom, never holding more than two folders open.
void MakeChain(const std::string& strFolder, int nDepth, const char* pFile)
{
    int nFd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int i = 0; i < nDepth && nFd >= 0; ++i) {
        ::mkdirat(nFd, "d", 0755);
        const int nSub = ::openat(nFd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(nFd);
        nFd = nSub;
    }
    ::close(::openat(nFd, pFile, O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    ::close(nFd);
}

/// Removes such a chain, deepest first.
void RemoveChain(const std::string& strFolder, const char* pFile)
{
    int nFd = ::open(strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int nDepth = 0;
    for (int nSub; (nSub = ::openat(nFd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) >= 0; ++nDepth) {
        ::close(nFd);
        nFd = nSub;
    }
    ::unlinkat(nFd, pFile, 0);
    for (; nDepth > 0; --nDepth) {
        const int nParent = ::openat(nFd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(nFd);
        ::unlinkat(nParent, "d", AT_REMOVEDIR);
        nFd = nParent;
    }
    ::close(nFd);
}

class SearchTest : public ::testing::Test {
protected:
    SearchTest() : m_app(m_fs, m_dialogs, MakeRecordingDoc(m_doc)), m_dlg(m_dialogs.CreateProgressView())
    {
        m_dlg.Create();
    }

    std::string Search(int bOldFound = 0, int bNewFound = 0)
    {
        m_strNew.clear();
        return m_app.SearchRoot(m_tree.Root(), m_dlg, m_strNew, bOldFound, bNewFound);
    }

    /// Searches strRoot for the version-5 executable only, with the openat2
    /// walk or its fallback; the files shown go to pStatus.
    static std::string FindVersion5(bool bNoOpenAt2, const std::string& strRoot,
                                    std::vector<std::string>* pStatus = nullptr)
    {
        CPosixFileSystem fileSystem;
        fileSystem.UseFallbacks(bNoOpenAt2, false);
        CScriptedFrontEnd dialogs;
        SDocLog doc;
        CConverterApp app(fileSystem, dialogs, MakeRecordingDoc(doc));
        CProgressDlg dlg(dialogs.CreateProgressView());
        dlg.Create();
        std::string strNew;
        app.SearchRoot(strRoot, dlg, strNew, 1, 0);
        if (pStatus)
            *pStatus = dialogs.m_progress.arStatus;
        return strNew;
    }

    /// Runs check in a child process with a mount namespace of its own, so
    /// that what mount() mounts vanishes with it. Returns the child's exit
    /// code (check's result), or -1 when such mounts are not possible here.
    static int RunWithOwnMounts(const std::function<bool()>& mount, const std::function<int()>& check)
    {
        const int nStatus = ChildWaitStatus([&] {
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                !mount())
                return 100;
            return check();
        });
        if (nStatus == -1)
            return -1;
        if (!WIFEXITED(nStatus))
            return 101;
        return WEXITSTATUS(nStatus) == 100 ? -1 : WEXITSTATUS(nStatus);
    }

    CTempTree m_tree;
    CPosixFileSystem m_fs;
    CScriptedFrontEnd m_dialogs;
    SDocLog m_doc;
    CConverterApp m_app;
    CProgressDlg m_dlg;
    std::string m_strNew;
};

TEST_F(SearchTest, WalksDepthFirstFilesBeforeSubfoldersAndCountsEveryEntry)
{
    m_tree.File("top.txt");
    m_tree.File("a/one.txt");
    m_tree.File("a/deep/two.txt");
    m_tree.File("b/three.txt");
    m_tree.File("b/four.txt");
    m_tree.Folder("c/empty");
    m_tree.Folder("Tovi5.exe");  // a folder is never taken for the executable
    m_tree.File("z.txt");

    EXPECT_EQ(Search(), "");
    EXPECT_EQ(m_strNew, "");
    Texts arExpected;
    unsigned nEntries = 0;
    ReferenceWalk(m_tree.Root(), arExpected, nEntries);
    EXPECT_EQ(m_dialogs.m_progress.arStatus, arExpected);
    EXPECT_EQ(m_app.m_nEntryCount, nEntries);
    EXPECT_EQ(arExpected.size(), 6u);
}

TEST_F(SearchTest, MatchesNamesIgnoringCaseAndKeepsTheirSpelling)
{
    m_tree.File("Tools/Old/TOVI3.EXE");
    m_tree.File("Tools/Old/user.yli");
    m_tree.File("Tools/New/tovi5.EXE");
    m_tree.File("Only/User.YLI");  // a data file without its executable is no installation

    EXPECT_EQ(Search(), m_tree.Path("Tools/Old/user.yli"));
    EXPECT_EQ(m_strNew, m_tree.Path("Tools/New/tovi5.EXE"));

    // An old installation found before is not looked for again.
    EXPECT_EQ(Search(1, 0), "");
    EXPECT_EQ(m_strNew, m_tree.Path("Tools/New/tovi5.EXE"));
}

TEST_F(SearchTest, FirstListedFileOfTwoCompletePairsDecides)
{
    for (const char* pName : {"Tovipri.exe", "User.FDF", "Tovi3.exe", "User.YLI"})
        m_tree.File(std::string("Both/") + pName);
    std::string strExpected;
    for (const auto& [strName, bFolder] : ListInOrder(m_tree.Path("Both"))) {
        if (bFolder)
            continue;
        strExpected =
            m_tree.Path("Both/") + (strName == "Tovipri.exe" || strName == "User.FDF" ? "User.FDF" : "User.YLI");
        break;
    }
    EXPECT_EQ(Search(), strExpected);
}

TEST_F(SearchTest, BothInOneFolderStopsTheListingAndItsSubfolders)
{
    m_tree.File("Here/Tovi4.exe");
    m_tree.File("Here/User.YLI");
    m_tree.File("Here/Tovi5.exe");
    m_tree.File("Here/Sub/never.txt");

    EXPECT_EQ(Search(), m_tree.Path("Here/User.YLI"));
    EXPECT_EQ(m_strNew, m_tree.Path("Here/Tovi5.exe"));
    for (const std::string& strShown : m_dialogs.m_progress.arStatus)
        EXPECT_EQ(strShown.find("never.txt"), std::string::npos);
}

TEST_F(SearchTest, SymbolicLinksAreNeverFollowedIntoFolders)
{
    CTempTree outside;
    outside.File("New/Tovi5.exe");
    outside.File("Old/Tovi3.exe");
    outside.File("Old/User.YLI");
    m_tree.File("a/b/file.txt");
    ASSERT_EQ(::symlink("..", m_tree.Path("a/b/up").c_str()), 0);
    ASSERT_EQ(::symlink(outside.Path("Old").c_str(), m_tree.Path("a/old").c_str()), 0);
    ASSERT_EQ(::symlink(outside.Path("New/Tovi5.exe").c_str(), m_tree.Path("a/b/Tovi5.exe").c_str()), 0);

    // The loop ends, the linked folder is not entered, a link to a file is a file.
    EXPECT_EQ(Search(), "");
    EXPECT_EQ(m_strNew, m_tree.Path("a/b/Tovi5.exe"));
    Texts arExpected;
    unsigned nEntries = 0;
    ReferenceWalk(m_tree.Root(), arExpected, nEntries);
    m_dialogs.m_progress.arStatus.clear();
    m_app.m_nEntryCount = 0;
    Search(0, 1);
    EXPECT_EQ(m_dialogs.m_progress.arStatus, arExpected);
    EXPECT_EQ(m_app.m_nEntryCount, nEntries);
}

TEST_F(SearchTest, CancelEndsEveryLevelWithAnEmptyResult)
{
    m_tree.File("a/Tovi5.exe");
    m_tree.File("a/b/c/file.txt");
    m_tree.File("a/b/c/d/Tovi3.exe");
    m_tree.File("a/b/c/d/User.YLI");
    m_dialogs.m_progress.cancelAtStatus = {m_tree.Path("a/b/c/file.txt")};

    EXPECT_EQ(Search(), "");
    EXPECT_EQ(m_strNew, "") << "the executable met below the root is dropped";
    EXPECT_EQ(m_dlg.m_bCancel, 1);
    EXPECT_EQ(m_dialogs.m_progress.arStatus.back(), m_tree.Path("a/b/c/file.txt"));
}

TEST_F(SearchTest, UnreadableFoldersAreSkippedSilently)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to drop privileges";
    m_tree.File("locked/Tovi5.exe");
    m_tree.File("open/Tovi3.exe");
    m_tree.File("open/User.YLI");
    m_tree.File("zlast/Tovi5.exe");
    ::chmod(m_tree.Path("locked").c_str(), 0000);

    const int nCode = RunUnprivileged([&] {
        CPosixFileSystem fileSystem;
        CScriptedFrontEnd dialogs;
        SDocLog doc;
        CConverterApp app(fileSystem, dialogs, MakeRecordingDoc(doc));
        CProgressDlg dlg(dialogs.CreateProgressView());
        dlg.Create();
        std::string strNew;
        const std::string strOld = app.SearchRoot(m_tree.Root(), dlg, strNew, 0, 0);
        if (strOld != m_tree.Path("open/User.YLI"))
            return 11;
        if (strNew != m_tree.Path("zlast/Tovi5.exe"))
            return 12;
        return 0;
    });
    EXPECT_EQ(nCode, 0) << kNoPrivilegesDropped << ": no privileges dropped, 11: old path, 12: new path";
}

TEST_F(SearchTest, FallbackWalksSeeTheSameEntriesAndNeverFollowLinks)
{
    m_tree.File("top.txt");
    m_tree.File("a/one.txt");
    m_tree.File("a/deep/Tovi4.exe");
    m_tree.File("a/deep/User.YLI");
    m_tree.Folder("b/empty");
    m_tree.File("c/file");
    ASSERT_EQ(::symlink("..", m_tree.Path("a/up").c_str()), 0);
    ASSERT_EQ(::symlink(m_tree.Path("c").c_str(), m_tree.Path("b/to_c").c_str()), 0);
    ASSERT_EQ(::symlink("missing", m_tree.Path("b/dangling").c_str()), 0);
    Texts arExpected;
    unsigned nEntries = 0;
    ReferenceWalk(m_tree.Root(), arExpected, nEntries);

    // Without openat2 (openat and a device check), without entry types (a
    // stat per entry), and both.
    for (const auto& [bNoOpenAt2, bNoTypes] : {std::pair{true, false}, {false, true}, {true, true}}) {
        CPosixFileSystem fileSystem;
        fileSystem.UseFallbacks(bNoOpenAt2, bNoTypes);
        CScriptedFrontEnd dialogs;
        CConverterApp app(fileSystem, dialogs, MakeRecordingDoc(m_doc));
        CProgressDlg dlg(dialogs.CreateProgressView());
        dlg.Create();
        std::string strNew;
        EXPECT_EQ(app.SearchRoot(m_tree.Root() + "/", dlg, strNew, 0, 0), m_tree.Path("a/deep/User.YLI"));
        EXPECT_EQ(strNew, "");
        EXPECT_EQ(dialogs.m_progress.arStatus, arExpected) << bNoOpenAt2 << bNoTypes;
        EXPECT_EQ(app.m_nEntryCount, nEntries) << bNoOpenAt2 << bNoTypes;
    }
}

TEST_F(SearchTest, NoWalkCrossesIntoAnotherFileSystem)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to mount";
    m_tree.File("disk/Tovi5.exe");
    m_tree.Folder("mnt");
    m_tree.File("zz.txt");
    const std::string strMount = m_tree.Path("mnt");
    const int nCode = RunWithOwnMounts(
        [&] {
            return ::mount("none", strMount.c_str(), "tmpfs", 0, nullptr) == 0 &&
                   std::ofstream(strMount + "/Tovi5.exe").good();
        },
        [&] {
            for (bool bNoOpenAt2 : {false, true}) {
                std::vector<std::string> arStatus;
                if (FindVersion5(bNoOpenAt2, m_tree.Root(), &arStatus) != m_tree.Path("disk/Tovi5.exe"))
                    return 12;
                for (const std::string& strShown : arStatus)
                    if (strShown.find("/mnt/") != std::string::npos)
                        return 11;
                // The mounted folder itself is a root of its own.
                if (FindVersion5(bNoOpenAt2, strMount) != strMount + "/Tovi5.exe")
                    return 13;
            }
            return 0;
        });
    if (nCode < 0)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(nCode, 0) << "11: entered the mount, 12: missed the file, 13: mount as root";
}

TEST_F(SearchTest, AFolderBoundOntoItselfReadOnlyIsStillWalked)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to mount";
    m_tree.File("new/Tovi5.exe");
    const std::string strNew = m_tree.Path("new");
    const int nCode = RunWithOwnMounts(
        [&] {
            return ::mount(strNew.c_str(), strNew.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
                   ::mount(nullptr, strNew.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
        },
        [&] {
            for (bool bNoOpenAt2 : {false, true}) {
                if (FindVersion5(bNoOpenAt2, m_tree.Root()) != strNew + "/Tovi5.exe")
                    return bNoOpenAt2 ? 12 : 11;
            }
            return 0;
        });
    if (nCode < 0)
        GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(nCode, 0) << "11: missed by the openat2 walk, 12: missed by the fallback walk";
}

TEST(WalkOnDiskTest, RandomTreesWalkAsTheReferenceDoes)
{
    for (unsigned nSeed = 1; nSeed <= 24; ++nSeed) {
        CTempTree tree;
        for (const auto& [strPath, bFolder] : MakeRandomTree(nSeed)) {
            if (bFolder)
                tree.Folder(strPath);
            else
                tree.File(strPath);
        }
        CPosixFileSystem fileSystem;
        ExpectSameWalks(fileSystem, tree.Root(), nSeed);
    }
}

TEST(WalkOnDiskTest, AChainOfTwentyThousandFoldersIsWalkedOnASmallStack)
{
    constexpr int kDepth = 20000;
    CTempTree tree("/dev/shm");
    MakeChain(tree.Root(), kDepth, "Tovi5.exe");
    SWalkRecord record;
    // On a thread with a stack of 1 MiB: the walk must not grow with the depth.
    auto walk = [](void* pRecord) -> void* {
        CPosixFileSystem fileSystem;
        SWalkRequest request;
        request.strRoot = static_cast<SWalkRecord*>(pRecord)->strOld;
        request.bOldFound = 1;
        *static_cast<SWalkRecord*>(pRecord) = WalkWithApp(fileSystem, request, CConverterApp::kReadAheadHelpers);
        return nullptr;
    };
    record.strOld = tree.Root();
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 1 << 20);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, walk, &record), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    RemoveChain(tree.Root(), "Tovi5.exe");

    std::string strExpected = tree.Root();
    for (int i = 0; i < kDepth; ++i)
        strExpected += "/d";
    EXPECT_EQ(record.strNew, strExpected + "/Tovi5.exe");
    EXPECT_EQ(record.nEntryCount, 3u * (kDepth + 1)) << "\".\", \"..\" and one more in every folder";
}

TEST_F(SearchTest, FewDescriptorsMissNoInstallationAHundredLevelsDeep)
{
    // Every level holds the next one and siblings: a level is wanted again
    // after the walk below it whenever a sibling is listed after the next.
    std::string strPath = "a";
    for (int i = 1; i < 100; ++i) {
        for (const char* pszSibling : {"/x/1/2/3/file", "/x/4/file", "/y/1/2/file", "/z/1/file"})
            m_tree.File(strPath + pszSibling);
        strPath += "/a";
    }
    m_tree.File(strPath + "/Tovi4.exe");
    m_tree.File(strPath + "/User.YLI");
    // No version 5: the whole tree is walked, and every folder counts.
    SWalkRequest request;
    request.strRoot = m_tree.Root();
    const SWalkRecord expected = WalkByReference(m_fs, request);
    ASSERT_EQ(expected.strOld, m_tree.Path(strPath + "/User.YLI"));

    const int nCode = ChildExitCode([&] {
        // Down to a limit that the standard streams and a few helpers'
        // folders nearly exhaust.
        for (const rlim_t nLimit : {64, 20, 12}) {
            const rlimit limit{nLimit, nLimit};
            if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
                return 10;
            for (unsigned nHelpers : {0u, CConverterApp::kReadAheadHelpers}) {
                CPosixFileSystem fileSystem;
                if (!(WalkWithApp(fileSystem, request, nHelpers) == expected))
                    return static_cast<int>(nLimit) + static_cast<int>(nHelpers);
            }
        }
        return 0;
    });
    EXPECT_EQ(nCode, 0) << "10: no limit set; else the limit, plus the helpers of the walk that differs";
}

}  // namespace
