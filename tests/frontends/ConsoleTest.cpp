// The console front end's protocol, fed from a pipe.

#include "app/ConfirmDlg.h"
#include "app/ProgressDlg.h"
#include "frontends/posix/ConsoleFrontEnd.h"
#include "tests/support/ScriptedFrontEnd.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Texts = std::vector<std::string>;

/// The console front end fed from a pipe, its standard output captured.
class ConsoleTest : public ::testing::Test {
protected:
    ConsoleTest()
    {
        EXPECT_EQ(::pipe(m_arIn), 0);
        EXPECT_EQ(::pipe(m_arOut), 0);
    }
    ~ConsoleTest() override
    {
        // The reading end goes first: a writer still blocked then fails.
        for (int nFd : {m_arIn[0], m_arIn[1], m_arOut[0], m_arOut[1]}) {
            if (nFd >= 0)
                ::close(nFd);
            if (nFd == m_arIn[0] && m_writer.joinable())
                m_writer.join();
        }
    }
    /// Feeds the whole input, then end of input, from a thread of its own:
    /// the input may be more than the pipe holds.
    void Input(std::string strText)
    {
        const int nIn = m_arIn[1];
        m_arIn[1] = -1;
        m_writer = std::thread([nIn, strText = std::move(strText)] {
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            ::pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            for (std::string_view strRest = strText; !strRest.empty();) {
                const ssize_t nDone = ::write(nIn, strRest.data(), strRest.size());
                if (nDone <= 0)
                    break;
                strRest.remove_prefix(static_cast<size_t>(nDone));
            }
            ::close(nIn);
        });
    }
    std::string Output()
    {
        ::close(m_arOut[1]);
        m_arOut[1] = -1;
        std::string strOut;
        char buffer[4096];
        ssize_t nRead;
        while ((nRead = ::read(m_arOut[0], buffer, sizeof buffer)) > 0)
            strOut.append(buffer, static_cast<size_t>(nRead));
        return strOut;
    }

    int m_arIn[2] = {-1, -1};
    int m_arOut[2] = {-1, -1};
    std::thread m_writer;
    CScriptedFileSystem m_fs;
};

TEST_F(ConsoleTest, QuestionsReadYesNoAndEndOfInputIsNo)
{
    CConsoleFrontEnd console(m_fs, std::make_unique<CPosixConsoleIo>(m_arIn[0], m_arOut[1], m_arOut[1]));
    Input("maybe\n yes\nYeS\r\nn\n");
    EXPECT_EQ(console.Show("a\nb", EMsgButtons::Ok), DlgResult::Ok);
    EXPECT_EQ(console.Show("q1", EMsgButtons::YesNo), DlgResult::Yes);
    EXPECT_EQ(console.Show("q2", EMsgButtons::YesNo), DlgResult::No);
    EXPECT_EQ(console.Show("q3", EMsgButtons::YesNo), DlgResult::No);
    EXPECT_EQ(Output(), "a\nb\nq1\n[y/n] [y/n] [y/n] q2\n[y/n] q3\n[y/n] ");
}

TEST_F(ConsoleTest, FileDialogsRefuseMissingFilesAndCompleteFolders)
{
    m_fs.AddFile("/start/sub/user.yli");
    m_fs.AddFolder("/out");
    CConsoleFrontEnd console(m_fs, std::make_unique<CPosixConsoleIo>(m_arIn[0], m_arOut[1], m_arOut[1]));
    const std::string strTooLong(CConsoleFrontEnd::kMaxAnswerBytes + 1, 'a');
    Input(strTooLong + "\nnothing.yli\nsub/USER.YLI\n/out\n/out/new.yli\n\n");

    SFileDialogSpec open;
    open.nFlags = kFileMustExist;
    open.strFilter = "Tovi2～4形式(USER.FDF; USER.YLI)|USER.FDF; USER.YLI||";
    std::string strPath;
    EXPECT_TRUE(console.ShowFileDialog(open, strPath));
    EXPECT_EQ(strPath, "/start/sub/USER.YLI");

    SFileDialogSpec save;
    save.bOpen = false;
    save.strDefaultName = "USER.YLI";
    save.strTitle = "保存先";
    save.strFilter = "Tovi5形式(USER.YLI)|USER.YLI|";
    EXPECT_TRUE(console.ShowFileDialog(save, strPath));
    EXPECT_EQ(strPath, "/out/USER.YLI");
    EXPECT_TRUE(console.ShowFileDialog(save, strPath));
    EXPECT_EQ(strPath, "/out/new.yli");
    EXPECT_FALSE(console.ShowFileDialog(save, strPath)) << "an empty line is Cancel";
    EXPECT_FALSE(console.ShowFileDialog(open, strPath)) << "end of input is Cancel";
    EXPECT_EQ(Output(),
              "開く\nTovi2～4形式(USER.FDF; USER.YLI)\n> > nothing.yli\nファイルが見つかりません。\n> "
              "保存先\nTovi5形式(USER.YLI)\n> "
              "保存先\nTovi5形式(USER.YLI)\n> "
              "保存先\nTovi5形式(USER.YLI)\n> "
              "開く\nTovi2～4形式(USER.FDF; USER.YLI)\n> ");
}

TEST_F(ConsoleTest, ConfirmDialogKeepsReplacesOrCancels)
{
    m_fs.AddFile("/d/User.YLI");
    m_fs.AddFile("/d/notes.txt");
    CConsoleFrontEnd console(m_fs, std::make_unique<CPosixConsoleIo>(m_arIn[0], m_arOut[1], m_arOut[1]));
    CMessageBoxScope boxes(&console);
    CScriptedFrontEnd dialogs;
    Input(std::string(CConsoleFrontEnd::kMaxAnswerBytes + 1, '/') + "\r\n/d/notes.txt\n\n/d/User.YLI\n");

    CConfirmDlg dlg(m_fs, console, "/d/x.yli", 0);
    EXPECT_EQ(dlg.DoModal(), DlgResult::Ok);
    EXPECT_EQ(dlg.m_strPath, "/d/User.YLI");
    CConfirmDlg again(m_fs, console, "/d/User.YLI", 1);
    EXPECT_EQ(again.DoModal(), DlgResult::Cancel) << "end of input is Cancel";
    const std::string strHead = "以下のファイルをTovi５用に変換します\n";
    EXPECT_EQ(Output(), "確認\n" + strHead + "/d/x.yli\n> " + "確認\n" + strHead + "/d/x.yli\n> " +
                            "指定したﾌｧｲﾙはﾕｰｻﾞｼｰﾄ情報ﾌｧｲﾙでありません。\n" + "確認\n" + strHead +
                            "/d/notes.txt\n> 指定したﾌｧｲﾙはﾕｰｻﾞｼｰﾄ情報ﾌｧｲﾙでありません。\n" + "確認\n" + strHead +
                            "/d/notes.txt\n> " + "ﾕｰｻﾞｼｰﾄﾌｧｲﾙ指定\n" + strHead + "/d/User.YLI\n> ");
}

TEST_F(ConsoleTest, EndlessLinesAreReadInBoundedMemoryAndRefused)
{
    CConsoleFrontEnd console(m_fs, std::make_unique<CPosixConsoleIo>(m_arIn[0], m_arOut[1], m_arOut[1]));
    const std::string strInput = std::string(50 << 20, 'y') + "\nyes\n" + std::string(1 << 20, 'n');
    Input(strInput);
    EXPECT_EQ(console.Show("q", EMsgButtons::YesNo), DlgResult::Yes);
    EXPECT_EQ(console.Show("q", EMsgButtons::YesNo), DlgResult::No) << "a refused last line, then end of input";
    EXPECT_EQ(Output(), "q\n[y/n] [y/n] q\n[y/n] [y/n] ");
    EXPECT_EQ(console.GetScannedInputNum(), strInput.size()) << "every byte searched once";
    EXPECT_LE(console.GetPendingPeakNum(), 2 * CConsoleFrontEnd::kMaxAnswerBytes);
}

TEST_F(ConsoleTest, ControlCharactersReachATerminalVisiblyAndAPipeExactly)
{
    const int nMaster = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (nMaster < 0 || ::grantpt(nMaster) != 0 || ::unlockpt(nMaster) != 0)
        GTEST_SKIP() << "no pseudo-terminal here";
    const int nTerminal = ::open(::ptsname(nMaster), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(nTerminal, 0);
    termios raw = {};
    ::tcgetattr(nTerminal, &raw);
    ::cfmakeraw(&raw);  // line breaks as they are
    ::tcsetattr(nTerminal, TCSANOW, &raw);

    // ESC, CR, a lone C1 byte, C1 in UTF-8, DEL, a tab.
    const std::string strText = "ﾌｧｲﾙ /d/\x1b[2J\r\x9b\xc2\x9b名前\x7f\t が開けません。\n読み込みを中止します。";
    // A line break in the confirm dialog's path too (end of input cancels).
    Input("");
    const auto ShowBoth = [&](CConsoleFrontEnd&& console) {
        console.Show(strText, EMsgButtons::Ok);
        CConfirmDlg(m_fs, console, "/d/a\nb\x1b.FDF", 0).DoModal();
    };
    ShowBoth(CConsoleFrontEnd(m_fs, std::make_unique<CPosixConsoleIo>(m_arIn[0], nTerminal, nTerminal)));
    ShowBoth(CConsoleFrontEnd(m_fs, std::make_unique<CPosixConsoleIo>(m_arIn[0], m_arOut[1], m_arOut[1])));

    const std::string strConfirm = "確認\n以下のファイルをTovi５用に変換します\n";
    const std::string strShown =
        "ﾌｧｲﾙ /d/?[2J???名前?? が開けません。\n読み込みを中止します。\n" + strConfirm + "/d/a?b?.FDF\n> ";
    // A terminal may hand over what was written in more than one read.
    std::string strRead;
    char buffer[4096];
    pollfd ready = {nMaster, POLLIN, 0};
    while (strRead.size() < strShown.size() && ::poll(&ready, 1, 5000) == 1) {
        const ssize_t nRead = ::read(nMaster, buffer, sizeof buffer);
        if (nRead <= 0)
            break;
        strRead.append(buffer, static_cast<size_t>(nRead));
    }
    ::close(nTerminal);
    ::close(nMaster);
    EXPECT_EQ(strRead, strShown);
    EXPECT_EQ(Output(), strText + "\n" + strConfirm + "/d/a\nb\x1b.FDF\n> ") << "a script gets the exact text";
}

/// Restores the SIGINT disposition a test changes.
class CSigIntGuard {
public:
    CSigIntGuard() { ::sigaction(SIGINT, nullptr, &m_saved); }
    ~CSigIntGuard() { ::sigaction(SIGINT, &m_saved, nullptr); }
    CSigIntGuard(const CSigIntGuard&) = delete;
    CSigIntGuard& operator=(const CSigIntGuard&) = delete;

private:
    struct sigaction m_saved = {};
};

volatile std::sig_atomic_t g_nOwnHandlerCalls = 0;
extern "C" void CountOwnSigInt(int)
{
    g_nOwnHandlerCalls = g_nOwnHandlerCalls + 1;
}

void SetSigInt(void (*pHandler)(int))
{
    struct sigaction action = {};
    action.sa_handler = pHandler;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
}

void (*CurrentSigInt())(int)
{
    struct sigaction current = {};
    ::sigaction(SIGINT, nullptr, &current);
    return current.sa_handler;
}

TEST_F(ConsoleTest, CtrlCIsCancelOnlyWhileTheSearchRuns)
{
    CSigIntGuard guard;
    SetSigInt(CountOwnSigInt);
    g_nOwnHandlerCalls = 0;
    CConsoleFrontEnd console(m_fs, std::make_unique<CPosixConsoleIo>(m_arIn[0], m_arOut[1], m_arOut[1]));
    Input("n\n");
    {
        CProgressDlg dlg(console.CreateProgressView());
        ASSERT_TRUE(dlg.Create());
        ::raise(SIGINT);
        EXPECT_EQ(dlg.CheckCancelButton(), 1) << "Ctrl-C during the search is Cancel";
        EXPECT_EQ(g_nOwnHandlerCalls, 0);

        // While an answer is awaited the program's own disposition is back,
        // and a Ctrl-C from before the question is not left for the walk.
        dlg.m_bCancel = 0;
        ::raise(SIGINT);
        EXPECT_EQ(console.Show("q", EMsgButtons::YesNo), DlgResult::No);
        EXPECT_EQ(dlg.CheckCancelButton(), 0);
        ::raise(SIGINT);
        EXPECT_EQ(dlg.CheckCancelButton(), 1) << "caught again after the answer";
        EXPECT_EQ(g_nOwnHandlerCalls, 0);
        dlg.DestroyWindow();
    }
    EXPECT_EQ(CurrentSigInt(), &CountOwnSigInt) << "restored after the search";
    ::raise(SIGINT);
    EXPECT_EQ(g_nOwnHandlerCalls, 1);

    // A SIGINT ignored at start stays ignored.
    SetSigInt(SIG_IGN);
    CConsoleFrontEnd ignoring(m_fs, std::make_unique<CPosixConsoleIo>(m_arIn[0], m_arOut[1], m_arOut[1]));
    CProgressDlg dlg(ignoring.CreateProgressView());
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(CurrentSigInt(), SIG_IGN);
    ::raise(SIGINT);
    EXPECT_EQ(dlg.CheckCancelButton(), 0);
    dlg.DestroyWindow();
    EXPECT_EQ(CurrentSigInt(), SIG_IGN);
    EXPECT_EQ(Output(), "q\n[y/n] ") << "no progress line where standard error is no terminal";
}

TEST(ConsoleLineTest, FitToColumnsCountsWideCharactersAndHidesControls)
{
    EXPECT_EQ(FitToColumns("abcdef", 4), "abcd");
    EXPECT_EQ(FitToColumns("検索しています", 5), "検索");
    EXPECT_EQ(FitToColumns("ｷｬﾝｾﾙ", 3), "ｷｬﾝ");
    EXPECT_EQ(FitToColumns("a\nb\x1b[2J", 10), "a?b?[2J");
    EXPECT_EQ(FitToColumns("x\xff\xe3\x81y", 10), "x???y") << "bytes that are not UTF-8";
    EXPECT_EQ(FitToColumns("abc", 0), "");
}

}  // namespace
