// The POSIX bodies of the application's files: read errors, and an output
// file that leaves nothing of its own behind however the process ends.

#include "system/FileIo.h"
#include "system/Process.h"
#include "system/posix/FileIo.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

TEST(InputFilePosixTest, AReadErrorEndsTheFile)
{
    // Reading this process's memory at offset 0 fails with an I/O error.
    CInputFile file;
    if (!file.Open("/proc/self/mem"))
        GTEST_SKIP() << "/proc/self/mem cannot be opened here";
    char arBuffer[1024];
    EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), 0u);
    EXPECT_TRUE(file.HadReadError());
}

// Unnamed until the final rename, and named from the start as on file systems
// without unnamed files: a signal that ends the process midway through the
// write leaves the old file and nothing else; a commit keeps the old mode.
TEST(OutputFilePosixTest, EndingSignalsMidWriteLeaveOnlyTheOldFile)
{
    for (const bool bUnnamed : {true, false}) {
        SCOPED_TRACE(bUnnamed ? "unnamed" : "named");
        SetUnnamedOutputFiles(bUnnamed);
        CTempFolder folder;
        const std::string strTarget = folder.File("USER.YLI");
        WriteWholeFile(strTarget, "old");
        ASSERT_EQ(::chmod(strTarget.c_str(), 0640), 0);
        CAtomicOutputFile file;
        ASSERT_TRUE(file.Create(strTarget));
        EXPECT_EQ(ListFolder(folder.Path()) == "USER.YLI", bUnnamed) << "a name before the commit";
        ASSERT_TRUE(file.Write("new") && file.Commit());
        struct stat st {};
        ASSERT_EQ(::stat(strTarget.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);

        for (const int nSignal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
            const int nStatus = ChildWaitStatus([&] {
                if (!file.Create(strTarget) || !file.Write(std::string(300 * 1024, 'x')))
                    return 1;
                return ::raise(nSignal) + 2;
            });
            EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == nSignal) << nSignal << ": " << nStatus;
            EXPECT_EQ(ReadWholeFile(strTarget), "new");
            EXPECT_EQ(ListFolder(folder.Path()), "USER.YLI");
        }
    }
    SetUnnamedOutputFiles(true);
}

TEST(PrepareProcessTest, NoFileTakesAClosedStandardStream)
{
    for (const std::vector<int>& arClosed : {std::vector<int>{2}, {1}, {0, 1, 2}}) {
        const int nStatus = ChildWaitStatus([&] {
            for (const int nFd : arClosed)
                ::close(nFd);
            return PrepareProcess() && ::open("/dev/zero", O_RDONLY | O_CLOEXEC) > 2 ? 0 : 1;
        });
        EXPECT_EQ(nStatus, 0) << arClosed.size() << " closed";
    }
}
