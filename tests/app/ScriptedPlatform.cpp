#include "ScriptedPlatform.h"

#include "platform/CodePage.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>

void CScriptedFileSystem::AddFolder(const std::string& strPath)
{
    if (m_folders.count(strPath))
        return;
    m_folders[strPath] = {{".", true}, {"..", true}};
    const std::string_view strParent = FolderOfPath(strPath);
    if (strParent.empty() || strPath == "/")
        return;
    const std::string strParentPath = strParent.size() > 1 ? std::string(strParent.substr(0, strParent.size() - 1))
                                                           : std::string("/");
    AddFolder(strParentPath);
    m_folders[strParentPath].push_back({strPath.substr(strParent.size()), true});
}

void CScriptedFileSystem::AddFile(const std::string& strPath)
{
    const std::string_view strParent = FolderOfPath(strPath);
    const std::string strParentPath = strParent.size() > 1 ? std::string(strParent.substr(0, strParent.size() - 1))
                                                           : std::string("/");
    AddFolder(strParentPath);
    m_folders[strParentPath].push_back({strPath.substr(strParent.size()), false});
}

bool CScriptedFileSystem::SetCurrentDir(const std::string& strPath)
{
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
    const std::string strPath = JoinPath(m_arHandles.at(static_cast<size_t>(nParent)), strName);
    if (!m_folders.count(strPath))
        return -1;
    m_arHandles.push_back(strPath);
    ++m_nOpenHandles;
    return static_cast<int>(m_arHandles.size() - 1);
}

bool CScriptedFileSystem::ReadFolder(int nFolder, CFolderEntries& entries)
{
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
    const std::string_view strParent = FolderOfPath(strPath);
    const std::string strParentPath = strParent.size() > 1 ? std::string(strParent.substr(0, strParent.size() - 1))
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
    return true;
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
    explicit CScriptedConfirmView(CScriptedDialogs& dialogs) : m_dialogs(dialogs) {}

    int DoModal(const std::string& strTitle, const std::string&, const std::string& strField,
                CConfirmEvents& events) override
    {
        m_dialogs.m_arConfirmTitles.push_back(strTitle);
        m_strField = strField;
        while (!m_dialogs.m_confirmActions.empty()) {
            SConfirmAction action = m_dialogs.m_confirmActions.front();
            m_dialogs.m_confirmActions.pop_front();
            switch (action.eKind) {
            case SConfirmAction::kCancel:
                return IDCANCEL;
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
                    return IDOK;
                break;
            }
        }
        ADD_FAILURE() << "the confirm dialog waits for an action nobody scripted";
        return IDCANCEL;
    }
    void SetFieldText(const std::string& strField) override { m_strField = strField; }

private:
    CScriptedDialogs& m_dialogs;
    std::string m_strField;
};

class CRecordingDoc : public CConversionDoc {
public:
    explicit CRecordingDoc(SDocLog& log) : m_log(log) {}
    int ReadLegacyFile(std::string strPath) override
    {
        m_log.arRead.push_back(strPath);
        return m_log.nReadResult;
    }
    int WriteVersion5File(std::string strPath) override
    {
        m_log.arWritten.push_back(strPath);
        return m_log.nWriteResult;
    }
    int GetSheetNum() const override { return m_log.nSheets; }

private:
    SDocLog& m_log;
};

}  // namespace

std::unique_ptr<CProgressView> CScriptedDialogs::CreateProgressView()
{
    return std::make_unique<CScriptedProgressView>(m_progress);
}

std::unique_ptr<CConfirmView> CScriptedDialogs::CreateConfirmView()
{
    return std::make_unique<CScriptedConfirmView>(*this);
}

bool CScriptedDialogs::ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath)
{
    m_arFileDialogs.push_back(fileDialog);
    if (m_fileAnswers.empty()) {
        ADD_FAILURE() << "a file dialog nobody scripted";
        return false;
    }
    std::optional<std::string> strAnswer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    if (!strAnswer)
        return false;
    strPath = *strAnswer;
    return true;
}

DocFactory MakeRecordingDoc(SDocLog& log)
{
    return [&log] { return std::unique_ptr<CConversionDoc>(std::make_unique<CRecordingDoc>(log)); };
}
