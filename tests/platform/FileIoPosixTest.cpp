// The POSIX bodies of the application's files: read errors, and an output
// file that leaves nothing of its own behind however the process ends.

#include "platform/FileIo.h"
#include "platform/Process.h"
#include "platform/posix/PosixFileIo.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
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
        {
            CAtomicOutputFile file;
            ASSERT_TRUE(file.Create(strTarget));
            EXPECT_EQ(ListFolder(folder.Path()) == "USER.YLI", bUnnamed) << "a name before the commit";
            ASSERT_TRUE(file.Write("new"));
            ASSERT_TRUE(file.Commit());
        }
        struct stat st {};
        ASSERT_EQ(::stat(strTarget.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_EQ(ReadWholeFile(strTarget), "new");
        EXPECT_EQ(ListFolder(folder.Path()), "USER.YLI");

        for (const int nSignal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
            SCOPED_TRACE(nSignal);
            const pid_t nChild = ::fork();
            ASSERT_GE(nChild, 0);
            if (nChild == 0) {
                CAtomicOutputFile file;
                if (!file.Create(strTarget) || !file.Write(std::string(300 * 1024, 'x')))
                    ::_exit(1);
                ::raise(nSignal);
                ::_exit(2);
            }
            int nStatus = 0;
            ASSERT_EQ(::waitpid(nChild, &nStatus, 0), nChild);
            EXPECT_TRUE(WIFSIGNALED(nStatus) && WTERMSIG(nStatus) == nSignal) << nStatus;
            EXPECT_EQ(ReadWholeFile(strTarget), "new");
            EXPECT_EQ(ListFolder(folder.Path()), "USER.YLI");
        }
    }
    SetUnnamedOutputFiles(true);
}

// A file opened while a standard stream is closed would take its descriptor
// and receive its messages; a write to a pipe nobody reads would end the
// process midway through the output.
TEST(PrepareProcessTest, NoFileTakesAStandardStreamAndBrokenPipesFailWrites)
{
    for (const std::vector<int>& arClosed : {std::vector<int>{2}, {1}, {0, 1, 2}}) {
        SCOPED_TRACE(arClosed.size());
        const pid_t nChild = ::fork();
        ASSERT_GE(nChild, 0);
        if (nChild == 0) {
            for (const int nFd : arClosed)
                ::close(nFd);
            if (!PrepareProcess())
                ::_exit(1);
            const int nFile = ::open("/dev/zero", O_RDONLY | O_CLOEXEC);
            if (nFile <= 2)
                ::_exit(2);
            int arPipe[2];
            if (::pipe(arPipe) != 0)
                ::_exit(3);
            ::close(arPipe[0]);
            ::_exit(::write(arPipe[1], "x", 1) == -1 && errno == EPIPE ? 0 : 4);
        }
        int nStatus = 0;
        ASSERT_EQ(::waitpid(nChild, &nStatus, 0), nChild);
        EXPECT_TRUE(WIFEXITED(nStatus)) << "ended by signal " << WTERMSIG(nStatus);
        EXPECT_EQ(WEXITSTATUS(nStatus), 0);
    }
}
