#pragma once
// Test doubles of the platform for the conversion run: an in-memory folder
// tree and a scripted front end that keeps one ordered transcript of every
// box and dialog it showed.

#include "frontends/UserDialogs.h"
#include "system/FileSystem.h"
#include "tests/support/ScriptedMessageBox.h"

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

/// Folders and files in memory. Every folder lists "." and ".." first, then
/// its entries in the order they were added.
class CScriptedFileSystem : public CFileSystem {
public:
    /// The tree holds the current folder m_strCurrent.
    CScriptedFileSystem();

    /// Adds a file (and its missing parent folders).
    void AddFile(const std::string& strPath);
    /// Adds a folder (and its missing parents).
    void AddFolder(const std::string& strPath);
    void SetRoots(std::vector<std::string> arRoots) { m_arRoots = std::move(arRoots); }

    EPathStyle GetPathStyle() const override { return EPathStyle::Posix; }
    std::string GetCurrentDir() override { return m_strCurrent; }
    bool SetCurrentDir(const std::string& strPath) override;
    std::vector<std::string> GetSearchRoots() override { return m_arRoots; }
    int OpenRoot(const std::string& strRoot) override;
    int OpenSubFolder(int nParent, std::string_view strName) override;
    bool ReadFolder(int nFolder, CFolderEntries& entries) override;
    void CloseFolder(int nFolder) override;
    bool FindFile(const std::string& strPath, std::string& strFound) override;
    bool IsFolder(const std::string& strPath) override { return m_folders.count(strPath) != 0; }
    std::string FindVirtualStoreCopy(const std::string& strPath) override;
    EOutputFailure ProbeOutputFile(const std::string& strPath) override;

    std::string m_strCurrent = "/start";
    std::vector<std::string> m_arOpenedRoots;  ///< every OpenRoot, in order
    int m_nOpenHandles = 0;
    int m_nFoldersRead = 0;  ///< ReadFolder calls
    /// The user's virtual store: a file's path -> the path of its copy there
    /// (the copy is added as a file too).
    std::map<std::string, std::string> m_storeCopies;
    /// Why an output file could not be made at a path (None for paths not listed).
    std::map<std::string, EOutputFailure> m_outputFailures;

private:
    struct SEntry {
        std::string strName;
        bool bFolder;
    };
    std::map<std::string, std::vector<SEntry>> m_folders;
    std::vector<std::string> m_arRoots;
    std::vector<std::string> m_arHandles;
};

/// The events of a progress window, counted: what a test of a progress view
/// checks it reported.
class CCountingProgressEvents : public CProgressEvents {
public:
    void OnCancel() override { ++m_nCancels; }
    void OnOK() override { ++m_nOKs; }

    int m_nCancels = 0;
    int m_nOKs = 0;
};

/// The searching-progress window: records what it was told and presses
/// Cancel at the pump that follows a chosen status text.
class CScriptedProgressView : public CProgressView {
public:
    struct SLog {
        std::vector<std::string> arTitles;
        std::vector<std::string> arStatus;
        std::vector<std::string> arPercent;
        std::set<std::string> cancelAtStatus;  ///< press Cancel after these files
        /// press Cancel after the n-th showing (from 1) of a file
        std::vector<std::pair<std::string, int>> cancelAtShowing;
        bool bCreated = false;
        bool bDestroyed = false;
    };
    CScriptedProgressView(SLog& log, std::vector<std::string>& arTranscript) : m_log(log), m_arTranscript(arTranscript)
    {
    }

    bool Create(CProgressEvents& events) override;
    void Destroy() override;
    void SetTitle(const std::string& strTitle) override { m_log.arTitles.push_back(strTitle); }
    void SetStatus(std::string_view strText) override;
    void SetRange(int, int) override {}
    void SetPos(int) override {}
    void SetPercentText(const std::string& strText) override { m_log.arPercent.push_back(strText); }
    void PumpMessages() override;

private:
    SLog& m_log;
    std::vector<std::string>& m_arTranscript;
    CProgressEvents* m_pEvents = nullptr;
    bool m_bCancelPending = false;
};

/// One step of the user in the confirm dialog.
struct SConfirmAction {
    enum EKind { kOK, kCancel, kFileButton, kType } eKind;
    std::optional<std::string> strText;  ///< kOK: replaces the field first; kType: typed, no OK
};

/// A front end that answers from scripts and records every box and dialog,
/// in the order shown, in m_arTranscript:
///   "box: TEXT", "ask: TEXT -> Yes|No", "progress: created|destroyed",
///   "confirm: TITLE", "open: TITLE", "save: TITLE" (the plain title when
///   the request has none), "elevate: OLD -> NEW".
/// Answers left unused when it goes fail the test: the order of the run's
/// questions is behaviour.
///
/// An open dialog that asks for an existing file (kFileMustExist) refuses a
/// scripted file that fileSystem does not hold, as every real dialog does,
/// and takes the next answer; the refused paths are kept in m_arRefusedFiles.
/// Such a dialog on a front end made without a file system fails the test.
class CScriptedFrontEnd : public CUserDialogs {
public:
    CScriptedFrontEnd() = default;
    explicit CScriptedFrontEnd(CFileSystem& fileSystem) : m_pFileSystem(&fileSystem) {}
    ~CScriptedFrontEnd() override;
    CScriptedFrontEnd(const CScriptedFrontEnd&) = delete;
    CScriptedFrontEnd& operator=(const CScriptedFrontEnd&) = delete;

    int Show(const std::string& strText, EMsgButtons eButtons) override;
    std::unique_ptr<CProgressView> CreateProgressView() override;
    std::unique_ptr<CConfirmView> CreateConfirmView() override;
    bool ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath) override;
    bool CanWriteElevated() const override { return m_elevation.has_value(); }
    /// Records "elevate: OLD -> NEW" and answers m_elevation.
    EElevatedWrite WriteElevated(const std::string& strOld, const std::string& strNew) override;

    /// Next answer to a question (DlgResult::Yes or DlgResult::No).
    void Answer(int nButton) { m_box.Answer(nButton); }
    /// Next file dialog answer; nullopt is Cancel.
    void AnswerFile(std::optional<std::string> strPath) { m_fileAnswers.push_back(std::move(strPath)); }
    void Confirm(SConfirmAction action) { m_confirmActions.push_back(std::move(action)); }

    CMessageBoxRecorder m_box;  ///< the boxes shown through this front end
    std::vector<std::string> m_arTranscript;
    CScriptedProgressView::SLog m_progress;
    std::vector<SFileDialogSpec> m_arFileDialogs;
    std::vector<std::string> m_arConfirmTitles;
    std::vector<std::string> m_arConfirmFields;  ///< field text at each OK
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::vector<std::string> m_arRefusedFiles;  ///< answers a must-exist dialog refused
    std::deque<SConfirmAction> m_confirmActions;
    /// What asking for administrator rights gives; nullopt: this front end
    /// cannot ask (as the console cannot).
    std::optional<EElevatedWrite> m_elevation;

private:
    CFileSystem* m_pFileSystem = nullptr;  ///< what a must-exist dialog checks against
};
