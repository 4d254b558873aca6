// Paths at the border to Windows: the long-path form that lifts the limit
// of 260 characters, walks and look-ups beyond that limit, and the filters
// of the system's file dialogs.

#include "platform/Platform.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FrontEnd.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TEST(Win32PathsTest, AbsolutePathsTakeTheLongPathForm)
{
    const struct {
        const wchar_t* pPath;
        const wchar_t* pLong;
    } arCases[] = {
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"c:/Labels/User.YLI", L"\\\\?\\c:\\Labels\\User.YLI"},
        {L"\\\\server\\share\\x", L"\\\\?\\UNC\\server\\share\\x"},
        {L"\\\\?\\C:\\x", L"\\\\?\\C:\\x"},          // already long
        {L"\\\\.\\COM1", L"\\\\.\\COM1"},            // a device
        {L"Labels\\User.YLI", L"Labels\\User.YLI"},  // relative: as it is
        {L"C:x", L"C:x"},                            // relative to the drive's folder
    };
    for (const auto& test : arCases)
        EXPECT_EQ(MakeLongPath(test.pPath), test.pLong) << std::filesystem::path(test.pPath).string();
}

TEST(Win32PathsTest, FoldersBeyondTheShortLimitAreWalkedAndLookedUp)
{
    CTempFolder folder;
    const std::string strName(40, 'n');
    std::string strPath = folder.Path();
    for (int i = 0; i < 8; ++i)
        strPath += "\\" + strName;
    ASSERT_GT(strPath.size(), 300u);
    const std::filesystem::path longPath(
        MakeLongPath(std::filesystem::path(std::u8string(strPath.begin(), strPath.end())).wstring()));
    std::filesystem::create_directories(longPath);
    std::ofstream(longPath / L"user.yli") << "x";

    const std::unique_ptr<CFileSystem> pFs = CreateFileSystem({});
    int nFolder = pFs->OpenRoot(folder.Path());
    for (int i = 0; i < 8 && nFolder >= 0; ++i) {
        const int nSub = pFs->OpenSubFolder(nFolder, strName);
        pFs->CloseFolder(nFolder);
        nFolder = nSub;
    }
    ASSERT_GE(nFolder, 0);
    CFolderEntries entries;
    EXPECT_TRUE(pFs->ReadFolder(nFolder, entries));
    EXPECT_EQ(entries.Size(), 3u) << "., .. and user.yli";
    pFs->CloseFolder(nFolder);
    std::string strFound;
    EXPECT_TRUE(pFs->FindFile(strPath + "\\USER.YLI", strFound));
    EXPECT_EQ(strFound, strPath + "\\user.yli");
    // Taken down from the deepest folder up: the temporary folder's own
    // clean-up knows no long paths.
    std::error_code error;
    std::filesystem::remove(longPath / L"user.yli", error);
    std::filesystem::path sub = longPath;
    for (int i = 0; i < 8; ++i, sub = sub.parent_path())
        std::filesystem::remove(sub, error);
}

TEST(Win32PathsTest, FileDialogFiltersEndInTwoNulCharacters)
{
    using namespace std::string_literals;
    EXPECT_EQ(MakeWin32Filter("Tovi2～4形式(USER.FDF; USER.YLI)|USER.FDF; USER.YLI||"),
              L"Tovi2～4形式(USER.FDF; USER.YLI)\0USER.FDF; USER.YLI\0\0"s);
    EXPECT_EQ(MakeWin32Filter("Tovi5形式(USER.YLI)|USER.YLI|"), L"Tovi5形式(USER.YLI)\0USER.YLI\0\0"s);
    EXPECT_EQ(MakeWin32Filter(""), L"");
}

}  // namespace
