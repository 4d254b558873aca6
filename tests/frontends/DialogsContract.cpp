// The cases of the dialogue interface's contract (DialogsContract.h); each
// program that runs them instantiates them over its front ends.

#include "tests/frontends/DialogsContract.h"

#include "tests/support/ScriptedFrontEnd.h"

#include <chrono>
#include <thread>
#include <vector>

namespace {

SFileDialogSpec OpenExistingFile()
{
    SFileDialogSpec fileDialog;
    fileDialog.nFlags = kFileMustExist | kFileHideReadOnly;
    return fileDialog;
}

/// Refuses the first OK and accepts every later one.
class CRefusingOnceConfirmEvents : public CConfirmEvents {
public:
    bool OnOK(const std::string& strField) override
    {
        m_arFields.push_back(strField);
        return m_arFields.size() > 1;
    }
    void OnFileButton() override { ADD_FAILURE() << "the file button was never pressed"; }

    std::vector<std::string> m_arFields;  ///< the field at every OK
};

}  // namespace

TEST_P(DialogsContractTest, MessageBoxesAnswerTheButtonPressed)
{
    m_pDriver->AnswerBox(DlgResult::Ok);
    m_pDriver->AnswerBox(DlgResult::Yes);
    m_pDriver->AnswerBox(DlgResult::No);
    EXPECT_EQ(Dialogs().Show("終了します", EMsgButtons::Ok), DlgResult::Ok);
    EXPECT_EQ(Dialogs().Show("検索を中止しますか？", EMsgButtons::YesNo), DlgResult::Yes);
    EXPECT_EQ(Dialogs().Show("上書きしますか？", EMsgButtons::YesNo), DlgResult::No);
}

TEST_P(DialogsContractTest, AnOpenDialogForAnExistingFileNeverHandsBackAMissingOne)
{
    if (!m_pDriver->CanChooseFiles())
        GTEST_SKIP() << "no path can be given to this front end's file dialog";
    const std::string strExisting = m_pDriver->ExistingFile();
    const std::string strMissing = m_pDriver->MissingFile();

    // The missing file is refused and the dialog stays: the next answer counts.
    m_pDriver->AnswerFile(strMissing);
    m_pDriver->AnswerFile(strExisting);
    std::string strPath = "before";
    EXPECT_TRUE(Dialogs().ShowFileDialog(OpenExistingFile(), strPath));
    EXPECT_EQ(strPath, strExisting);

    // Refused, then given up: nothing comes back.
    m_pDriver->AnswerFile(strMissing);
    m_pDriver->AnswerFile(std::nullopt);
    EXPECT_FALSE(Dialogs().ShowFileDialog(OpenExistingFile(), strPath));
    EXPECT_EQ(strPath, strExisting);
}

TEST_P(DialogsContractTest, ACancelledFileDialogLeavesThePathAsItWas)
{
    SFileDialogSpec saveDialog;
    saveDialog.bOpen = false;
    saveDialog.strDefaultName = "USER.YLI";
    saveDialog.nFlags = kFileHideReadOnly;
    for (const SFileDialogSpec& fileDialog : {OpenExistingFile(), saveDialog}) {
        m_pDriver->AnswerFile(std::nullopt);
        std::string strPath = "before";
        EXPECT_FALSE(Dialogs().ShowFileDialog(fileDialog, strPath)) << (fileDialog.bOpen ? "open" : "save");
        EXPECT_EQ(strPath, "before");
    }
}

TEST_P(DialogsContractTest, TheConfirmViewIsOkOnlyOnceAcceptedAndCancelAsksNothing)
{
    const std::string strField = "/d/ラベル/User.YLI";
    const std::string strText = "以下のファイルをTovi５用に変換します";
    CRefusingOnceConfirmEvents events;
    m_pDriver->PressConfirm(true);
    m_pDriver->PressConfirm(true);
    EXPECT_EQ(Dialogs().CreateConfirmView()->DoModal("確認", strText, strField, events), DlgResult::Ok);
    EXPECT_EQ(events.m_arFields, (std::vector<std::string>{strField, strField})) << "the refused OK left it open";

    m_pDriver->PressConfirm(false);
    EXPECT_EQ(Dialogs().CreateConfirmView()->DoModal("確認", strText, strField, events), DlgResult::Cancel);
    EXPECT_EQ(events.m_arFields.size(), 2u) << "Cancel is no OK";
}

TEST_P(DialogsContractTest, TheProgressViewReportsCancelThroughItsEvents)
{
    CCountingProgressEvents events;
    const std::unique_ptr<CProgressView> pView = Dialogs().CreateProgressView();
    ASSERT_TRUE(pView->Create(events));
    pView->SetTitle("検索しています");
    pView->SetRange(0, 100);
    pView->SetPos(10);
    pView->SetPercentText("10%");
    pView->SetStatus("/d/a.txt");
    pView->PumpMessages();
    EXPECT_EQ(events.m_nCancels, 0) << "nothing was pressed yet";

    m_pDriver->PressProgressCancel(*pView);
    // A window's pump lets its toolkit run only every so often: pumped as
    // the search pumps it, for a bounded time.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (events.m_nCancels == 0 && std::chrono::steady_clock::now() < deadline) {
        pView->PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(events.m_nCancels, 1);
    EXPECT_EQ(events.m_nOKs, 0);
    pView->Destroy();
}
