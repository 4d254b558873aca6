// Backups of a replaced file, held to the same rules on every system: one
// copy of every different content, never an earlier backup overwritten,
// another folder when the file's own takes nothing, nothing half made.

#include "system/Backup.h"
#include "tests/support/FileTestSupport.h"
#include "text/Path.h"

#include <gtest/gtest.h>

TEST(BackupTest, EveryDifferentContentIsKeptOnceBesideTheFile)
{
    CTempFolder folder;
    const std::string strTarget = folder.File("USER.YLI");
    std::string strBackup = "x";
    EOutputFailure eFailure = EOutputFailure::Other;
    ASSERT_TRUE(BackUpFile(strTarget, strBackup, eFailure) && strBackup.empty()) << "no file, nothing to keep";

    // The bytes of the file, then the backup that holds them.
    const std::pair<const char*, const char*> arSteps[] = {
        {"one", "USER.YLI.bak"}, {"one", "USER.YLI.bak"}, {"two\r\n\x82\xA0", "USER.YLI.2.bak"},
        {"", "USER.YLI.3.bak"},  {"one", "USER.YLI.bak"}, {"two\r\n\x82\xA0", "USER.YLI.2.bak"}};
    for (const auto& [pBytes, pBackup] : arSteps) {
        WriteWholeFile(strTarget, pBytes);
        ASSERT_TRUE(BackUpFile(strTarget, strBackup, eFailure));
        EXPECT_EQ(strBackup, folder.File(pBackup));
        EXPECT_TRUE(ReadWholeFile(strBackup) == pBytes && eFailure == EOutputFailure::None) << pBackup;
    }
    EXPECT_EQ(ListFolder(folder.Path()), "USER.YLI USER.YLI.2.bak USER.YLI.3.bak USER.YLI.bak");
}

TEST(BackupTest, AFolderThatTakesNothingPassesTheBackupOnOrLeavesEverythingAsItWas)
{
    CTempFolder folder;
    const std::string strTarget = folder.File("USER.YLI");
    WriteWholeFile(strTarget, "old");
    WriteWholeFile(folder.File("blocker"), "a file where a folder would have to be");
    const std::string strRefusing = JoinPath(folder.File("blocker"), "sub");
    const std::string strData = JoinPath(JoinPath(folder.File("data"), "ToviConv"), "Backups");

    std::string strBackup;
    EOutputFailure eFailure = EOutputFailure::None;
    EXPECT_FALSE(BackUpFileInto(strTarget, {strRefusing}, strBackup, eFailure));
    EXPECT_EQ(strBackup, "");
    EXPECT_NE(eFailure, EOutputFailure::None);
    EXPECT_EQ(ListFolder(folder.Path()), "USER.YLI blocker");

    // The data folder is made, parents and all.
    ASSERT_TRUE(BackUpFileInto(strTarget, {strRefusing, strData}, strBackup, eFailure));
    EXPECT_EQ(strBackup, JoinPath(strData, "USER.YLI.bak"));
    EXPECT_EQ(ReadWholeFile(strBackup), "old");
    EXPECT_EQ(ListFolder(strData), "USER.YLI.bak");

    const std::string strOwn = UserBackupFolder();
    EXPECT_TRUE(
        strOwn.ends_with(NativePathStyle() == EPathStyle::Windows ? "\\ToviConv\\Backups" : "/toviconv/backups"))
        << strOwn;
}
