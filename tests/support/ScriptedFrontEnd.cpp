#include "tests/support/ScriptedFrontEnd.h"

#include "text/CodePage.h"
#include "text/MessageBox.h"
#include "text/Path.h"

#include <gtest/gtest.h>

#include <algorithm>

void CScriptedFileSystem::AddFolder(const std::string& strPath)
{
    if (m_folders.count(strPath))
        return;
    m_folders[strPath] = {{".", true}, {"..", true}};
    const std::string_view strParent = FolderOfPath(strPath, EPathStyle::Posix);
    if (strParent.empty() || strPath == "/")
        return;
    const std::string strParentPath =
        strParent.size() > 1 ? std::string(strParent.substr(0, strParent.size() - 1)) : std::string("/");
    AddFolder(strParentPath);
    m_folders[strParentPath].push_back({strPath.substr(strParent.size()), true});
}

void CScriptedFileSystem::AddFile(const std::string& strPath)
{
    const std::string_view strParent = FolderOfPath(strPath, EPathStyle::Posix);
    const std::string strParentPath =
        strParent.size() > 1 ? std::string(strParent.substr(0, strParent.size() - 1)) : std::string("/");
    AddFolder(strParentPath);
    m_folders[strParentPath].push_back({strPath.substr(strParent.size()), false});
}

CScriptedFileSystem::CScriptedFileSystem()
{
    AddFolder(m_strCurrent);
}

std::string CScriptedFileSystem::FindVirtualStoreCopy(const std::string& strPath)
{
    const auto it = m_storeCopies.find(strPath);
    return it == m_storeCopies.end() ? std::string() : it->second;
}

EOutputFailure CScriptedFileSystem::ProbeOutputFile(const std::string& strPath)
{
    const auto it = m_outputFailures.find(strPath);
    return it == m_outputFailures.end() ? EOutputFailure::None : it->second;
}

bool CScriptedFileSystem::SetCurrentDir(const std::string& strPath)
{
    // As a real one: a folder that is not there stays the current one's.
    if (!m_folders.count(strPath))
        return false;
    m_strCurrent = strPath;
    return true;
}

int CScriptedFileSystem::OpenRoot(const std::string& strRoot)
{
    m_arOpenedRoots.push_back(strRoot);
    if (!m_folders.count(strRoot))
        return -1;
    m_arHandles.push_back(strRoot);
    ++m_nOpenHandles;
    return static_cast<int>(m_arHandles.size() - 1);
}

int CScriptedFileSystem::OpenSubFolder(int nParent, std::string_view strName)
{
    const std::string strPath = JoinPath(m_arHandles.at(static_cast<size_t>(nParent)), strName, EPathStyle::Posix);
    if (!m_folders.count(strPath))
        return -1;
    m_arHandles.push_back(strPath);
    ++m_nOpenHandles;
    return static_cast<int>(m_arHandles.size() - 1);
}

bool CScriptedFileSystem::ReadFolder(int nFolder, CFolderEntries& entries)
{
    ++m_nFoldersRead;
    entries.Clear();
    for (const SEntry& entry : m_folders.at(m_arHandles.at(static_cast<size_t>(nFolder))))
        entries.Add(entry.strName, entry.bFolder);
    return true;
}

void CScriptedFileSystem::CloseFolder(int)
{
    --m_nOpenHandles;
}

bool CScriptedFileSystem::FindFile(const std::string& strPath, std::string& strFound)
{
    const std::string_view strParent = FolderOfPath(strPath, EPathStyle::Posix);
    // A bare name is looked up in the current folder, as a real one does.
    const std::string strParentPath = strParent.empty()      ? m_strCurrent
                                      : strParent.size() > 1 ? std::string(strParent.substr(0, strParent.size() - 1))
                                                             : std::string("/");
    const std::string strBase = strPath.substr(strParent.size());
    auto it = m_folders.find(strParentPath);
    if (it == m_folders.end())
        return false;
    std::optional<std::string> strMatch;
    for (const SEntry& entry : it->second) {
        if (entry.bFolder)
            continue;
        if (entry.strName == strBase) {
            strMatch = entry.strName;
            break;
        }
        if (EqualNoCaseAscii(entry.strName, strBase))
            strMatch = entry.strName;
    }
    if (!strMatch)
        return false;
    strFound = std::string(strParent) + *strMatch;
    return true;
}

bool CScriptedProgressView::Create(CProgressEvents& events)
{
    m_pEvents = &events;
    m_log.bCreated = true;
    m_arTranscript.emplace_back("progress: created");
    return true;
}

void CScriptedProgressView::Destroy()
{
    m_log.bDestroyed = true;
    m_arTranscript.emplace_back("progress: destroyed");
}

void CScriptedProgressView::SetStatus(std::string_view strText)
{
    m_log.arStatus.emplace_back(strText);
    if (m_log.cancelAtStatus.erase(std::string(strText)))
        m_bCancelPending = true;
    const auto nShowing = std::count(m_log.arStatus.begin(), m_log.arStatus.end(), m_log.arStatus.back());
    for (const auto& [strFile, nNth] : m_log.cancelAtShowing) {
        if (strFile == strText && nNth == nShowing)
            m_bCancelPending = true;
    }
}

void CScriptedProgressView::PumpMessages()
{
    if (m_bCancelPending && m_pEvents) {
        m_bCancelPending = false;
        m_pEvents->OnCancel();
    }
}

namespace {

class CScriptedConfirmView : public CConfirmView {
public:
    explicit CScriptedConfirmView(CScriptedFrontEnd& dialogs) : m_dialogs(dialogs) {}

    int DoModal(const std::string& strTitle, const std::string&, const std::string& strField,
                CConfirmEvents& events) override
    {
        m_dialogs.m_arConfirmTitles.push_back(strTitle);
        m_dialogs.m_arTranscript.push_back("confirm: " + strTitle);
        m_strField = strField;
        while (!m_dialogs.m_confirmActions.empty()) {
            SConfirmAction action = m_dialogs.m_confirmActions.front();
            m_dialogs.m_confirmActions.pop_front();
            switch (action.eKind) {
            case SConfirmAction::kCancel:
                return DlgResult::Cancel;
            case SConfirmAction::kFileButton:
                events.OnFileButton();
                break;
            case SConfirmAction::kType:
                m_strField = action.strText.value_or("");
                break;
            case SConfirmAction::kOK:
                if (action.strText)
                    m_strField = *action.strText;
                m_dialogs.m_arConfirmFields.push_back(m_strField);
                if (events.OnOK(m_strField))
                    return DlgResult::Ok;
                break;
            }
        }
        ADD_FAILURE() << "the confirm dialog waits for an action nobody scripted";
        return DlgResult::Cancel;
    }
    void SetFieldText(const std::string& strField) override { m_strField = strField; }

private:
    CScriptedFrontEnd& m_dialogs;
    std::string m_strField;
};

}  // namespace

std::unique_ptr<CProgressView> CScriptedFrontEnd::CreateProgressView()
{
    return std::make_unique<CScriptedProgressView>(m_progress, m_arTranscript);
}

std::unique_ptr<CConfirmView> CScriptedFrontEnd::CreateConfirmView()
{
    return std::make_unique<CScriptedConfirmView>(*this);
}

bool CScriptedFrontEnd::ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath)
{
    m_arFileDialogs.push_back(fileDialog);
    m_arTranscript.push_back(
        (fileDialog.bOpen ? "open: " : "save: ") +
        (fileDialog.strTitle.empty() ? std::string(PlainFileDialogTitle(fileDialog.bOpen)) : fileDialog.strTitle));
    const bool bMustExist = fileDialog.bOpen && (fileDialog.nFlags & kFileMustExist) != 0;
    if (bMustExist && !m_pFileSystem) {
        ADD_FAILURE() << "a must-exist open dialog on a scripted front end without a file system to check";
        return false;
    }
    for (;;) {
        if (m_fileAnswers.empty()) {
            ADD_FAILURE() << (m_arRefusedFiles.empty() ? "a file dialog nobody scripted"
                                                       : "a file dialog refused a missing file; nobody scripted more");
            return false;
        }
        std::optional<std::string> strAnswer = m_fileAnswers.front();
        m_fileAnswers.pop_front();
        if (!strAnswer)
            return false;
        // The real dialogs refuse a file that is not there and stay open.
        if (bMustExist && !m_pFileSystem->FileExists(*strAnswer)) {
            m_arRefusedFiles.push_back(*strAnswer);
            continue;
        }
        strPath = *strAnswer;
        return true;
    }
}

CScriptedFrontEnd::~CScriptedFrontEnd()
{
    EXPECT_EQ(m_box.UnusedAnswers(), 0u) << "questions scripted but never asked";
    EXPECT_TRUE(m_fileAnswers.empty()) << "file dialogs scripted but never shown";
    EXPECT_TRUE(m_confirmActions.empty()) << "confirm actions scripted but never taken";
}

int CScriptedFrontEnd::Show(const std::string& strText, EMsgButtons eButtons)
{
    const int nAnswer = m_box.Show(strText, eButtons);
    if (eButtons == EMsgButtons::Ok)
        m_arTranscript.push_back("box: " + strText);
    else
        m_arTranscript.push_back("ask: " + strText + (nAnswer == DlgResult::Yes ? " -> Yes" : " -> No"));
    return nAnswer;
}

EElevatedWrite CScriptedFrontEnd::WriteElevated(const std::string& strOld, const std::string& strNew)
{
    m_arTranscript.push_back("elevate: " + strOld + " -> " + strNew);
    return m_elevation.value_or(EElevatedWrite::Unavailable);
}
