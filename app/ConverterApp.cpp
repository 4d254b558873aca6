#include "app/ConverterApp.h"

#include "app/ConfirmDlg.h"
#include "system/Backup.h"
#include "text/CodePage.h"
#include "text/MessageBox.h"
#include "text/Path.h"

namespace {

constexpr const char* kExiting = "終了します";
constexpr const char* kNoSheetInfo = "ユーザシートの情報がありません。終了します";

}  // namespace

CConverterApp::CConverterApp(CFileSystem& fileSystem, CUserDialogs& dialogs, DocFactory makeDoc)
    : m_fileSystem(fileSystem), m_dialogs(dialogs), m_makeDoc(std::move(makeDoc)), m_search(fileSystem, m_nEntryCount)
{
}

int CConverterApp::ShowMessage(const std::string& strText, EMsgButtons eButtons)
{
    return m_dialogs.Show(strText, eButtons);
}

void CConverterApp::EndRun(const std::string& strMessage)
{
    ShowMessage(strMessage);
}

bool CConverterApp::RunConversion()
{
    // The model and the file formats show their boxes through the same front end.
    CMessageBoxScope boxes(&m_dialogs);
    m_nExitCode = 1;
    const std::string strSavedDir = m_fileSystem.GetCurrentDir();
    SRunPaths run;
    if (!m_strGivenOld.empty())
        run.strGivenOld = MakeAbsolutePath(strSavedDir, m_strGivenOld, m_fileSystem.GetPathStyle());
    SearchRoots(run);
    m_fileSystem.SetCurrentDir(strSavedDir);

    RunEnd end = SettleOldFile(run);
    if (!end)
        end = ConfirmOldFile(run);
    if (!end)
        end = SettleNewFile(run);
    if (!end)
        end = Convert(run.strOldPath, run.bOldNameAppended, run.strNewPath);
    if (end)
        EndRun(*end);
    return false;
}

void CConverterApp::SearchRoots(SRunPaths& run)
{
    // A legacy file handed over is the old installation: only version 5 is looked for.
    run.bOldFound = run.strGivenOld.empty() ? 0 : 1;
    CProgressDlg dlg(m_dialogs.CreateProgressView());
    dlg.Create();
    dlg.SetTitle("検索しています");
    dlg.SetStep(1);
    dlg.SetRange(0, 100);
    m_nEntryCount = 0;

    std::vector<std::string> arRoots = m_fileSystem.GetSearchRoots();
    if (arRoots.size() > 26)
        arRoots.resize(26);
    for (const std::string& strRoot : arRoots) {
        // A root that cannot be entered (like a drive without a medium) is passed over.
        if (m_search.BeginWalk(strRoot) && WalkRoot(strRoot, dlg, run))
            break;
    }
    dlg.DestroyWindow();
}

bool CConverterApp::WalkRoot(const std::string& strRoot, CProgressDlg& dlg, SRunPaths& run)
{
    std::string strNew;
    std::string strOld = SearchFolder(dlg, strNew, run.bOldFound, run.bNewFound);
    if (dlg.CheckCancelButton()) {
        if (ShowMessage("検索を中止しますか？", EMsgButtons::YesNo) == DlgResult::Yes) {
            run.strOldPath.clear();
            run.strNewPath.clear();
            run.bCancelled = 1;
            return true;
        }
        // Walk the same root again; a Cancel during this walk is
        // noticed after the next root.
        dlg.m_bCancel = 0;
        strOld = SearchRoot(strRoot, dlg, strNew, run.bOldFound, run.bNewFound);
    }
    if (!strOld.empty()) {
        run.strOldPath = PathsUpperCased() ? MakeUpperAscii(strOld) : strOld;
        run.bOldFound = 1;
    }
    if (!strNew.empty()) {
        run.strNewPath = strNew;
        run.bNewFound = 1;
    }
    return run.bOldFound && run.bNewFound;
}

CConverterApp::RunEnd CConverterApp::SettleOldFile(SRunPaths& run)
{
    if (run.bCancelled) {
        run.strOldPath = run.strGivenOld;  // the confirm field starts with what the user handed over
        return std::nullopt;
    }
    if (!run.strGivenOld.empty()) {
        run.strOldPath = run.strGivenOld;
    } else if (run.strOldPath.empty()) {
        if (RunEnd end = ChooseOldFile(run))
            return end;
    }
    const std::string strExt = UpperExtension(run.strOldPath);
    if (strExt != "FDF" && strExt != "YLI")
        return "指定ファイル " + run.strOldPath + " はユーザシート情報ファイルでありません。終了します";
    // The data file of the installation, whatever file was chosen in it.
    run.strOldPath = FileTheProgramSees(std::string(FolderOfPath(run.strOldPath, m_fileSystem.GetPathStyle())) +
                                        (strExt == "FDF" ? "User.FDF" : "User.YLI"));
    if (!m_fileSystem.FileExists(run.strOldPath))
        return kNoSheetInfo;
    run.bOldNameAppended = true;
    return std::nullopt;
}

CConverterApp::RunEnd CConverterApp::ChooseOldFile(SRunPaths& run)
{
    if (ShowMessage("旧バージョンのToviがインストールされていません\nフォルダを指定しますか？", EMsgButtons::YesNo) ==
        DlgResult::No)
        return kExiting;
    SFileDialogSpec fileDialog;
    fileDialog.bOpen = true;
    fileDialog.nFlags = kFileMustExist | kFileHideReadOnly;
    fileDialog.strFilter = kLegacyFilter;
    if (!m_dialogs.ShowFileDialog(fileDialog, run.strOldPath))
        return kExiting;
    return std::nullopt;
}

CConverterApp::RunEnd CConverterApp::ConfirmOldFile(SRunPaths& run)
{
    CConfirmDlg confirm(m_fileSystem, m_dialogs, run.strOldPath, run.bCancelled);
    if (confirm.DoModal() != DlgResult::Ok)
        return kExiting;
    // A file the user named instead keeps the name as typed.
    run.bOldNameAppended = run.bOldNameAppended && confirm.m_strPath == run.strOldPath;
    run.strOldPath = confirm.m_strPath;
    return std::nullopt;
}

CConverterApp::RunEnd CConverterApp::SettleNewFile(SRunPaths& run)
{
    if (run.strNewPath.empty()) {
        if (RunEnd end = ChooseNewFile(run))
            return end;
    }
    const std::string strNewFolder(FolderOfPath(run.strNewPath, m_fileSystem.GetPathStyle()));
    if (run.bCancelled &&
        !m_fileSystem.FileExists(strNewFolder + std::string(CInstallationSearch::kNames[3].pExecutable)) &&
        ShowMessage("指定したﾌｫﾙﾀﾞにはTovi５がｲﾝｽﾄｰﾙされていませんが、\n変換を行いますか？", EMsgButtons::YesNo) ==
            DlgResult::No)
        return kExiting;
    // Where version 5 reads a copy from the user's virtual store, that copy is replaced.
    run.strNewPath = FileTheProgramSees(strNewFolder + std::string(CInstallationSearch::kNames[3].pDataFile));
    if (m_fileSystem.FileExists(run.strNewPath) &&
        ShowMessage("ファイル USER.YLI が存在します。上書きしますか？", EMsgButtons::YesNo) == DlgResult::No)
        return kExiting;
    return std::nullopt;
}

CConverterApp::RunEnd CConverterApp::ChooseNewFile(SRunPaths& run)
{
    // After a stopped search the user names the file without being asked.
    if (!run.bCancelled && ShowMessage("Tovi５がインストールされていません\nフォルダを指定しますか？",
                                       EMsgButtons::YesNo) == DlgResult::No)
        return kExiting;
    SFileDialogSpec fileDialog;
    fileDialog.bOpen = false;
    fileDialog.strDefaultName = "USER.YLI";
    fileDialog.nFlags = kFileHideReadOnly;
    fileDialog.strFilter = "Tovi5形式(USER.YLI)|USER.YLI|";
    fileDialog.strTitle = "Tovi５のユーザシート情報ファイルを指定してください";
    if (!m_dialogs.ShowFileDialog(fileDialog, run.strNewPath))
        return kExiting;
    return std::nullopt;
}

CConverterApp::RunEnd CConverterApp::Convert(const std::string& strOldPath, bool bOldNameAppended,
                                             const std::string& strNewPath)
{
    std::string strOld;
    std::string strNew;
    if (PathsUpperCased()) {
        // File names ignore case: both paths are upper-cased whole.
        strOld = MakeUpperAscii(strOldPath);
        strNew = MakeUpperAscii(strNewPath);
    } else {
        // Only the file names the run appended are upper-cased; folders keep
        // their case, and an existing file matching ignoring case is the one used.
        strOld = strOldPath;
        if (bOldNameAppended) {
            const std::string_view strFolder = FolderOfPath(strOld, m_fileSystem.GetPathStyle());
            strOld = std::string(strFolder) + MakeUpperAscii(std::string_view(strOldPath).substr(strFolder.size()));
        }
        std::string strFound;
        if (m_fileSystem.FindFile(strOld, strFound))
            strOld = strFound;
        const std::string_view strNewFolder = FolderOfPath(strNewPath, m_fileSystem.GetPathStyle());
        strNew = std::string(strNewFolder) + MakeUpperAscii(strNewPath.substr(strNewFolder.size()));
        if (m_fileSystem.FindFile(strNew, strFound))
            strNew = strFound;
    }

    m_pDoc = m_makeDoc ? m_makeDoc() : nullptr;
    const char* pFailure = nullptr;
    // A legacy file that did not open, or that a read error stopped midway,
    // is not converted: the reader has said which ("... が開けません。" or
    // "... が読み込めません。", each with "読み込みを中止します。"), and the
    // run ends as after any other failure, with "終了します" and exit status
    // 1. The writer is not called, so the user's existing version-5 file
    // stays as it was, and no success message is shown.
    if (!m_pDoc || !m_pDoc->ReadLegacyFile(strOld))
        pFailure = kExiting;  // NOLINT(bugprone-branch-clone): ends as a failed write does
    else if (m_pDoc->GetSheetNum() <= 0)
        pFailure = kNoSheetInfo;
    else if (!WriteOutput(strOld, strNew))
        pFailure = kExiting;
    const std::string strBackup = m_pDoc ? m_pDoc->GetBackupPath() : std::string();
    m_pDoc.reset();
    if (pFailure)
        return pFailure;
    ShowMessage(strNew + "に出力しました");
    // Where the replaced file went, after the message and apart from it.
    if (!strBackup.empty())
        m_dialogs.ShowNote(BackupMadeLine(strBackup));
    m_nExitCode = 0;
    return std::nullopt;
}

bool CConverterApp::WriteOutput(const std::string& strOld, const std::string& strNew)
{
    // A folder guarded by the system (Program Files) is written by the same
    // program started with administrator rights, and then by it alone: this
    // one writes nothing, so nothing is ever half written by either.
    if (m_dialogs.CanWriteElevated() && m_fileSystem.ProbeOutputFile(strNew) == EOutputFailure::NoRights) {
        switch (m_dialogs.WriteElevated(strOld, strNew)) {
        case EElevatedWrite::Written:
            return true;
        case EElevatedWrite::Declined:
            ShowMessage(OutputFailureMessage(strNew, EOutputFailure::ElevationDeclined));
            return false;
        case EElevatedWrite::Failed:
            ShowMessage(OutputFailureMessage(strNew, EOutputFailure::ElevationFailed));
            return false;
        case EElevatedWrite::Unavailable:
            break;  // written here, and refused with the reason
        }
    }
    return m_pDoc->WriteVersion5File(strNew) != 0;
}

std::string CConverterApp::FileTheProgramSees(const std::string& strPath)
{
    std::string strCopy = m_fileSystem.FindVirtualStoreCopy(strPath);
    return strCopy.empty() ? strPath : strCopy;
}
