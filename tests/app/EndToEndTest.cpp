// The built toviconv on a real tree, talking on the console.

#include "system/Backup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string ReadAll(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& strPath, const std::string& strBytes)
{
    std::filesystem::create_directories(std::filesystem::path(strPath).parent_path());
    std::ofstream(strPath, std::ios::binary) << strBytes;
}

struct SRunResult {
    int nStatus;
    std::string strOut;
};

/// Runs the binary with the arguments, the input piped to it; nReaderGone
/// (a standard stream) gets a pipe that nobody reads.
SRunResult RunToviconv(const std::vector<std::string>& arArgs, const std::string& strInput,
                       const std::string& strDir = std::string(), int nReaderGone = -1)
{
    int arIn[2];
    int arOut[2];
    if (::pipe(arIn) != 0 || ::pipe(arOut) != 0)
        return {-1, ""};
    const pid_t nChild = ::fork();
    if (nChild == 0) {
        ::dup2(arIn[0], 0);
        ::dup2(arOut[1], 1);
        ::dup2(arOut[1], 2);
        for (int nFd : {arIn[0], arIn[1], arOut[0], arOut[1]})
            ::close(nFd);
        int arBroken[2];
        if (nReaderGone >= 0 &&
            (::pipe(arBroken) != 0 || ::dup2(arBroken[1], nReaderGone) != nReaderGone || ::close(arBroken[0]) != 0))
            ::_exit(126);
        if (!strDir.empty() && ::chdir(strDir.c_str()) != 0)
            ::_exit(126);
        std::vector<char*> arArgv;
        std::string strProgram = TOVICONV_BINARY;
        arArgv.push_back(strProgram.data());
        std::vector<std::string> arCopy = arArgs;
        for (std::string& strArg : arCopy)
            arArgv.push_back(strArg.data());
        arArgv.push_back(nullptr);
        ::execv(TOVICONV_BINARY, arArgv.data());
        ::_exit(127);
    }
    ::close(arIn[0]);
    ::close(arOut[1]);
    if (::write(arIn[1], strInput.data(), strInput.size()) != static_cast<ssize_t>(strInput.size()))
        ADD_FAILURE() << "input not written";
    ::close(arIn[1]);
    std::string strOut;
    char buffer[4096];
    ssize_t nRead;
    while ((nRead = ::read(arOut[0], buffer, sizeof buffer)) > 0)
        strOut.append(buffer, static_cast<size_t>(nRead));
    ::close(arOut[0]);
    int nStatus = 0;
    ::waitpid(nChild, &nStatus, 0);
    return {WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1, strOut};
}

class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest()
    {
        char name[] = "/tmp/toviconv-e2e-XXXXXX";
        m_strRoot = ::mkdtemp(name);
    }
    ~EndToEndTest() override { std::filesystem::remove_all(m_strRoot); }

    std::string m_strRoot;
};

TEST_F(EndToEndTest, ConsoleRunConvertsTheFoundInstallation)
{
    WriteAll(m_strRoot + "/Apps/Old/Tovi4.exe", "");
    WriteAll(m_strRoot + "/Apps/Old/user.yli",
             "GroupName = Card\r\nSheetType = 0,1,0,0\r\nFixed = 1,90.5,55\r\nFixedHorzPos = 5\r\n"
             "FixedVertPos = 6\r\n");
    WriteAll(m_strRoot + "/Apps/New/TOVI5.EXE", "");
    WriteAll(m_strRoot + "/Apps/New/User.yli", "old contents");

    // OK in the confirm dialog, Yes to the overwrite question.
    const SRunResult result = RunToviconv({"--console", "--root", m_strRoot}, "\ny\n");
    EXPECT_EQ(result.nStatus, 0) << result.strOut;
    EXPECT_EQ(result.strOut, "確認\n以下のファイルをTovi５用に変換します\n" + m_strRoot +
                                 "/Apps/Old/User.YLI\n> ファイル USER.YLI が存在します。上書きしますか？\n[y/n] " +
                                 m_strRoot + "/Apps/New/User.yliに出力しました\n" +
                                 BackupMadeLine(m_strRoot + "/Apps/New/User.yli.bak") + "\n");
    EXPECT_EQ(ReadAll(m_strRoot + "/Apps/New/User.yli.bak"), "old contents");
    const std::string strExpected =
        ";=============================================;\r\n"
        ";        Tovi \x97p\x8e\x86\x92\xe8\x8b`\x83t\x83@\x83"
        "C\x83\x8b          ;\r\n"
        ";                   VANTO SYSTEMS Inc.        ;\r\n"
        ";=============================================;\r\n"
        "ID = 5.0\r\n\r\n"
        "GroupName = Card\r\nCompanyName = \r\nProductName = \r\nSheetUse = \r\nSheetSurfaces = \r\n"
        "SheetType = 0,1,0,0,999\r\nSheetSize = \r\nFixed = 1,90.50,55.00,999\r\nFixedHorzPos = 5.00\r\n"
        "FixedVertPos = 6.00\r\n\r\n\r\nEND\r\n";
    EXPECT_EQ(ReadAll(m_strRoot + "/Apps/New/User.yli"), strExpected);
    EXPECT_FALSE(std::filesystem::exists(m_strRoot + "/Apps/New/USER.YLI"));
}

TEST_F(EndToEndTest, AnUnreadableLegacyFileEndsTheRunWithoutWriting)
{
    // The process's own memory opens but fails to read at its start, as a
    // faulty disk does: a legacy file that cannot be read whole.
    WriteAll(m_strRoot + "/Apps/Old/Tovi4.exe", "");
    std::filesystem::create_symlink("/proc/self/mem", m_strRoot + "/Apps/Old/User.YLI");
    WriteAll(m_strRoot + "/Apps/New/Tovi5.exe", "");
    WriteAll(m_strRoot + "/Apps/New/USER.YLI", "old contents");
    const std::string strUnreadable =
        "ﾌｧｲﾙ " + m_strRoot + "/Apps/Old/User.YLI が読み込めません。\n読み込みを中止します。\n";

    SRunResult result = RunToviconv({"--console", "--root", m_strRoot}, "\ny\n");
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_NE(result.strOut.find("[y/n] " + strUnreadable + "終了します\n"), std::string::npos) << result.strOut;
    EXPECT_EQ(result.strOut.find("出力しました"), std::string::npos) << result.strOut;

    result = RunToviconv({"convert", m_strRoot + "/Apps/Old/User.YLI", m_strRoot + "/Apps/New/USER.YLI"}, "");
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut, strUnreadable);
    EXPECT_EQ(ReadAll(m_strRoot + "/Apps/New/USER.YLI"), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_strRoot + "/Apps/New"),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(EndToEndTest, RelativeRootsAndAnswersGiveCleanFullPaths)
{
    WriteAll(m_strRoot + "/old/Tovi3.exe", "");
    WriteAll(m_strRoot + "/old/USER.YLI", "GroupName = Card\r\nSheetType = 0,1,0,0\r\n");
    WriteAll(m_strRoot + "/new/keep.txt", "");

    // Searched from ".", saved into "../new/" typed relative to the current directory.
    const SRunResult result = RunToviconv({"--console", "--root", "."}, "\ny\n../new/\n", m_strRoot + "/old");
    EXPECT_EQ(result.nStatus, 0) << result.strOut;
    EXPECT_EQ(result.strOut.find("/./"), std::string::npos) << result.strOut;
    EXPECT_NE(result.strOut.find("\n" + m_strRoot + "/old/User.YLI\n> "), std::string::npos) << result.strOut;
    EXPECT_NE(result.strOut.find("> " + m_strRoot + "/new/USER.YLIに出力しました\n"), std::string::npos)
        << result.strOut;
    EXPECT_TRUE(std::filesystem::exists(m_strRoot + "/new/USER.YLI"));
}

TEST_F(EndToEndTest, RefusalsAndCommandLineErrorsSetTheExitStatus)
{
    // Nothing found and no input: No to the question, nothing written.
    SRunResult result = RunToviconv({"--console", "--root", m_strRoot}, "");
    EXPECT_EQ(result.nStatus, 1);
    EXPECT_EQ(result.strOut,
              "旧バージョンのToviがインストールされていません\nフォルダを指定しますか？\n[y/n] 終了します\n");

    result = RunToviconv({"--no-such-option"}, "");
    EXPECT_EQ(result.nStatus, 2);
    result = RunToviconv({"--root"}, "");
    EXPECT_EQ(result.nStatus, 2);
    result = RunToviconv({"convert", "only-one"}, "");
    EXPECT_EQ(result.nStatus, 2);
    result = RunToviconv({"--help"}, "");
    EXPECT_EQ(result.nStatus, 0);
    EXPECT_NE(result.strOut.find("convert LEGACY OUTPUT"), std::string::npos);

    WriteAll(m_strRoot + "/in/USER.YLI", "GroupName = X\r\n");
    result = RunToviconv({"convert", m_strRoot + "/in/USER.YLI", m_strRoot + "/out.yli"}, "");
    EXPECT_EQ(result.nStatus, 0) << result.strOut;
    EXPECT_TRUE(std::filesystem::exists(m_strRoot + "/out.yli"));
}

TEST_F(EndToEndTest, MessagesToAPipeNobodyReadsAreLostNotTheOutput)
{
    // Converting this version-2 sheet reports model failures.
    WriteAll(m_strRoot + "/Apps/Old/Tovipri.exe", "");
    WriteAll(m_strRoot + "/Apps/Old/User.FDF", "GroupName = A\r\nFixedWidth = 10\r\n");
    WriteAll(m_strRoot + "/Apps/New/TOVI5.EXE", "");
    const std::string strLegacy = m_strRoot + "/Apps/Old/User.FDF";
    const std::string strConverted = m_strRoot + "/Apps/New/User.yli";
    ASSERT_EQ(RunToviconv({"convert", strLegacy, m_strRoot + "/expected.yli"}, "").nStatus, 0);
    for (const auto& [arArgs, nStream] : {std::pair{std::vector<std::string>{"convert", strLegacy, strConverted}, 2},
                                          {{"--console", "--root", m_strRoot + "/Apps"}, 1}}) {
        SCOPED_TRACE(arArgs[0]);
        WriteAll(strConverted, "old contents");
        // OK in the confirm dialog, Yes to the overwrite question.
        EXPECT_EQ(RunToviconv(arArgs, "\ny\n", std::string(), nStream).nStatus, 0);
        EXPECT_EQ(ReadAll(strConverted), ReadAll(m_strRoot + "/expected.yli"));
    }
}

}  // namespace
