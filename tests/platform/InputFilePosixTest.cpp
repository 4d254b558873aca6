#include "platform/FileIo.h"

#include <gtest/gtest.h>

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
