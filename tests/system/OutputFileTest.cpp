// The files of the application, held to the same rules on every system: a
// file read in chunks, and an output file that replaces its target whole or
// not at all, leaving nothing of its own behind.

#include "system/FileIo.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class OutputFileTest : public ::testing::Test {
protected:
    /// Creates, writes the pieces and commits; the result of Commit.
    bool WriteFile(const std::string& strTarget, std::initializer_list<std::string_view> pieces)
    {
        CAtomicOutputFile file;
        if (!file.Create(strTarget))
            return false;
        for (std::string_view piece : pieces)
            EXPECT_TRUE(file.Write(piece));
        return file.Commit();
    }

    CTempFolder m_folder;
};

TEST_F(OutputFileTest, NewAndExistingTargetsGetExactlyTheBytesWrittenAndNothingElseStays)
{
    const std::string strTarget = m_folder.File("USER.YLI");
    const std::string strLarge(200 * 1024 + 7, 'x');  // beyond any write buffer
    ASSERT_TRUE(WriteFile(strTarget, {"ab\r\n", strLarge, "\x82\xA0\r\n"}));
    EXPECT_EQ(ReadWholeFile(strTarget), "ab\r\n" + strLarge + "\x82\xA0\r\n");

    // A shorter file replaces a longer one whole.
    ASSERT_TRUE(WriteFile(strTarget, {"END\r\n"}));
    EXPECT_EQ(ReadWholeFile(strTarget), "END\r\n");
    EXPECT_EQ(ListFolder(m_folder.Path()), "USER.YLI");
}

TEST_F(OutputFileTest, AbandonedOrUncommittedOutputKeepsTheOldFile)
{
    const std::string strTarget = m_folder.File("USER.YLI");
    WriteWholeFile(strTarget, "old");
    {
        CAtomicOutputFile file;
        ASSERT_TRUE(file.Create(strTarget));
        EXPECT_TRUE(file.Write(std::string(100000, 'n')));
        file.Abandon();
        EXPECT_FALSE(file.Commit()) << "nothing is left to commit";
    }
    {
        CAtomicOutputFile file;
        ASSERT_TRUE(file.Create(strTarget));
        EXPECT_TRUE(file.Write("new"));
    }  // gone without Commit
    EXPECT_EQ(ReadWholeFile(strTarget), "old");
    EXPECT_EQ(ListFolder(m_folder.Path()), "USER.YLI");
}

TEST_F(OutputFileTest, TargetsThatCannotBeReplacedAreRefusedUntouched)
{
    std::filesystem::create_directory(m_folder.File("Folder.YLI"));
    EXPECT_FALSE(WriteFile(m_folder.File("Folder.YLI"), {"x"}));
    EXPECT_FALSE(WriteFile(m_folder.File("missing") + "/USER.YLI", {"x"}));

    const std::string strReadOnly = m_folder.File("RO.YLI");
    WriteWholeFile(strReadOnly, "old");
    namespace fs = std::filesystem;
    fs::permissions(strReadOnly, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const bool bPrivileged = std::ofstream(strReadOnly, std::ios::app).is_open();
    if (!bPrivileged) {
        EXPECT_FALSE(WriteFile(strReadOnly, {"new"})) << "a read-only file is not replaced";
        EXPECT_EQ(ReadWholeFile(strReadOnly), "old");
    }
    fs::permissions(strReadOnly, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ListFolder(m_folder.Path()), "Folder.YLI RO.YLI");
}

TEST(InputFileTest, ReadsFullChunksUntilTheEndAndRefusesFoldersAndMissingFiles)
{
    CTempFolder folder;
    WriteWholeFile(folder.File("in"), std::string(2500, 'a'));
    CInputFile file;
    ASSERT_TRUE(file.Open(folder.File("in")));
    char arBuffer[1024];
    for (const std::size_t nExpected : {1024u, 1024u, 452u, 0u})
        EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), nExpected);
    EXPECT_FALSE(file.HadReadError());
    file.Close();
    EXPECT_EQ(file.Read(arBuffer, sizeof arBuffer), 0u);

    EXPECT_FALSE(file.Open(folder.Path()));
    EXPECT_FALSE(file.Open(folder.File("missing")));
}

}  // namespace
