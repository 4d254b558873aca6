// The walk over the scripted file system: the read-ahead changes nothing the
// user sees and ends with the walk.

#include "tests/search/WalkReference.h"

#include "app/ConverterApp.h"
#include "search/FolderReadAhead.h"
#include "tests/support/ScriptedFrontEnd.h"

#include <gtest/gtest.h>

namespace {
TEST(WalkTest, RandomTreesWalkAsTheReferenceDoes)
{
    for (unsigned nSeed = 1; nSeed <= 300; ++nSeed) {
        CScriptedFileSystem fileSystem;
        fileSystem.AddFolder("/r");
        for (const auto& [strPath, bFolder] : MakeRandomTree(nSeed)) {
            if (bFolder)
                fileSystem.AddFolder("/r/" + strPath);
            else
                fileSystem.AddFile("/r/" + strPath);
        }
        ExpectSameWalks(fileSystem, nSeed % 2 ? "/r" : "/r/", nSeed);
        ASSERT_EQ(fileSystem.m_nOpenHandles, 0) << "seed " << nSeed;
    }
}

TEST(WalkTest, CancelEndsTheReadAheadAndClosesEveryFolder)
{
    CScriptedFileSystem fileSystem;
    for (int i = 0; i < 300; ++i) {
        for (int j = 0; j < 4; ++j)
            fileSystem.AddFile("/r/f" + std::to_string(i) + "/g" + std::to_string(j) + "/file");
    }
    // Every listing here costs at least 5 (".", "..", one entry, and the
    // listing itself); the window is full at 60 and, beside the walk, at 120.
    constexpr size_t kWindow = 60;
    for (unsigned nHelpers : {1u, 3u}) {
        fileSystem.m_nFoldersRead = 0;
        SWalkRequest request;
        request.strRoot = "/r";
        request.nCancelAtPump = 40;  // within the root's listing: no subfolder taken
        const SWalkRecord record = WalkWithApp(fileSystem, request, nHelpers, kWindow);
        EXPECT_EQ(record.bCancel, 1);
        EXPECT_EQ(record.nEntryCount, 38u);  // the first entry pumps twice
        // The root and at most both windows, each helper's last read included.
        EXPECT_LE(fileSystem.m_nFoldersRead, static_cast<int>(1 + 2 * kWindow / 5 + nHelpers));
        EXPECT_EQ(fileSystem.m_nOpenHandles, 0);
    }
}

}  // namespace
