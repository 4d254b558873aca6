// The dialogue contract over the scripted front end the run's tests use.

#include "tests/frontends/DialogsContract.h"
#include "tests/support/ScriptedFrontEnd.h"

namespace {

const char* const kExisting = "/d/User.YLI";

class CScriptedDriver : public CDialogsDriver {
public:
    CScriptedDriver() { m_fileSystem.AddFile(kExisting); }

    CUserDialogs& Dialogs() override { return m_dialogs; }
    void AnswerBox(int nButton) override
    {
        if (nButton != DlgResult::Ok)
            m_dialogs.Answer(nButton);
    }
    void AnswerFile(std::optional<std::string> strPath) override { m_dialogs.AnswerFile(std::move(strPath)); }
    void PressConfirm(bool bOK) override
    {
        m_dialogs.Confirm({bOK ? SConfirmAction::kOK : SConfirmAction::kCancel, std::nullopt});
    }
    void PressProgressCancel(CProgressView& view) override
    {
        // The double presses Cancel after a file it was told of.
        m_dialogs.m_progress.cancelAtStatus.insert("/d/press");
        view.SetStatus("/d/press");
    }
    std::string ExistingFile() override { return kExisting; }
    std::string MissingFile() override { return "/d/missing.yli"; }

private:
    CScriptedFileSystem m_fileSystem;
    CScriptedFrontEnd m_dialogs{m_fileSystem};
};

std::unique_ptr<CDialogsDriver> MakeScriptedDriver()
{
    return std::make_unique<CScriptedDriver>();
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(FrontEnd, DialogsContractTest,
                         ::testing::Values(SFrontEndUnderTest{"Scripted", &MakeScriptedDriver}));
