// The backup of a replaced version-5 file under the faults the output file
// survives: a full disk, a folder that takes no new file, a signal midway.

#include "system/Backup.h"
#include "tests/formats/PosixWriterFaults.h"
#include "tests/formats/WriterTestFixture.h"

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

/// The user's data folder elsewhere while the object lives (the tests'
/// environment has none of its own to restore).
struct SDataHome {
    explicit SDataHome(const std::string& strPath) { ::setenv("XDG_DATA_HOME", strPath.c_str(), 1); }
    ~SDataHome() { ::unsetenv("XDG_DATA_HOME"); }
};

}  // namespace

TEST_F(Version5WriterTest, AFolderThatTakesNoFileSendsTheBackupToTheDataFolderOrStopsTheWrite)
{
    ReadOneSheet();
    const std::string strOut = m_folder.File("USER.YLI");
    WriteWholeFile(strOut, "old contents");
    ASSERT_EQ(::chmod(strOut.c_str(), 0666), 0);
    CTempFolder data;
    ASSERT_EQ(::chmod(data.Path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod(m_folder.Path().c_str(), 0555), 0);

    // The backup goes to the data folder; the write itself then succeeds or
    // fails as the output file can, leaving the old file or the new one.
    int nStatus = RunUnprivileged([&] {
        const SDataHome home(data.Path());
        m_doc.ReplaceVersion5File(strOut);
        return m_doc.GetBackupPath().empty() || m_doc.GetBackupPath().starts_with(data.Path() + "/toviconv/backups/");
    });
    if (nStatus == 77)
        GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(nStatus, 0);
    EXPECT_EQ(ReadWholeFile(data.File("toviconv/backups/USER.YLI.bak")), "old contents");

    // No data folder either: nothing is written, and the message says why.
    const std::string strExpected = WithFailureLine(
        OutputFailureMessage(strOut, EOutputFailure::Other) + "\n" + BackupFailedLine(), EOutputFailure::NoRights);
    nStatus = RunUnprivileged([&] {
        const SDataHome home("/proc/no-such-folder");
        m_box.Clear();
        return m_doc.ReplaceVersion5File(strOut) == 0 && m_box.Texts() == std::vector<std::string>{strExpected};
    });
    ::chmod(m_folder.Path().c_str(), 0755);
    EXPECT_EQ(nStatus, 0) << "a write without a backup, or the wrong message";
    EXPECT_EQ(ListFolder(m_folder.Path()), "USER.FDF USER.YLI");
}

TEST_F(Version5WriterTest, AFullDiskMakesNoHalfBackup)
{
    const CSmallDisk mount;
    if (!mount.Mounted())
        GTEST_SKIP() << "mounting a small tmpfs is not permitted here";
    ReadOneSheet();
    // Three of the four pages: no room for a copy, room for the small output.
    const std::string strOld(9000, 'o');
    const std::string strOut = mount.File("USER.YLI");
    WriteWholeFile(strOut, strOld);

    {
        const SDataHome home(mount.File("data"));
        EXPECT_EQ(m_doc.ReplaceVersion5File(strOut), 0);
        EXPECT_EQ(m_box.Texts(), std::vector<std::string>{WithFailureLine(
                                     OutputFailureMessage(strOut, EOutputFailure::Other) + "\n" + BackupFailedLine(),
                                     EOutputFailure::DiskFull)});
        EXPECT_EQ(ReadWholeFile(strOut), strOld);
        EXPECT_EQ(ListFolder(mount.Path()), "USER.YLI data");
        EXPECT_EQ(ListFolder(mount.File("data/toviconv/backups")), "");
    }
    CTempFolder data;
    const SDataHome home(data.Path());
    EXPECT_EQ(m_doc.ReplaceVersion5File(strOut), 1);
    EXPECT_EQ(ReadWholeFile(data.File("toviconv/backups/USER.YLI.bak")), strOld);
    EXPECT_EQ(ReadWholeFile(strOut).rfind(kHeader, 0), 0u);
}

TEST_F(Version5WriterTest, ASignalMidwayLeavesTheOldFileAndAWholeBackupOrNone)
{
    ReadOneSheet();
    const std::string strOut = m_folder.File("USER.YLI");
    const std::string strOld(24 * 1024 * 1024, 'o');  // long enough to be caught midway
    WriteWholeFile(strOut, strOld);
    // The child says it is about to begin; the signal then comes wherever it may.
    int arPipe[2];
    ASSERT_EQ(::pipe(arPipe), 0);
    const pid_t nChild = ::fork();
    if (nChild == 0)
        ::_exit(::write(arPipe[1], "r", 1) == 1 && m_doc.ReplaceVersion5File(strOut) == 1 ? 0 : 1);
    char cReady = 0;
    ASSERT_EQ(::read(arPipe[0], &cReady, 1), 1);
    ::kill(nChild, SIGTERM);
    ::waitpid(nChild, nullptr, 0);
    ::close(arPipe[0]);
    ::close(arPipe[1]);

    const std::string strList = ListFolder(m_folder.Path());
    EXPECT_TRUE(strList == "USER.FDF USER.YLI" || strList == "USER.FDF USER.YLI USER.YLI.bak") << strList;
    EXPECT_TRUE(!FileExists(m_folder.File("USER.YLI.bak")) || ReadWholeFile(m_folder.File("USER.YLI.bak")) == strOld);
    EXPECT_TRUE(ReadWholeFile(strOut) == strOld || ReadWholeFile(strOut).rfind(kHeader, 0) == 0u);
}
