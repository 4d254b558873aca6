#include "tests/support/FileTestSupport.h"

#include "app/BatchConvert.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

/// Runs the batch conversion with standard error sent to a file; returns the
/// exit status and sets strStderr to what was written there.
int RunCapturingStderr(const CTempFolder& folder, const std::string& strLegacy, const std::string& strOutput,
                       std::string& strStderr)
{
    const std::string strCapture = folder.File("stderr.txt");
    const int nCapture = ::open(strCapture.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    EXPECT_GE(nCapture, 0);
    const int nSaved = ::dup(2);
    ::dup2(nCapture, 2);
    const int nStatus = RunBatchConvert(strLegacy, strOutput);
    ::dup2(nSaved, 2);
    ::close(nSaved);
    ::close(nCapture);
    strStderr = ReadWholeFile(strCapture);
    ::unlink(strCapture.c_str());
    return nStatus;
}

}  // namespace

TEST(BatchConvertTest, ExitStatusesAndMessagesOnStandardError)
{
    CTempFolder folder;
    CScriptedMessageBox box;  // must see nothing: the batch run installs its own
    std::string strStderr;

    const std::string strOut = folder.File("USER.YLI");
    EXPECT_EQ(RunCapturingStderr(folder, TestDataPath("card_v2.FDF"), strOut, strStderr), 0);
    EXPECT_EQ(ReadWholeFile(strOut), ReadWholeFile(TestDataPath("card_v5.YLI")));
    EXPECT_EQ(strStderr, "");

    const std::string strMissing = folder.File("missing.FDF");
    EXPECT_EQ(RunCapturingStderr(folder, strMissing, folder.File("a.YLI"), strStderr), 1);
    EXPECT_EQ(strStderr, "ﾌｧｲﾙ " + strMissing + " が開けません。\n読み込みを中止します。\n");

    const std::string strEmpty = folder.File("empty.YLI");
    WriteWholeFile(strEmpty, "; nothing\r\nID = 4.0\r\n");
    EXPECT_EQ(RunCapturingStderr(folder, strEmpty, folder.File("b.YLI"), strStderr), 1);
    EXPECT_EQ(strStderr, "ユーザシートの情報がありません。終了します\n");

    const std::string strUnwritable = folder.File("no/such/folder/USER.YLI");
    EXPECT_EQ(RunCapturingStderr(folder, TestDataPath("card_v2.FDF"), strUnwritable, strStderr), 1);
    EXPECT_EQ(strStderr, "ﾌｧｲﾙ " + strUnwritable + " に書き込みができません\n");

    // Model failure reports go to standard error as well and do not stop the run.
    const std::string strMisused = folder.File("misused.FDF");
    WriteWholeFile(strMisused, "GroupName = A\r\nFixedWidth = 10\r\n");
    EXPECT_EQ(RunCapturingStderr(folder, strMisused, folder.File("c.YLI"), strStderr), 0);
    EXPECT_NE(strStderr.find("CSheet::GetFixed\n"), std::string::npos) << strStderr;
    EXPECT_NE(strStderr.find("CSheet::SetFixedWidth\n"), std::string::npos) << strStderr;

    EXPECT_EQ(ListFolder(folder.Path()), "USER.YLI c.YLI empty.YLI misused.FDF");
    EXPECT_TRUE(box.Texts().empty());
    // The previous handler is back.
    ShowMessageBox("after");
    EXPECT_EQ(box.Texts(), std::vector<std::string>{"after"});
}
