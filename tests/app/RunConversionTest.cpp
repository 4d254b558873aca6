#include "tests/app/RecordingDoc.h"
#include "tests/support/ScriptedFrontEnd.h"

#include "app/ConverterApp.h"
#include "tests/support/ScriptedMessageBox.h"
#include "text/MessageBox.h"

#include <gtest/gtest.h>

namespace {
using Texts = std::vector<std::string>;

const char* const kExiting = "終了します";

class RunConversionTest : public ::testing::Test {
protected:
    RunConversionTest() : m_dialogs(m_fs), m_app(m_fs, m_dialogs, MakeRecordingDoc(m_doc))
    {
        m_fs.SetRoots({"/C", "/D", "/E"});
    }

    /// Runs the whole program; checks it ends as every run must.
    void Run()
    {
        EXPECT_FALSE(m_app.RunConversion());
        EXPECT_EQ(m_fs.m_nOpenHandles, 0) << "every folder opened is closed again";
        EXPECT_EQ(m_fs.m_strCurrent, "/start");
        EXPECT_TRUE(m_dialogs.m_progress.bDestroyed);
    }

    CScriptedFileSystem m_fs;
    CScriptedFrontEnd m_dialogs;
    SDocLog m_doc;
    CMessageBoxRecorder& m_box = m_dialogs.m_box;
    CConverterApp m_app;
};

TEST_F(RunConversionTest, BothFoundOnFirstRootLeavesLaterRootsUnwalked)
{
    m_fs.AddFile("/C/Tools/Old/TOVI3.EXE");
    m_fs.AddFile("/C/Tools/Old/user.yli");
    m_fs.AddFile("/C/Label5/Tovi5.exe");
    m_fs.AddFile("/D/Other/Tovi4.exe");
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    Run();

    EXPECT_EQ(m_fs.m_arOpenedRoots, (Texts{"/C"}));
    EXPECT_EQ(m_dialogs.m_progress.arTitles.back(), "検索しています");
    EXPECT_EQ(m_dialogs.m_arConfirmTitles, (Texts{"確認"}));
    // The canonical name is shown; the file read is the entry matching it.
    EXPECT_EQ(m_dialogs.m_arConfirmFields, (Texts{"/C/Tools/Old/User.YLI"}));
    EXPECT_EQ(m_doc.arRead, (Texts{"/C/Tools/Old/user.yli"}));
    EXPECT_EQ(m_doc.arWritten, (Texts{"/C/Label5/USER.YLI"}));
    EXPECT_EQ(m_box.Texts(), (Texts{"/C/Label5/USER.YLIに出力しました"}));
    EXPECT_EQ(m_app.GetExitCode(), 0);
    EXPECT_TRUE(m_dialogs.m_arFileDialogs.empty());
}

TEST_F(RunConversionTest, OldInstallationOnOneRootNewOnALaterOne)
{
    m_fs.AddFile("/C/Old/Tovipri.exe");
    m_fs.AddFile("/C/Old/User.FDF");
    m_fs.AddFile("/D/Old2/Tovi3.exe");
    m_fs.AddFile("/D/Old2/User.YLI");
    m_fs.AddFile("/E/New/Tovi5.exe");
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    Run();

    EXPECT_EQ(m_fs.m_arOpenedRoots, (Texts{"/C", "/D", "/E"}));
    EXPECT_EQ(m_doc.arRead, (Texts{"/C/Old/User.FDF"}));
    EXPECT_EQ(m_doc.arWritten, (Texts{"/E/New/USER.YLI"}));
}

TEST_F(RunConversionTest, OldMissingAnswersAndChosenFiles)
{
    m_fs.AddFile("/C/New/Tovi5.exe");
    m_fs.AddFile("/X/sheets.yli");
    m_fs.AddFile("/X/NOTES.TXT");  // the open dialog hands back only files that exist

    // No: the run ends.
    m_box.Answer(DlgResult::No);
    Run();
    EXPECT_EQ(m_box.Texts(),
              (Texts{"旧バージョンのToviがインストールされていません\nフォルダを指定しますか？", kExiting}));
    EXPECT_EQ(m_app.GetExitCode(), 1);

    // Yes, then Cancel in the open dialog.
    m_box.Clear();
    m_box.Answer(DlgResult::Yes);
    m_dialogs.AnswerFile(std::nullopt);
    Run();
    EXPECT_EQ(m_box.Texts().back(), kExiting);
    const SFileDialogSpec& fileDialog = m_dialogs.m_arFileDialogs.back();
    EXPECT_TRUE(fileDialog.bOpen);
    EXPECT_EQ(fileDialog.strFilter, "Tovi2～4形式(USER.FDF; USER.YLI)|USER.FDF; USER.YLI||");
    EXPECT_EQ(fileDialog.strTitle, "");
    EXPECT_EQ(fileDialog.nFlags, unsigned{kFileMustExist | kFileHideReadOnly});

    // A file with the wrong extension: its own message, no "終了します" after it.
    m_box.Clear();
    m_box.Answer(DlgResult::Yes);
    m_dialogs.AnswerFile("/X/NOTES.TXT");
    Run();
    EXPECT_EQ(m_box.Texts().back(), "指定ファイル /X/NOTES.TXT はユーザシート情報ファイルでありません。終了します");
    EXPECT_EQ(m_box.Texts().size(), 2u);

    // The chosen file's name is replaced by the canonical one, which is missing.
    m_box.Clear();
    m_box.Answer(DlgResult::Yes);
    m_dialogs.AnswerFile("/X/sheets.yli");
    Run();
    EXPECT_EQ(m_box.Texts().back(), "ユーザシートの情報がありません。終了します");
    EXPECT_TRUE(m_doc.arRead.empty());

    // Now the canonical file exists (in another case): it is confirmed and read.
    m_fs.AddFile("/X/USER.yli");
    m_box.Clear();
    m_box.Answer(DlgResult::Yes);
    m_dialogs.AnswerFile("/X/sheets.yli");
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    Run();
    EXPECT_EQ(m_dialogs.m_arConfirmFields, (Texts{"/X/User.YLI"}));
    EXPECT_EQ(m_doc.arRead, (Texts{"/X/USER.yli"}));
    EXPECT_EQ(m_box.Texts().back(), "/C/New/USER.YLIに出力しました");
    EXPECT_EQ(m_app.GetExitCode(), 0);
}

TEST_F(RunConversionTest, NewMissingAsksThenSavesIntoTheChosenFolder)
{
    m_fs.AddFile("/C/Old/Tovi4.exe");
    m_fs.AddFile("/C/Old/User.YLI");
    m_fs.AddFolder("/E/NEW");

    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    m_box.Answer(DlgResult::No);
    Run();
    EXPECT_EQ(m_box.Texts(), (Texts{"Tovi５がインストールされていません\nフォルダを指定しますか？", kExiting}));
    EXPECT_EQ(m_fs.m_arOpenedRoots, (Texts{"/C", "/D", "/E"}));

    m_box.Clear();
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    m_box.Answer(DlgResult::Yes);
    m_dialogs.AnswerFile("/E/NEW/OTHER.YLI");
    Run();
    const SFileDialogSpec& fileDialog = m_dialogs.m_arFileDialogs.back();
    EXPECT_FALSE(fileDialog.bOpen);
    EXPECT_EQ(fileDialog.strDefaultName, "USER.YLI");
    EXPECT_EQ(fileDialog.nFlags, unsigned{kFileHideReadOnly});
    EXPECT_EQ(fileDialog.strFilter, "Tovi5形式(USER.YLI)|USER.YLI|");
    EXPECT_EQ(fileDialog.strTitle, "Tovi５のユーザシート情報ファイルを指定してください");
    EXPECT_EQ(m_doc.arWritten, (Texts{"/E/NEW/USER.YLI"}));

    // Cancel in the confirm dialog ends the run before anything is written.
    m_box.Clear();
    m_dialogs.Confirm({SConfirmAction::kCancel, std::nullopt});
    Run();
    EXPECT_EQ(m_box.Texts(), (Texts{kExiting}));
    EXPECT_EQ(m_doc.arWritten.size(), 1u);
}

TEST_F(RunConversionTest, ExistingOutputIsOverwrittenOnlyAfterYesAndKeepsItsName)
{
    m_fs.AddFile("/C/Old/Tovi3.exe");
    m_fs.AddFile("/C/Old/User.YLI");
    m_fs.AddFile("/C/New/Tovi5.exe");
    m_fs.AddFile("/C/New/user.yli");

    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    m_box.Answer(DlgResult::No);
    Run();
    EXPECT_EQ(m_box.Texts(), (Texts{"ファイル USER.YLI が存在します。上書きしますか？", kExiting}));
    EXPECT_TRUE(m_doc.arWritten.empty());

    m_box.Clear();
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    m_box.Answer(DlgResult::Yes);
    Run();
    EXPECT_EQ(m_doc.arWritten, (Texts{"/C/New/user.yli"}));
    EXPECT_EQ(m_box.Texts().back(), "/C/New/user.yliに出力しました");
}

TEST_F(RunConversionTest, OnlyAWrittenFileIsAnnounced)
{
    m_fs.AddFile("/C/Old/Tovi3.exe");
    m_fs.AddFile("/C/Old/User.YLI");
    m_fs.AddFile("/C/New/Tovi5.exe");

    m_doc.nReadResult = 0;
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    Run();
    EXPECT_EQ(m_box.Texts(), (Texts{kExiting}));
    EXPECT_TRUE(m_doc.arWritten.empty());
    EXPECT_EQ(m_app.GetExitCode(), 1);

    m_box.Clear();
    m_doc.nReadResult = 1;
    m_doc.nSheets = 0;
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    Run();
    EXPECT_EQ(m_box.Texts(), (Texts{"ユーザシートの情報がありません。終了します"}));
    EXPECT_TRUE(m_doc.arWritten.empty());
    EXPECT_EQ(m_app.GetExitCode(), 1);

    m_box.Clear();
    m_doc.nSheets = 2;
    m_doc.nWriteResult = 0;
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    Run();
    EXPECT_EQ(m_box.Texts(), (Texts{kExiting}));
    EXPECT_EQ(m_app.GetExitCode(), 1);
}

TEST_F(RunConversionTest, CancelThenNoWalksTheSameRootAgainAndKeepsCounting)
{
    m_fs.AddFile("/C/a/one.txt");
    m_fs.AddFile("/C/b/Tovi3.exe");
    m_fs.AddFile("/C/b/User.YLI");
    m_fs.AddFile("/D/New/Tovi5.exe");
    m_dialogs.m_progress.cancelAtStatus = {"/C/a/one.txt"};
    m_box.Answer(DlgResult::No);
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    Run();

    EXPECT_EQ(m_fs.m_arOpenedRoots, (Texts{"/C", "/C", "/D"}));
    EXPECT_EQ(m_box.Texts().front(), "検索を中止しますか？");
    // The interrupted walk saw /C, /C/a (4 + 3 entries); the repeat all of /C
    // (4 + 3 + 4), then /D (3 + 3).
    EXPECT_EQ(m_app.m_nEntryCount, 7u + 11u + 6u);
    EXPECT_EQ(m_dialogs.m_progress.arStatus,
              (Texts{"/C/a/one.txt", "/C/a/one.txt", "/C/b/Tovi3.exe", "/C/b/User.YLI", "/D/New/Tovi5.exe"}));
    EXPECT_EQ(m_doc.arRead, (Texts{"/C/b/User.YLI"}));
    EXPECT_EQ(m_doc.arWritten, (Texts{"/D/New/USER.YLI"}));
}

TEST_F(RunConversionTest, CancelDuringTheRepeatedWalkIsNotAskedAfterIt)
{
    // One root: the repeated walk is cut short, nobody asks, and the run goes
    // on with what the out string holds from the interrupted walk.
    m_fs.SetRoots({"/C"});
    m_fs.AddFile("/C/A/one.txt");
    m_fs.AddFile("/C/New/Tovi5.exe");
    m_fs.AddFile("/C/Z/two.txt");
    m_fs.AddFile("/X/User.YLI");
    m_fs.AddFile("/X/sheets.yli");  // the file chosen in the open dialog
    m_dialogs.m_progress.cancelAtShowing = {{"/C/Z/two.txt", 1}, {"/C/A/one.txt", 2}};
    m_box.Answer(DlgResult::No);
    m_box.Answer(DlgResult::Yes);
    m_dialogs.AnswerFile("/X/sheets.yli");
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    Run();
    EXPECT_EQ(m_fs.m_arOpenedRoots, (Texts{"/C", "/C"}));
    EXPECT_EQ(m_dialogs.m_progress.arStatus,
              (Texts{"/C/A/one.txt", "/C/New/Tovi5.exe", "/C/Z/two.txt", "/C/A/one.txt"}));
    EXPECT_EQ(m_box.Texts(),
              (Texts{"検索を中止しますか？", "旧バージョンのToviがインストールされていません\nフォルダを指定しますか？",
                     "/C/New/USER.YLIに出力しました"}));
    EXPECT_EQ(m_dialogs.m_arFileDialogs.size(), 1u) << "the executable found before the Cancel is kept";
    EXPECT_EQ(m_doc.arWritten, (Texts{"/C/New/USER.YLI"}));

    // Two roots: the flag left set ends the next root's walk at its first
    // entry, and the question comes after it.
    m_fs.SetRoots({"/C", "/D"});
    m_fs.AddFile("/D/New/Tovi5.exe");
    m_fs.m_arOpenedRoots.clear();
    m_dialogs.m_progress = {};
    m_dialogs.m_progress.cancelAtShowing = {{"/C/A/one.txt", 1}, {"/C/A/one.txt", 2}};
    m_box.Clear();
    m_box.Answer(DlgResult::No);
    m_box.Answer(DlgResult::No);
    m_box.Answer(DlgResult::No);
    Run();
    EXPECT_EQ(m_fs.m_arOpenedRoots, (Texts{"/C", "/C", "/D", "/D"}));
    EXPECT_EQ(m_dialogs.m_progress.arStatus, (Texts{"/C/A/one.txt", "/C/A/one.txt", "/D/New/Tovi5.exe"}));
    EXPECT_EQ(m_box.Texts(),
              (Texts{"検索を中止しますか？", "検索を中止しますか？",
                     "旧バージョンのToviがインストールされていません\nフォルダを指定しますか？", kExiting}));
    // /C and /C/A twice (5 + 3 each), /D not at all, then /D and /D/New (3 + 3).
    EXPECT_EQ(m_app.m_nEntryCount, 8u + 8u + 0u + 6u);
}

TEST_F(RunConversionTest, CancelThenYesIsTheManualMode)
{
    m_fs.AddFile("/C/Old/Tovi3.exe");
    m_fs.AddFile("/C/Old/User.YLI");
    m_fs.AddFile("/C/New/Tovi5.exe");
    m_fs.AddFile("/H/my.yli");
    m_fs.AddFolder("/Out");
    m_dialogs.m_progress.cancelAtStatus = {"/C/Old/Tovi3.exe"};

    // Stop, type a file, save into a folder without the executable: No ends it.
    m_box.Answer(DlgResult::Yes);
    m_dialogs.Confirm({SConfirmAction::kOK, "/H/my.yli"});
    m_dialogs.AnswerFile("/Out/x.yli");
    m_box.Answer(DlgResult::No);
    Run();
    EXPECT_EQ(m_fs.m_arOpenedRoots, (Texts{"/C"}));
    EXPECT_EQ(m_dialogs.m_arConfirmTitles, (Texts{"ﾕｰｻﾞｼｰﾄﾌｧｲﾙ指定"}));
    // The order of windows and questions, each in its place.
    EXPECT_EQ(
        m_dialogs.m_arTranscript,
        (Texts{"progress: created", "ask: 検索を中止しますか？ -> Yes", "progress: destroyed",
               "confirm: ﾕｰｻﾞｼｰﾄﾌｧｲﾙ指定", "save: Tovi５のユーザシート情報ファイルを指定してください",
               "ask: 指定したﾌｫﾙﾀﾞにはTovi５がｲﾝｽﾄｰﾙされていませんが、\n変換を行いますか？ -> No", "box: 終了します"}));

    // The same with Yes converts the typed file, used as typed.
    m_box.Clear();
    m_dialogs.m_progress.cancelAtStatus = {"/C/Old/Tovi3.exe"};
    m_box.Answer(DlgResult::Yes);
    m_dialogs.Confirm({SConfirmAction::kOK, "/H/my.yli"});
    m_dialogs.AnswerFile("/Out/x.yli");
    m_box.Answer(DlgResult::Yes);
    Run();
    EXPECT_EQ(m_doc.arRead, (Texts{"/H/my.yli"}));
    EXPECT_EQ(m_doc.arWritten, (Texts{"/Out/USER.YLI"}));

    // A folder holding the executable is not questioned.
    m_box.Clear();
    m_dialogs.m_progress.cancelAtStatus = {"/C/Old/Tovi3.exe"};
    m_box.Answer(DlgResult::Yes);
    m_dialogs.Confirm({SConfirmAction::kOK, "/H/my.yli"});
    m_dialogs.AnswerFile("/C/New/USER.YLI");
    Run();
    EXPECT_EQ(m_box.Texts(), (Texts{"検索を中止しますか？", "/C/New/USER.YLIに出力しました"}));
}

// Stopping the search forgets what earlier roots found; the confirm field
// starts with the file handed over, if any.
TEST_F(RunConversionTest, CancelThenYesForgetsEarlierRootsButNotTheGivenFile)
{
    const struct {
        const char* pGiven;
        const char* pCancelAt;
        std::optional<std::string> strTyped;
    } arCases[] = {
        {"", "/D/Old/Tovi3.exe", "/H/my.yli"},  // /C's executable was found first
        {"/H/my.yli", "/C/New/Tovi5.exe", std::nullopt},
    };
    for (const auto& test : arCases) {
        SCOPED_TRACE(test.pCancelAt);
        CScriptedFileSystem fs;
        CScriptedFrontEnd dialogs;
        SDocLog doc;
        CConverterApp app(fs, dialogs, MakeRecordingDoc(doc));
        fs.SetRoots({"/C", "/D"});
        fs.AddFile("/C/New/Tovi5.exe");
        fs.AddFile("/D/Old/Tovi3.exe");
        fs.AddFile("/D/Old/User.YLI");
        fs.AddFile("/H/my.yli");
        app.SetGivenOldFile(test.pGiven);
        dialogs.m_progress.cancelAtStatus = {test.pCancelAt};
        dialogs.Answer(DlgResult::Yes);
        dialogs.Confirm({SConfirmAction::kOK, test.strTyped});
        dialogs.AnswerFile("/C/New/USER.YLI");
        app.RunConversion();
        EXPECT_EQ(dialogs.m_arConfirmFields, (Texts{"/H/my.yli"}));
        EXPECT_EQ(dialogs.m_arTranscript,
                  (Texts{"progress: created", "ask: 検索を中止しますか？ -> Yes", "progress: destroyed",
                         "confirm: ﾕｰｻﾞｼｰﾄﾌｧｲﾙ指定", "save: Tovi５のユーザシート情報ファイルを指定してください",
                         "box: /C/New/USER.YLIに出力しました"}));
    }
}

TEST_F(RunConversionTest, ProgressStepsOnceEveryThousandEntries)
{
    // "." and ".." plus 1998 files: 2000 entries, steps at the 1st and 1001st.
    for (int i = 0; i < 1998; ++i)
        m_fs.AddFile("/C/f" + std::to_string(i));
    m_fs.SetRoots({"/C"});
    m_box.Answer(DlgResult::No);
    Run();
    EXPECT_EQ(m_app.m_nEntryCount, 2000u);
    EXPECT_EQ(m_dialogs.m_progress.arPercent, (Texts{" 0 %", "1%", "2%"}));
}

// Installations in folders the system guards: the user's virtual store holds
// the files the installations' programs see, and writing there may take
// administrator rights. One transcript per decision.
TEST_F(RunConversionTest, GuardedFoldersUseTheStoreCopiesAndAskForRights)
{
    const std::string kOld = "/PF/Old/User.FDF";
    const std::string kNew = "/PF/New/USER.YLI";
    const std::string kOldCopy = "/Store/PF/Old/USER.FDF";
    const std::string kNewCopy = "/Store/PF/New/User.yli";
    const std::string kWritten = "box: " + kNew + "に出力しました";
    const std::string kFailure = "box: ﾌｧｲﾙ " + kNew + " に書き込みができません\n";
    const std::string kOverwrite = "ask: ファイル USER.YLI が存在します。上書きしますか？ -> Yes";
    const struct {
        const char* pName;
        bool bOldCopy;
        bool bNewCopy;
        EOutputFailure eProbe;  ///< what writing kNew would meet
        std::optional<EElevatedWrite> elevation;
        std::string strRead;
        std::vector<std::string> arWritten;
        Texts arAfterConfirm;
        int nExit;
    } arCases[] = {
        {"store copy of the old file",
         true,
         false,
         EOutputFailure::None,
         std::nullopt,
         kOldCopy,
         {kNew},
         {kOverwrite, kWritten},
         0},
        {"store copy of the new file",
         false,
         true,
         EOutputFailure::None,
         std::nullopt,
         kOld,
         {kNewCopy},
         {kOverwrite, "box: " + kNewCopy + "に出力しました"},
         0},
        {"access denied, elevated write done",
         false,
         false,
         EOutputFailure::NoRights,
         EElevatedWrite::Written,
         kOld,
         {},
         {kOverwrite, "elevate: " + kOld + " -> " + kNew, kWritten},
         0},
        {"access denied, prompt declined",
         false,
         false,
         EOutputFailure::NoRights,
         EElevatedWrite::Declined,
         kOld,
         {},
         {kOverwrite, "elevate: " + kOld + " -> " + kNew,
          kFailure + OutputFailureLine(EOutputFailure::ElevationDeclined), "box: 終了します"},
         1},
        {"access denied, elevated write failed",
         false,
         false,
         EOutputFailure::NoRights,
         EElevatedWrite::Failed,
         kOld,
         {},
         {kOverwrite, "elevate: " + kOld + " -> " + kNew, kFailure + OutputFailureLine(EOutputFailure::ElevationFailed),
          "box: 終了します"},
         1},
        // Only a lack of rights is worth the prompt; the console cannot ask.
        {"file in use",
         false,
         false,
         EOutputFailure::InUse,
         EElevatedWrite::Written,
         kOld,
         {kNew},
         {kOverwrite, kWritten},
         0},
        {"access denied on the console",
         false,
         false,
         EOutputFailure::NoRights,
         std::nullopt,
         kOld,
         {kNew},
         {kOverwrite, kWritten},
         0},
    };
    for (const auto& test : arCases) {
        SCOPED_TRACE(test.pName);
        CScriptedFileSystem fs;
        CScriptedFrontEnd dialogs;
        SDocLog doc;
        CConverterApp app(fs, dialogs, MakeRecordingDoc(doc));
        fs.SetRoots({"/PF"});
        fs.AddFile("/PF/Old/Tovipri.exe");
        fs.AddFile(kOld);
        fs.AddFile("/PF/New/Tovi5.exe");
        fs.AddFile(kNew);
        if (test.bOldCopy) {
            fs.AddFile(kOldCopy);
            fs.m_storeCopies[kOld] = kOldCopy;
        }
        if (test.bNewCopy) {
            fs.AddFile(kNewCopy);
            fs.m_storeCopies["/PF/New/User.YLI"] = kNewCopy;  // the name as the run appends it
        }
        fs.m_outputFailures[kNew] = test.eProbe;
        dialogs.m_elevation = test.elevation;
        dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
        dialogs.Answer(DlgResult::Yes);
        app.RunConversion();

        EXPECT_EQ(dialogs.m_arConfirmFields, (Texts{test.bOldCopy ? kOldCopy : kOld}));
        EXPECT_EQ(doc.arRead, (Texts{test.strRead}));
        EXPECT_EQ(doc.arWritten, test.arWritten) << "never both this program and the elevated one";
        Texts arExpected = {"progress: created", "progress: destroyed", "confirm: 確認"};
        arExpected.insert(arExpected.end(), test.arAfterConfirm.begin(), test.arAfterConfirm.end());
        EXPECT_EQ(dialogs.m_arTranscript, arExpected);
        EXPECT_EQ(app.GetExitCode(), test.nExit);
    }
}

// A legacy file handed over on starting (dropped on the program) is taken as
// if chosen in the open-file dialog; the search looks for version 5 alone.
TEST_F(RunConversionTest, GivenLegacyFileIsTakenAsChosen)
{
    m_fs.AddFile("/C/Found/Tovi3.exe");
    m_fs.AddFile("/C/Found/User.YLI");
    m_fs.AddFile("/D/New/Tovi5.exe");
    m_fs.AddFile("/start/Mine/user.fdf");
    m_fs.AddFile("/start/Mine/Notes.txt");

    // Relative to the start-up folder; the canonical name in the same folder.
    m_app.SetGivenOldFile("Mine/sheets.FDF");
    m_dialogs.Confirm({SConfirmAction::kOK, std::nullopt});
    Run();
    EXPECT_EQ(m_fs.m_arOpenedRoots, (Texts{"/C", "/D"})) << "the old installation on /C is not taken";
    EXPECT_EQ(m_dialogs.m_arConfirmFields, (Texts{"/start/Mine/User.FDF"}));
    EXPECT_EQ(m_doc.arRead, (Texts{"/start/Mine/user.fdf"}));
    EXPECT_EQ(m_doc.arWritten, (Texts{"/D/New/USER.YLI"}));

    // Any other file is refused as a chosen one is.
    m_box.Clear();
    m_app.SetGivenOldFile("/start/Mine/Notes.txt");
    Run();
    EXPECT_EQ(m_box.Texts(),
              (Texts{"指定ファイル /start/Mine/Notes.txt はユーザシート情報ファイルでありません。終了します"}));
    EXPECT_EQ(m_app.GetExitCode(), 1);
}

}  // namespace
