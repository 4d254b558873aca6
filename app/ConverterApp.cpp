#include "app/ConverterApp.h"

#include "app/ConfirmDlg.h"
#include "platform/Backup.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "platform/Path.h"

namespace {

constexpr const char* kExiting = "終了します";
constexpr const char* kNoSheetInfo = "ユーザシートの情報がありません。終了します";

/// Ends the read-ahead of a walk however the walk ends.
class CWalkEnd {
public:
    explicit CWalkEnd(CFolderReadAhead& readAhead) : m_readAhead(readAhead) {}
    ~CWalkEnd() { m_readAhead.End(); }
    CWalkEnd(const CWalkEnd&) = delete;
    CWalkEnd& operator=(const CWalkEnd&) = delete;

private:
    CFolderReadAhead& m_readAhead;
};

/// The root without its trailing separators ("/" becomes "", "C:\\" becomes
/// "C:"): the walk puts one separator before every name it appends.
std::string_view WithoutTrailingSeparators(std::string_view strPath, EPathStyle eStyle)
{
    while (!strPath.empty() && IsPathSeparator(strPath.back(), eStyle))
        strPath.remove_suffix(1);
    return strPath;
}

bool IsDotEntry(std::string_view strName)
{
    return strName == "." || strName == "..";
}

}  // namespace

CConverterApp::CConverterApp(CFileSystem& fileSystem, CUserDialogs& dialogs, DocFactory makeDoc)
    : m_fileSystem(fileSystem),
      m_dialogs(dialogs),
      m_makeDoc(std::move(makeDoc)),
      m_cSeparator(PathSeparator(fileSystem.GetPathStyle())),
      m_readAhead(fileSystem, kReadAheadHelpers)
{
}

int CConverterApp::ShowMessage(const std::string& strText, EMsgButtons eButtons)
{
    return m_dialogs.Show(strText, eButtons);
}

void CConverterApp::EndRun(const char* pMessage)
{
    ShowMessage(pMessage);
}

bool CConverterApp::RunConversion()
{
    // The model and the file formats show their boxes through the same front end.
    CMessageBoxScope boxes(&m_dialogs);
    m_nExitCode = 1;
    const std::string strSavedDir = m_fileSystem.GetCurrentDir();

    std::string strOldPath;
    std::string strNewPath;
    std::string strGivenOld;
    if (!m_strGivenOld.empty())
        strGivenOld = MakeAbsolutePath(strSavedDir, m_strGivenOld, m_fileSystem.GetPathStyle());
    // A legacy file handed over is the old installation: only version 5 is looked for.
    int bOldFound = strGivenOld.empty() ? 0 : 1;
    int bNewFound = 0;
    int bCancelled = 0;
    {
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
            if (!BeginWalk(strRoot))
                continue;  // like a drive without a medium
            std::string strNew;
            std::string strOld = SearchFolder(dlg, strNew, bOldFound, bNewFound);
            if (dlg.CheckCancelButton()) {
                if (ShowMessage("検索を中止しますか？", EMsgButtons::YesNo) == DlgResult::Yes) {
                    strOldPath.clear();
                    strNewPath.clear();
                    bCancelled = 1;
                    break;
                }
                // Walk the same root again; a Cancel during this walk is
                // noticed after the next root.
                dlg.m_bCancel = 0;
                strOld = SearchRoot(strRoot, dlg, strNew, bOldFound, bNewFound);
            }
            if (!strOld.empty()) {
                strOldPath = PathsUpperCased() ? MakeUpperAscii(strOld) : strOld;
                bOldFound = 1;
            }
            if (!strNew.empty()) {
                strNewPath = strNew;
                bNewFound = 1;
            }
            if (bOldFound && bNewFound)
                break;
        }
        dlg.DestroyWindow();
    }
    m_fileSystem.SetCurrentDir(strSavedDir);

    bool bOldNameAppended = false;
    if (bCancelled) {
        strOldPath = strGivenOld;  // the confirm field starts with what the user handed over
    } else {
        if (!strGivenOld.empty()) {
            strOldPath = strGivenOld;
        } else if (strOldPath.empty()) {
            if (ShowMessage("旧バージョンのToviがインストールされていません\nフォルダを指定しますか？",
                            EMsgButtons::YesNo) == DlgResult::No) {
                EndRun(kExiting);
                return false;
            }
            SFileDialogSpec fileDialog;
            fileDialog.bOpen = true;
            fileDialog.nFlags = kFileMustExist | kFileHideReadOnly;
            fileDialog.strFilter = kLegacyFilter;
            if (!m_dialogs.ShowFileDialog(fileDialog, strOldPath)) {
                EndRun(kExiting);
                return false;
            }
        }
        const std::string strExt = UpperExtension(strOldPath);
        if (strExt != "FDF" && strExt != "YLI") {
            ShowMessage("指定ファイル " + strOldPath + " はユーザシート情報ファイルでありません。終了します");
            return false;
        }
        // The data file of the installation, whatever file was chosen in it.
        strOldPath = FileTheProgramSees(std::string(FolderOfPath(strOldPath, m_fileSystem.GetPathStyle())) +
                                        (strExt == "FDF" ? "User.FDF" : "User.YLI"));
        if (!m_fileSystem.FileExists(strOldPath)) {
            EndRun(kNoSheetInfo);
            return false;
        }
        bOldNameAppended = true;
    }

    CConfirmDlg confirm(m_fileSystem, m_dialogs, strOldPath, bCancelled);
    if (confirm.DoModal() != DlgResult::Ok) {
        EndRun(kExiting);
        return false;
    }
    bOldNameAppended = bOldNameAppended && confirm.m_strPath == strOldPath;
    strOldPath = confirm.m_strPath;

    if (strNewPath.empty()) {
        if (!bCancelled && ShowMessage("Tovi５がインストールされていません\nフォルダを指定しますか？",
                                       EMsgButtons::YesNo) == DlgResult::No) {
            EndRun(kExiting);
            return false;
        }
        SFileDialogSpec fileDialog;
        fileDialog.bOpen = false;
        fileDialog.strDefaultName = "USER.YLI";
        fileDialog.nFlags = kFileHideReadOnly;
        fileDialog.strFilter = "Tovi5形式(USER.YLI)|USER.YLI|";
        fileDialog.strTitle = "Tovi５のユーザシート情報ファイルを指定してください";
        if (!m_dialogs.ShowFileDialog(fileDialog, strNewPath)) {
            EndRun(kExiting);
            return false;
        }
    }

    const std::string strNewFolder(FolderOfPath(strNewPath, m_fileSystem.GetPathStyle()));
    if (bCancelled && !m_fileSystem.FileExists(strNewFolder + std::string(kNames[3].pExecutable))) {
        if (ShowMessage("指定したﾌｫﾙﾀﾞにはTovi５がｲﾝｽﾄｰﾙされていませんが、\n変換を行いますか？", EMsgButtons::YesNo) ==
            DlgResult::No) {
            EndRun(kExiting);
            return false;
        }
    }
    // Where version 5 reads a copy from the user's virtual store, that copy is replaced.
    strNewPath = FileTheProgramSees(strNewFolder + std::string(kNames[3].pDataFile));
    if (m_fileSystem.FileExists(strNewPath)) {
        if (ShowMessage("ファイル USER.YLI が存在します。上書きしますか？", EMsgButtons::YesNo) == DlgResult::No) {
            EndRun(kExiting);
            return false;
        }
    }

    Convert(strOldPath, bOldNameAppended, strNewPath);
    return false;
}

bool CConverterApp::Convert(const std::string& strOldPath, bool bOldNameAppended, const std::string& strNewPath)
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
    if (pFailure) {
        EndRun(pFailure);
        return false;
    }
    ShowMessage(strNew + "に出力しました");
    // Where the replaced file went, after the message and apart from it.
    if (!strBackup.empty())
        m_dialogs.ShowNote(BackupMadeLine(strBackup));
    m_nExitCode = 0;
    return true;
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

bool CConverterApp::BeginWalk(const std::string& strRoot)
{
    if (!m_readAhead.Begin(strRoot))
        return false;
    m_strWalkPath.assign(WithoutTrailingSeparators(strRoot, m_fileSystem.GetPathStyle()));
    return true;
}

std::string CConverterApp::SearchRoot(const std::string& strRoot, CProgressDlg& dlg, std::string& strNewPath,
                                      int bOldFound, int bNewFound)
{
    if (!BeginWalk(strRoot))
        return std::string();
    return SearchFolder(dlg, strNewPath, bOldFound, bNewFound);
}

int CConverterApp::FindPartner(const CFolderEntries& entries, std::string_view strFolder, std::string_view strName,
                               std::string& strPath) const
{
    size_t nMatch = entries.Size();
    for (size_t i = 0; i < entries.Size(); ++i) {
        if (!entries.IsFolder(i) && EqualNoCaseAscii(entries.Name(i), strName))
            nMatch = i;
    }
    if (nMatch == entries.Size())
        return 0;
    strPath.assign(strFolder);
    strPath += m_cSeparator;
    strPath.append(entries.Name(nMatch));
    return 1;
}

void CConverterApp::EnterLevel(size_t nLevel, int bOldFound, int bNewFound)
{
    static const CFolderEntries kNoEntries;
    if (m_arLevels.size() <= nLevel)
        m_arLevels.resize(nLevel + 1);
    SWalkLevel& level = m_arLevels[nLevel];
    const CFolderEntries* pEntries = m_readAhead.Next();
    level.pEntries = pEntries ? pEntries : &kNoEntries;
    level.nNextEntry = 0;
    level.nPathLength = m_strWalkPath.size();
    level.bFilesDone = false;
    level.bOldFound = bOldFound;
    level.bNewFound = bNewFound;
    level.strFoundOld.clear();
    level.strNewPath.clear();
}

bool CConverterApp::SearchFiles(SWalkLevel& level, CProgressDlg& dlg, std::string& strNewPath)
{
    const CFolderEntries& entries = *level.pEntries;
    const size_t nFolderLength = level.nPathLength;
    for (size_t i = 0; i < entries.Size(); ++i) {
        if (dlg.CheckCancelButton())
            return false;
        if (m_nEntryCount % 1000 == 0)
            dlg.StepIt();
        ++m_nEntryCount;
        if (entries.IsFolder(i))
            continue;

        const std::string_view strName = entries.Name(i);
        m_strWalkPath.resize(nFolderLength);
        m_strWalkPath += m_cSeparator;
        m_strWalkPath.append(strName);
        dlg.SetStatus(m_strWalkPath);

        if (!level.bOldFound) {
            // Versions 2, 3 and 4, executable before data file: the first
            // name that matches decides.
            for (size_t nVersion = 0; nVersion < 3; ++nVersion) {
                const SVersionNames& names = kNames[nVersion];
                const bool bExecutable = EqualNoCaseAscii(strName, names.pExecutable);
                if (!bExecutable && !EqualNoCaseAscii(strName, names.pDataFile))
                    continue;
                std::string strPartner;
                const std::string_view strFolder(m_strWalkPath.data(), nFolderLength);
                if (FindPartner(entries, strFolder, bExecutable ? names.pDataFile : names.pExecutable, strPartner)) {
                    level.strFoundOld = bExecutable ? strPartner : m_strWalkPath;
                    level.bOldFound = 1;
                }
                break;
            }
        }
        if (!level.bNewFound && EqualNoCaseAscii(strName, kNames[3].pExecutable)) {
            strNewPath = m_strWalkPath;
            level.bNewFound = 1;
        }
        if (level.bOldFound && level.bNewFound)
            break;
    }
    m_strWalkPath.resize(nFolderLength);
    return true;
}

std::string CConverterApp::EndCancelledWalk(CProgressDlg& dlg, size_t nLevel)
{
    // Every level above returns "" after its own look at the Cancel button
    // (which pumps the dialog's messages), as a walk returning level by
    // level does.
    for (; nLevel > 0; --nLevel)
        dlg.CheckCancelButton();
    return std::string();
}

std::string CConverterApp::SearchFolder(CProgressDlg& dlg, std::string& strNewPath, int bOldFound, int bNewFound)
{
    // One level per folder from the root down to the folder being walked;
    // the read-ahead hands out the listings in the order the levels ask.
    CWalkEnd walkEnd(m_readAhead);
    size_t nTop = 0;
    EnterLevel(0, bOldFound, bNewFound);
    for (;;) {
        SWalkLevel& level = m_arLevels[nTop];
        std::string& strLevelNew = nTop == 0 ? strNewPath : level.strNewPath;
        const CFolderEntries& entries = *level.pEntries;
        if (!level.bFilesDone) {
            if (!SearchFiles(level, dlg, strLevelNew))
                return EndCancelledWalk(dlg, nTop);
            level.bFilesDone = true;
        }
        // The next subfolder, unless both installations are found.
        size_t i = level.nNextEntry;
        if (!(level.bOldFound && level.bNewFound)) {
            while (i < entries.Size() && (!entries.IsFolder(i) || IsDotEntry(entries.Name(i))))
                ++i;
        } else {
            i = entries.Size();
        }
        if (i < entries.Size()) {
            level.nNextEntry = i + 1;
            m_strWalkPath += m_cSeparator;
            m_strWalkPath.append(entries.Name(i));
            EnterLevel(++nTop, level.bOldFound, level.bNewFound);
            continue;
        }

        // This folder's walk is done: its result goes to the level above.
        if (nTop == 0)
            return std::move(level.strFoundOld);
        SWalkLevel& parent = m_arLevels[--nTop];
        m_strWalkPath.resize(parent.nPathLength);
        if (dlg.CheckCancelButton())
            return EndCancelledWalk(dlg, nTop);
        if (!level.strFoundOld.empty()) {
            parent.strFoundOld = std::move(level.strFoundOld);
            parent.bOldFound = 1;
        }
        if (!level.strNewPath.empty()) {
            (nTop == 0 ? strNewPath : parent.strNewPath) = std::move(level.strNewPath);
            parent.bNewFound = 1;
        }
    }
}
