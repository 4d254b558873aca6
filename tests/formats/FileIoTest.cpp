#include "FormatsTestSupport.h"

#include "platform/FileIo.h"

#include <gtest/gtest.h>

#include <string>

TEST(InputFileTest, ReadsWholeChunksUntilTheEndAndEndsTheFileAtAReadError)
{
    CTempFolder folder;
    const std::string strPath = folder.File("in");
    WriteWholeFile(strPath, std::string(2500, 'a'));
    CInputFile file;
    ASSERT_TRUE(file.Open(strPath));
    char arBuffer[1024];
    EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), 1024u);
    EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), 1024u);
    EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), 452u);
    EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), 0u);
    EXPECT_FALSE(file.HadReadError());

    EXPECT_FALSE(file.Open(folder.File("missing")));
    EXPECT_FALSE(file.Open(folder.Path()));

    // Reading this process's memory at offset 0 fails with an I/O error.
    if (!file.Open("/proc/self/mem"))
        GTEST_SKIP() << "/proc/self/mem cannot be opened here";
    EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), 0u);
    EXPECT_TRUE(file.HadReadError());
    EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), 0u);
}

TEST(AtomicOutputFileTest, TargetChangesOnlyOnCommit)
{
    CTempFolder folder;
    const std::string strTarget = folder.File("out");
    WriteWholeFile(strTarget, "old");
    {
        CAtomicOutputFile file;
        ASSERT_TRUE(file.Create(strTarget));
        EXPECT_TRUE(file.Write("new"));
        EXPECT_EQ(ReadWholeFile(strTarget), "old");
        EXPECT_EQ(ListFolder(folder.Path()).find("out"), ListFolder(folder.Path()).rfind("out"))
            << "the temporary file has another name";
    }  // abandoned
    EXPECT_EQ(ReadWholeFile(strTarget), "old");
    EXPECT_EQ(ListFolder(folder.Path()), "out");

    CAtomicOutputFile file;
    ASSERT_TRUE(file.Create(strTarget));
    EXPECT_TRUE(file.Write(std::string(100000, 'x')));
    EXPECT_TRUE(file.Write("end"));
    EXPECT_TRUE(file.Commit());
    EXPECT_EQ(ReadWholeFile(strTarget), std::string(100000, 'x') + "end");
    EXPECT_EQ(ListFolder(folder.Path()), "out");
    EXPECT_FALSE(file.Commit());  // nothing left to commit

    // A folder cannot be replaced, and a missing folder holds no temporary file.
    EXPECT_FALSE(file.Create(folder.Path()));
    EXPECT_FALSE(file.Create(folder.File("missing/out")));
}
