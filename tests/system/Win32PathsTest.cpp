// Paths at the border to Windows: the long-path form that lifts the limit
// of 260 characters, walks and look-ups beyond that limit, and the filters
// of the system's file dialogs.

#include "frontends/win32/Win32FrontEnd.h"
#include "system/FileSystem.h"
#include "system/win32/FileSystem.h"
#include "system/win32/WideText.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <windows.h>

#include <shellapi.h>

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

TEST(Win32PathsTest, FilesAreOpenedByTheFullLongPath)
{
    const std::wstring strCurrent = std::filesystem::current_path().wstring();
    const struct {
        const char* pPath;
        std::wstring strLong;
    } arCases[] = {
        {"C:\\Labels\\..\\Tovi5\\.\\USER.YLI", L"\\\\?\\C:\\Tovi5\\USER.YLI"},  // the prefix turns off this clean-up
        {"c:/a/b", L"\\\\?\\c:\\a\\b"},
        {"\\\\server\\share\\ラベル\\User.FDF", L"\\\\?\\UNC\\server\\share\\ラベル\\User.FDF"},
        {"ラベル\\User.FDF", MakeLongPath(strCurrent + L"\\ラベル\\User.FDF")},
    };
    for (const auto& test : arCases) {
        std::wstring strLong;
        EXPECT_TRUE(MakeLongFullPath(test.pPath, strLong)) << test.pPath;
        EXPECT_EQ(strLong, test.strLong) << test.pPath;
    }
    std::wstring strLong;
    EXPECT_FALSE(MakeLongFullPath("\xff", strLong)) << "not UTF-8: names no file";
}

TEST(Win32PathsTest, ElevatedCommandLineReadsBackExactly)
{
    // Spaces, Japanese, quotes and backslashes where the system's reading of
    // a command line treats them specially.
    const std::string arPaths[] = {"C:\\Program Files (x86)\\ラベル 5\\USER.YLI", "C:\\plain\\USER.YLI",
                                   "\\\\server\\share with space\\", "a\"b\\\"c", ""};
    for (const std::string& strOld : arPaths) {
        const std::string strNew = "D:\\新しい フォルダ\\USER.YLI";
        const std::wstring strLine = L"toviconv.exe " + MakeElevatedParameters(strOld, strNew);
        int nArgs = 0;
        LPWSTR* ppArgs = ::CommandLineToArgvW(strLine.c_str(), &nArgs);
        ASSERT_NE(ppArgs, nullptr);
        std::vector<std::string> arArgs;
        for (int i = 1; i < nArgs; ++i)
            arArgs.push_back(NarrowText(ppArgs[i]));
        ::LocalFree(ppArgs);
        EXPECT_EQ(arArgs, (std::vector<std::string>{"convert", strOld, strNew})) << strOld;
    }
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
