// The dialogue contract over the console front end and its POSIX terminal:
// answers are lines typed into a pipe, Cancel in the progress is Ctrl-C.
// What it prints is ConsoleTest's business: here it goes to /dev/null.

#include "frontends/posix/ConsoleFrontEnd.h"
#include "system/posix/FileSystem.h"
#include "tests/frontends/DialogsContract.h"
#include "tests/support/FileTestSupport.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

class CConsoleDriver : public CDialogsDriver {
public:
    CConsoleDriver()
    {
        EXPECT_EQ(::pipe(m_arIn), 0);
        m_nNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        m_pConsole = std::make_unique<CConsoleFrontEnd>(m_fileSystem,
                                                        std::make_unique<CPosixConsoleIo>(m_arIn[0], m_nNull, m_nNull));
        WriteWholeFile(ExistingFile(), "");
    }
    ~CConsoleDriver() override
    {
        m_pConsole.reset();
        for (const int nFd : {m_arIn[0], m_arIn[1], m_nNull}) {
            if (nFd >= 0)
                ::close(nFd);
        }
    }
    CConsoleDriver(const CConsoleDriver&) = delete;
    CConsoleDriver& operator=(const CConsoleDriver&) = delete;

    CUserDialogs& Dialogs() override { return *m_pConsole; }
    void AnswerBox(int nButton) override
    {
        if (nButton != DlgResult::Ok)
            Type(nButton == DlgResult::Yes ? "y" : "n");
    }
    void AnswerFile(std::optional<std::string> strPath) override { Type(strPath.value_or("")); }
    void PressConfirm(bool bOK) override
    {
        if (bOK) {
            Type("");
        } else {
            ::close(m_arIn[1]);
            m_arIn[1] = -1;
        }
    }
    void PressProgressCancel(CProgressView&) override { ::raise(SIGINT); }
    std::string ExistingFile() override { return m_folder.File("User.YLI"); }
    std::string MissingFile() override { return m_folder.File("missing.yli"); }

private:
    /// Typed ahead: the pipe holds the few lines until they are read.
    void Type(const std::string& strLine)
    {
        const std::string strTyped = strLine + "\n";
        EXPECT_EQ(::write(m_arIn[1], strTyped.data(), strTyped.size()), static_cast<ssize_t>(strTyped.size()));
    }

    CTempFolder m_folder;
    CPosixFileSystem m_fileSystem;
    int m_arIn[2] = {-1, -1};
    int m_nNull = -1;
    std::unique_ptr<CConsoleFrontEnd> m_pConsole;
};

std::unique_ptr<CDialogsDriver> MakeConsoleDriver()
{
    return std::make_unique<CConsoleDriver>();
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(FrontEnd, DialogsContractTest,
                         ::testing::Values(SFrontEndUnderTest{"Console", &MakeConsoleDriver}));
