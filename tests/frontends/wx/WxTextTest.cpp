// Texts and paths on their way to the toolkit, and where file dialogs open.
// None of these needs a display.

#include "frontends/wx/WxViews.h"
#include "system/posix/FileSystem.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

TEST(WxTextTest, TextsAreUtf8AndMalformedBytesVisible)
{
    EXPECT_EQ(TextToWx("終了します", false), wxString(L"終了します"));
    EXPECT_EQ(TextToWx("a\xff"
                       "b\xe3\x81",
                       false),
              wxString(L"a\uFFFDb\uFFFD\uFFFD"));
    // A message keeps its line breaks; a one-line control shows none.
    EXPECT_EQ(TextToWx("a\nb", false), wxString(L"a\nb"));
    EXPECT_EQ(TextToWx("a\nb\tc\x7f", true), wxString(L"a?b?c?"));
    EXPECT_EQ(TextToWx("", true), wxString());
}

TEST(WxTextTest, PathBytesSurviveTheRoundTrip)
{
    for (const std::string strPath :
         {"/tmp/ユーザ/USER.YLI", "/old/\x83\x86\x81\x5B\x83\x55/User.FDF", "/a\xff/b", ""}) {
        EXPECT_EQ(PathFromWx(PathToWx(strPath)), strPath);
    }
    EXPECT_EQ(PathToWx("/tmp/ユーザ"), wxString(L"/tmp/ユーザ"));
}

class FileDialogStartTest : public testing::Test {
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/toviconv-gui-XXXXXX";
        ASSERT_NE(::mkdtemp(szTemplate), nullptr);
        m_strRoot = szTemplate;
        std::ofstream(m_strRoot + "/User.FDF") << "x";
    }
    void TearDown() override
    {
        ::unlink((m_strRoot + "/User.FDF").c_str());
        ::rmdir(m_strRoot.c_str());
    }

    SFileDialogStart Resolve(const std::string& strInitial, const std::string& strDefault = std::string())
    {
        SFileDialogSpec fileDialog;
        fileDialog.strInitialFolder = strInitial;
        fileDialog.strDefaultName = strDefault;
        return ResolveFileDialogStart(m_fileSystem, fileDialog);
    }

    std::string m_strRoot;
    CPosixFileSystem m_fileSystem;
};

TEST_F(FileDialogStartTest, FolderFileOrNothing)
{
    SFileDialogStart start = Resolve(m_strRoot + "/", "USER.YLI");
    EXPECT_EQ(start.strFolder, m_strRoot);
    EXPECT_EQ(start.strName, "USER.YLI");
    // A file: its folder, and no file name but the default one; a name not
    // yet there (typed into the confirm field) still opens its folder.
    start = Resolve(m_strRoot + "/./User.FDF", "USER.YLI");
    EXPECT_EQ(start.strFolder, m_strRoot);
    EXPECT_EQ(start.strName, "USER.YLI");
    start = Resolve(m_strRoot + "/Missing.YLI");
    EXPECT_EQ(start.strFolder, m_strRoot);
    EXPECT_EQ(start.strName, "");
    // Nothing usable: the system's choice with the default name.
    start = Resolve(m_strRoot + "/none/User.FDF", "USER.YLI");
    EXPECT_EQ(start.strFolder, "");
    EXPECT_EQ(start.strName, "USER.YLI");

    // A relative path starts from the current folder.
    const std::string strSaved = m_fileSystem.GetCurrentDir();
    ASSERT_TRUE(m_fileSystem.SetCurrentDir(m_strRoot));
    start = Resolve("User.FDF");
    ASSERT_TRUE(m_fileSystem.SetCurrentDir(strSaved));
    EXPECT_EQ(start.strFolder, m_strRoot);
    EXPECT_EQ(start.strName, "");
}
