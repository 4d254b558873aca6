// The progress and confirm dialogs over the scripted front end.

#include "tests/app/RecordingDoc.h"
#include "tests/support/ScriptedFrontEnd.h"

#include "app/ConfirmDlg.h"
#include "app/ProgressDlg.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

namespace {
using Texts = std::vector<std::string>;

TEST(ProgressDlgTest, PercentTextTakesAllButExactlyHundredModuloHundred)
{
    CScriptedFrontEnd dialogs;
    CProgressDlg dlg(dialogs.CreateProgressView());
    EXPECT_EQ(dlg.m_nCaptionID, 104);
    ASSERT_TRUE(dlg.Create());
    dlg.SetRange(0, 100);
    for (const auto& [nPos, strText] : std::vector<std::pair<int, std::string>>{
             {1, "1%"}, {99, "99%"}, {100, "100%"}, {101, "1%"}, {250, "50%"}, {0, "0%"}}) {
        dlg.UpdatePercent(nPos);
        EXPECT_EQ(dlg.GetPercentText(), strText) << nPos;
    }
    // Rewritten only when it changes.
    const size_t nWrites = dialogs.m_progress.arPercent.size();
    dlg.UpdatePercent(200);
    dlg.UpdatePercent(300);
    EXPECT_EQ(dialogs.m_progress.arPercent.size(), nWrites);
    // Extreme bounds neither overflow nor divide by zero.
    dlg.SetRange(5, 5);
    dlg.UpdatePercent(INT_MAX);
    EXPECT_EQ(dlg.GetPercentText(), "0%");
    dlg.SetRange(INT_MIN, INT_MAX);
    dlg.UpdatePercent(INT_MAX);
    EXPECT_EQ(dlg.GetPercentText(), "100%");
}

TEST(ProgressDlgTest, StepItWrapsToTheLowerBoundAndCancelOnlyRaisesTheFlag)
{
    CScriptedFrontEnd dialogs;
    CProgressDlg dlg(dialogs.CreateProgressView());
    ASSERT_TRUE(dlg.Create());
    dlg.SetStep(1);
    dlg.SetRange(0, 100);
    EXPECT_EQ(dlg.StepIt(), 0);
    EXPECT_EQ(dlg.GetPercentText(), "1%");
    for (int i = 1; i < 100; ++i)
        dlg.StepIt();
    EXPECT_EQ(dlg.GetPercentText(), "100%");
    EXPECT_EQ(dlg.StepIt(), 100);
    EXPECT_EQ(dlg.GetPos(), 0);
    EXPECT_EQ(dlg.GetPercentText(), "1%");

    dlg.OnOK();
    EXPECT_EQ(dlg.CheckCancelButton(), 0);
    dlg.OnCancel();
    dlg.OnCancel();
    EXPECT_EQ(dlg.CheckCancelButton(), 1);
    EXPECT_EQ(dlg.CheckCancelButton(), 1) << "reading the flag does not clear it";
}

TEST(ConfirmDlgTest, RefusesMissingFilesAndOtherExtensions)
{
    CScriptedFileSystem fileSystem;
    fileSystem.AddFile("/d/NOTES.TXT");
    fileSystem.AddFile("/d/user.yli");
    fileSystem.AddFile("/d/Other.fdf");
    CScriptedFrontEnd dialogs(fileSystem);
    CMessageBoxRecorder& box = dialogs.m_box;

    CConfirmDlg dlg(fileSystem, dialogs, "/d/User.YLI", 0);
    EXPECT_EQ(dlg.GetTitle(), "確認");
    dialogs.Confirm({SConfirmAction::kOK, "/d/missing.yli"});
    dialogs.Confirm({SConfirmAction::kOK, "/d/NOTES.TXT"});
    dialogs.Confirm({SConfirmAction::kOK, std::nullopt});  // the refused text is still in the field
    dialogs.Confirm({SConfirmAction::kOK, "\"/d/missing.yli\""});
    dialogs.Confirm({SConfirmAction::kOK, "\"/d/user.yli\""});  // pasted with its quotes
    EXPECT_EQ(dlg.DoModal(), DlgResult::Ok);
    EXPECT_EQ(box.Texts(), (Texts{"指定したﾌｧｲﾙが存在しません。", "指定したﾌｧｲﾙはﾕｰｻﾞｼｰﾄ情報ﾌｧｲﾙでありません。",
                                  "指定したﾌｧｲﾙはﾕｰｻﾞｼｰﾄ情報ﾌｧｲﾙでありません。", "指定したﾌｧｲﾙが存在しません。"}));
    EXPECT_EQ(dlg.m_strPath, "/d/user.yli");

    // The file button: Cancel changes nothing, OK puts the choice in the field.
    CConfirmDlg manual(fileSystem, dialogs, "", 1);
    EXPECT_EQ(manual.GetTitle(), "ﾕｰｻﾞｼｰﾄﾌｧｲﾙ指定");
    dialogs.AnswerFile(std::nullopt);
    dialogs.AnswerFile("/d/Other.fdf");
    dialogs.Confirm({SConfirmAction::kFileButton, std::nullopt});
    dialogs.Confirm({SConfirmAction::kFileButton, std::nullopt});
    dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    EXPECT_EQ(manual.DoModal(), DlgResult::Ok);
    EXPECT_EQ(manual.m_strPath, "/d/Other.fdf");
    EXPECT_EQ(dialogs.m_arFileDialogs.back().strTitle, "Tovi２～４のユーザシート情報ファイルを指定してください");
    EXPECT_EQ(dialogs.m_arFileDialogs.back().strInitialFolder, "");

    dialogs.Confirm({SConfirmAction::kCancel, std::nullopt});
    EXPECT_EQ(manual.DoModal(), DlgResult::Cancel);
}

TEST(ConfirmDlgTest, FileButtonStartsFromThePathLastStoredNotTheTypedText)
{
    CScriptedFileSystem fileSystem;
    fileSystem.AddFile("/d/NOTES.TXT");
    fileSystem.AddFile("/d/Other.fdf");
    CScriptedFrontEnd dialogs(fileSystem);

    CConfirmDlg dlg(fileSystem, dialogs, "/d/User.YLI", 0);
    dialogs.AnswerFile(std::nullopt);
    dialogs.AnswerFile(std::nullopt);
    dialogs.AnswerFile("/d/Other.fdf");
    dialogs.AnswerFile(std::nullopt);
    dialogs.Confirm({SConfirmAction::kType, "/d/typed.yli"});
    dialogs.Confirm({SConfirmAction::kFileButton, std::nullopt});  // the constructed path
    dialogs.Confirm({SConfirmAction::kOK, "/d/NOTES.TXT"});        // refused, but stored
    dialogs.Confirm({SConfirmAction::kType, "/d/typed2.yli"});
    dialogs.Confirm({SConfirmAction::kFileButton, std::nullopt});  // the text of the last OK
    dialogs.Confirm({SConfirmAction::kFileButton, std::nullopt});  // chooses Other.fdf
    dialogs.Confirm({SConfirmAction::kFileButton, std::nullopt});  // the chosen file
    dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    EXPECT_EQ(dlg.DoModal(), DlgResult::Ok);
    ASSERT_EQ(dialogs.m_arFileDialogs.size(), 4u);
    EXPECT_EQ(dialogs.m_arFileDialogs[0].strInitialFolder, "/d/User.YLI");
    EXPECT_EQ(dialogs.m_arFileDialogs[1].strInitialFolder, "/d/NOTES.TXT");
    EXPECT_EQ(dialogs.m_arFileDialogs[2].strInitialFolder, "/d/NOTES.TXT");
    EXPECT_EQ(dialogs.m_arFileDialogs[3].strInitialFolder, "/d/Other.fdf");
    EXPECT_EQ(dialogs.m_arFileDialogs[0].nFlags, unsigned{kFileMustExist | kFileHideReadOnly});
    EXPECT_EQ(dialogs.m_arFileDialogs[0].strFilter, "Tovi2～4形式(USER.FDF; USER.YLI)|USER.FDF; USER.YLI||");
    EXPECT_EQ(dialogs.m_arConfirmFields, (Texts{"/d/NOTES.TXT", "/d/Other.fdf"}));
    EXPECT_EQ(dlg.m_strPath, "/d/Other.fdf");
}

}  // namespace
