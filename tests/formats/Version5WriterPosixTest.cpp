// The writer on a POSIX file system: permissions, links, devices, a full
// disk and privileges.

#include "system/FileIo.h"
#include "tests/formats/PosixWriterFaults.h"
#include "tests/formats/WriterTestFixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TEST_F(Version5WriterTest, ReplacementKeepsPermissionsAndFollowsSymbolicLinks)
{
    ReadOneSheet();

    const std::string strOld = m_folder.File("old.YLI");
    WriteWholeFile(strOld, "old");
    ASSERT_EQ(::chmod(strOld.c_str(), 0640), 0);
    ASSERT_EQ(m_doc.WriteVersion5File(strOld), 1);
    struct stat st {};
    ASSERT_EQ(::stat(strOld.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadWholeFile(strOld).rfind(kHeader, 0), 0u);

    const mode_t nPreviousMask = ::umask(027);
    const std::string strNew = m_folder.File("new.YLI");
    const int nResult = m_doc.WriteVersion5File(strNew);
    ::umask(nPreviousMask);
    ASSERT_EQ(nResult, 1);
    ASSERT_EQ(::stat(strNew.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    const std::string strLink = m_folder.File("link.YLI");
    WriteWholeFile(m_folder.File("real.YLI"), "old");
    ASSERT_EQ(::symlink("real.YLI", strLink.c_str()), 0);
    ASSERT_EQ(m_doc.WriteVersion5File(strLink), 1);
    ASSERT_EQ(::lstat(strLink.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadWholeFile(m_folder.File("real.YLI")), ReadWholeFile(strNew));
    EXPECT_EQ(ListFolder(m_folder.Path()), "USER.FDF link.YLI new.YLI old.YLI real.YLI");
    EXPECT_TRUE(m_box.Texts().empty());
}

TEST_F(Version5WriterTest, DevicesAndFifosAreRefusedWithoutOpeningThem)
{
    ReadOneSheet();
    const std::string strFifo = m_folder.File("out.fifo");
    ASSERT_EQ(::mkfifo(strFifo.c_str(), 0600), 0);
    // A reader is there, so that even writing into the FIFO would not wait.
    const int nReader = ::open(strFifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(nReader, 0);
    for (const std::string& strTarget : {strFifo, std::string("/dev/null")}) {
        m_box.Clear();
        EXPECT_EQ(m_doc.WriteVersion5File(strTarget), 0) << strTarget;
        EXPECT_EQ(m_box.Texts(),
                  std::vector<std::string>{OutputFailureMessage(strTarget, EOutputFailure::NotRegularFile)});
    }
    char cByte = 0;
    EXPECT_LE(::read(nReader, &cByte, 1), 0) << "something was written into the FIFO";
    ::close(nReader);
    struct stat st {};
    ASSERT_EQ(::lstat(strFifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was replaced by a file";
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// A link that another user may have planted is never followed: the file it
// names (the user's own, say ~/.bashrc) stays as it is, and so does the link.
TEST_F(Version5WriterTest, LinksOthersMayHavePlantedAreNotFollowed)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "links and folders of another user need root here";
    ReadOneSheet();
    const std::string strVictim = m_folder.File("bashrc");
    WriteWholeFile(strVictim, "victim");
    // The link of another user, and the user's own link in a folder everyone
    // may write but another user owns.
    CTempFolder shared;
    ASSERT_EQ(::chmod(shared.Path().c_str(), 01777), 0);
    ASSERT_EQ(::chown(shared.Path().c_str(), 65534, 65534), 0);
    struct SCase {
        std::string strLink;
        uid_t nOwner;
    };
    for (const SCase& link : {SCase{m_folder.File("USER.YLI"), 65534}, SCase{shared.File("USER.YLI"), 0}}) {
        ASSERT_EQ(::symlink(strVictim.c_str(), link.strLink.c_str()), 0);
        ASSERT_EQ(::lchown(link.strLink.c_str(), link.nOwner, link.nOwner), 0);
        m_box.Clear();
        EXPECT_EQ(m_doc.WriteVersion5File(link.strLink), 0) << link.strLink;
        EXPECT_EQ(m_box.Texts(),
                  std::vector<std::string>{OutputFailureMessage(link.strLink, EOutputFailure::UntrustedLink)});
        struct stat st {};
        ASSERT_EQ(::lstat(link.strLink.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode));
        EXPECT_EQ(ReadWholeFile(strVictim), "victim");
    }
    EXPECT_EQ(ListFolder(shared.Path()), "USER.YLI");
}

// A writable file in a folder the user may not write is written in place; a
// set-user-ID file, written in place or replaced, loses that bit.
TEST_F(Version5WriterTest, WritableFileInAFolderNotWritableIsWrittenInPlace)
{
    const std::string strOut = m_folder.File("USER.YLI");
    const std::string strExpected = Convert("USER.FDF", "GroupName = A\r\n");
    for (const bool bFolderWritable : {true, false}) {
        SCOPED_TRACE(bFolderWritable ? "replaced" : "in place");
        WriteWholeFile(strOut, std::string(100000, 'o'));  // longer than the new file
        ASSERT_EQ(::chmod(strOut.c_str(), 04755), 0);
        bool bWritten = false;
        if (::geteuid() != 0) {
            ASSERT_EQ(::chmod(m_folder.Path().c_str(), bFolderWritable ? 0755 : 0555), 0);
            bWritten = m_doc.WriteVersion5File(strOut) == 1;
            ::chmod(m_folder.Path().c_str(), 0755);
        } else {
            ASSERT_EQ(::chmod(m_folder.Path().c_str(), bFolderWritable ? 0777 : 0755), 0);
            ASSERT_EQ(::chown(strOut.c_str(), 65534, 65534), 0);
            ASSERT_EQ(::chmod(strOut.c_str(), 04755), 0);
            const int nStatus = RunUnprivileged([&] { return m_doc.WriteVersion5File(strOut) == 1; });
            if (nStatus == 77)
                GTEST_SKIP() << "cannot drop privileges here";
            bWritten = nStatus == 0;
            ::chmod(m_folder.Path().c_str(), 0700);
        }
        EXPECT_TRUE(bWritten);
        EXPECT_EQ(ReadWholeFile(strOut), strExpected);
        struct stat st {};
        ASSERT_EQ(::stat(strOut.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0755u);
        EXPECT_EQ(ListFolder(m_folder.Path()), "OUT.YLI USER.FDF USER.YLI");
    }
}

TEST_F(Version5WriterTest, FullDiskKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    const CSmallDisk mount;
    if (!mount.Mounted())
        GTEST_SKIP() << "mounting a small tmpfs is not permitted here";

    const std::string strIn = m_folder.File("USER.YLI");
    const std::string strOut = mount.File("USER.YLI");
    WriteWholeFile(strOut, "old contents");
    // About 25 KiB of output (the disk fills when the end is written out) and
    // about 70 KiB (it fills while the sheets are written).
    for (const int nSheets : {150, 400}) {
        SCOPED_TRACE(nSheets);
        std::string strLegacy;
        for (int i = 0; i < nSheets; ++i)
            strLegacy += "GroupName = Group " + std::to_string(i) + "\r\nSheetType = 0,1,0,0\r\nFixed = 1,10,10\r\n";
        WriteWholeFile(strIn, strLegacy);
        ASSERT_EQ(m_doc.ReadLegacyFile(strIn), 1);
        m_box.Clear();
        EXPECT_EQ(m_doc.WriteVersion5File(strOut), 0);
        EXPECT_EQ(m_box.Texts(), std::vector<std::string>{"ﾌｧｲﾙ " + strOut + " に書き込みができません\n" +
                                                          OutputFailureLine(EOutputFailure::DiskFull)});
        EXPECT_EQ(ReadWholeFile(strOut), "old contents");
        EXPECT_EQ(ListFolder(mount.Path()), "USER.YLI");
    }

    // Written in place (the folder refuses the temporary file), a file the
    // disk has no room for gets its old bytes back.
    if (::geteuid() == 0 && ::chmod(mount.Path().c_str(), 0755) == 0 && ::chown(strOut.c_str(), 65534, 65534) == 0) {
        const int nStatus = RunUnprivileged([&] {
            m_box.Clear();
            return m_doc.WriteVersion5File(strOut) == 0 &&
                   m_box.Texts() == std::vector<std::string>{OutputFailureMessage(strOut, EOutputFailure::DiskFull)};
        });
        EXPECT_TRUE(nStatus == 0 || nStatus == 77) << "no failure or no message";
        EXPECT_EQ(ReadWholeFile(strOut), "old contents");
        EXPECT_EQ(ListFolder(mount.Path()), "USER.YLI");
    }

    // A small document still fits: the same target is then replaced.
    m_box.Clear();
    WriteWholeFile(strIn, "GroupName = A\r\n");
    ASSERT_EQ(m_doc.ReadLegacyFile(strIn), 1);
    EXPECT_EQ(m_doc.WriteVersion5File(strOut), 1);
    EXPECT_EQ(ReadWholeFile(strOut).rfind(kHeader, 0), 0u);
    EXPECT_EQ(ListFolder(mount.Path()), "USER.YLI");
}

TEST_F(Version5WriterTest, UnwritableFolderKeepsTheOldFileAndReportsIt)
{
    ReadOneSheet();
    const std::string strOut = m_folder.File("USER.YLI");
    WriteWholeFile(strOut, "old contents");
    const std::string strExpected =
        "ﾌｧｲﾙ " + strOut + " に書き込みができません\n" + OutputFailureLine(EOutputFailure::NoRights);

    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(m_folder.Path().c_str(), 0555), 0);
        const int nResult = m_doc.WriteVersion5File(strOut);
        ::chmod(m_folder.Path().c_str(), 0755);
        EXPECT_EQ(nResult, 0);
        EXPECT_EQ(m_box.Texts(), std::vector<std::string>{strExpected});
    } else {
        // Root ignores permissions: a child without privileges does the writing.
        ASSERT_EQ(::chmod(m_folder.Path().c_str(), 0755), 0);
        const int nStatus = RunUnprivileged([&] {
            m_box.Clear();
            const int nResult = m_doc.WriteVersion5File(strOut);
            return nResult == 0 && m_box.Texts() == std::vector<std::string>{strExpected};
        });
        ASSERT_GE(nStatus, 0) << "the child did not exit";
        if (nStatus == kNoPrivilegesDropped)
            GTEST_SKIP() << "cannot drop privileges here";
        EXPECT_EQ(nStatus, 0) << "the writer did not fail with its message";
    }
    EXPECT_EQ(ReadWholeFile(strOut), "old contents");
    EXPECT_EQ(ListFolder(m_folder.Path()), "USER.FDF USER.YLI");
}

TEST_F(Version5WriterTest, ReadOnlyTargetIsNotOverwritten)
{
    ReadOneSheet();
    const std::string strOut = m_folder.File("USER.YLI");
    WriteWholeFile(strOut, "old contents");
    ASSERT_EQ(::chmod(strOut.c_str(), 0444), 0);
    const std::string strExpected =
        "ﾌｧｲﾙ " + strOut + " に書き込みができません\n" + OutputFailureLine(EOutputFailure::NoRights);

    if (::geteuid() != 0) {
        EXPECT_EQ(m_doc.WriteVersion5File(strOut), 0);
        EXPECT_EQ(m_box.Texts(), std::vector<std::string>{strExpected});
    } else {
        // Root may write any file: an unprivileged child owning the file and
        // free to write the folder does the writing.
        ASSERT_EQ(::chmod(m_folder.Path().c_str(), 0777), 0);
        ASSERT_EQ(::chown(strOut.c_str(), 65534, 65534), 0);
        const int nStatus = RunUnprivileged([&] {
            m_box.Clear();
            const int nResult = m_doc.WriteVersion5File(strOut);
            return nResult == 0 && m_box.Texts() == std::vector<std::string>{strExpected};
        });
        ::chmod(m_folder.Path().c_str(), 0700);
        ASSERT_GE(nStatus, 0) << "the child did not exit";
        if (nStatus == kNoPrivilegesDropped)
            GTEST_SKIP() << "cannot drop privileges here";
        EXPECT_EQ(nStatus, 0) << "the read-only file was replaced or no message was shown";
    }
    EXPECT_EQ(ReadWholeFile(strOut), "old contents");
    EXPECT_EQ(ListFolder(m_folder.Path()), "USER.FDF USER.YLI");
}
