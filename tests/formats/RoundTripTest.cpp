// Legacy files of every shape converted, the output read back as a version-5
// file and written again: the same bytes (the fuzzer's check, over the
// hostile files of the test suite).

#include "fuzz/ConversionCheck.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/HostileFiles.h"

#include <gtest/gtest.h>

TEST(RoundTripTest, HostileFilesAndTheGoldenOnesWriteTheSameBytesOnceReadBack)
{
    CConversionCheck check;
    EXPECT_EQ(check.CheckBytes(ReadWholeFile(TestDataPath("card_v2.FDF"))), "");
    for (unsigned nSeed = 0; nSeed < 150; ++nSeed) {
        for (const bool bVersion2 : {true, false}) {
            const std::string strFile = MakeHostileFile(nSeed, bVersion2);
            EXPECT_EQ(check.CheckBytes(strFile), "") << nSeed << (bVersion2 ? " (2)" : " (3/4)") << ":\n" << strFile;
        }
    }
}
