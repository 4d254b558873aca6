#include "FormatsTestSupport.h"

#include "platform/FileIo.h"

#include <gtest/gtest.h>

TEST(InputFileTest, ReadsFullChunksAndEndsTheFileAtAReadError)
{
    CTempFolder folder;
    WriteWholeFile(folder.File("in"), std::string(2500, 'a'));
    CInputFile file;
    ASSERT_TRUE(file.Open(folder.File("in")));
    char arBuffer[1024];
    for (const std::size_t nExpected : {1024u, 1024u, 452u, 0u})
        EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), nExpected);
    EXPECT_FALSE(file.HadReadError());

    // Reading this process's memory at offset 0 fails with an I/O error.
    if (!file.Open("/proc/self/mem"))
        GTEST_SKIP() << "/proc/self/mem cannot be opened here";
    EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), 0u);
    EXPECT_TRUE(file.HadReadError());
}
