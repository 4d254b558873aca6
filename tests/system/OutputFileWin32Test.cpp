// Where files on Windows differ from POSIX: paths reach the system as UTF-16,
// a file that another program holds open cannot be replaced, and a run killed
// during its write leaves no temporary file for long.

#include "system/FileIo.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

bool WriteFile(const std::string& strTarget, std::string_view bytes)
{
    CAtomicOutputFile file;
    return file.Create(strTarget) && file.Write(bytes) && file.Commit();
}

/// The file's bytes read through CInputFile; "<none>" when it cannot be opened.
std::string ReadFile(const std::string& strPath)
{
    CInputFile file;
    if (!file.Open(strPath))
        return "<none>";
    std::string strBytes;
    char arBuffer[256];
    while (const std::size_t nGot = file.Read(arBuffer, sizeof arBuffer))
        strBytes.append(arBuffer, nGot);
    return strBytes;
}

TEST(OutputFileWin32Test, PathsAreUtf8AndNameTheSameFileForTheSystem)
{
    CTempFolder folder;
    const std::filesystem::path japanese = std::filesystem::path(folder.Path()) / std::filesystem::path(u8"ラベル");
    std::filesystem::create_directory(japanese);
    const std::string strTarget = folder.File("ラベル/新しい.YLI");
    ASSERT_TRUE(WriteFile(strTarget, "new"));
    EXPECT_EQ(ReadFile(strTarget), "new");
    // The one file, under its name, and no temporary file left beside it.
    std::vector<std::u8string> arNames;
    for (const auto& entry : std::filesystem::directory_iterator(japanese))
        arNames.push_back(entry.path().filename().u8string());
    EXPECT_EQ(arNames, std::vector<std::u8string>{u8"新しい.YLI"});

    // Bytes that are not UTF-8 name no file at all.
    EXPECT_FALSE(WriteFile(folder.File("\xff\xfe.YLI"), "x"));
    EXPECT_EQ(ReadFile(folder.File("\xff\xfe.YLI")), "<none>");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1) << "nothing was created";
}

TEST(OutputFileWin32Test, ATargetAnotherProgramHoldsOpenStaysAsItWas)
{
    CTempFolder folder;
    const std::string strTarget = folder.File("USER.YLI");
    WriteWholeFile(strTarget, "old");
    {
        // Shared for reading and writing, not for deletion: no rename over it.
        std::ifstream held(strTarget, std::ios::binary);
        ASSERT_TRUE(held.is_open());
        EXPECT_FALSE(WriteFile(strTarget, "new"));
    }
    EXPECT_EQ(ReadWholeFile(strTarget), "old");
    EXPECT_EQ(ListFolder(folder.Path()), "USER.YLI");
}

TEST(OutputFileWin32Test, TemporariesOfRunsThatNoLongerExistAreRemoved)
{
    CTempFolder folder;
    // No process has the first number; the second is this one, whose files
    // may be in use; the third name is not the program's.
    const std::string strOwn = ".toviconv-" + std::to_string(::GetCurrentProcessId()) + "-7.tmp";
    for (const std::string& strName :
         {std::string(".toviconv-4000000000-7.tmp"), strOwn, std::string(".toviconv-x.tmp")})
        WriteWholeFile(folder.File(strName), "left behind");
    ASSERT_TRUE(WriteFile(folder.File("USER.YLI"), "new"));
    EXPECT_EQ(ListFolder(folder.Path()), strOwn + " .toviconv-x.tmp USER.YLI");
}

}  // namespace
