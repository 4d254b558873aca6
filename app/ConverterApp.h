#pragma once
// The application object: the whole conversion run. It has the search roots
// searched for the old installation (version 2, 3 or 4: an executable beside
// its user-sheet file) and the new one (the version-5 executable), settles the two
// paths with the user, has the file-format document read the legacy file and
// write the version-5 file, and says where it wrote.

#include "app/ProgressDlg.h"
#include "frontends/UserDialogs.h"
#include "search/InstallationSearch.h"
#include "system/FileSystem.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The file-format document of one conversion as the run uses it.
class CConversionDoc {
public:
    virtual ~CConversionDoc() = default;
    /// 1 when the file opened and was read whole; 0 after showing its own
    /// message (the file did not open, or a read error stopped it).
    virtual int ReadLegacyFile(std::string strPath) = 0;
    /// 1 when written (or when there is no sheet); 0 after showing its own message.
    virtual int WriteVersion5File(std::string strPath) = 0;
    virtual int GetSheetNum() const = 0;
    /// The backup of the file the write replaced; "" when it replaced none.
    virtual std::string GetBackupPath() const { return {}; }
};

using DocFactory = std::function<std::unique_ptr<CConversionDoc>()>;

class CConverterApp {
public:
    CConverterApp(CFileSystem& fileSystem, CUserDialogs& dialogs, DocFactory makeDoc);

    /// The whole program. Always returns false (nothing to continue with).
    bool RunConversion();
    /// 0 when the run wrote the output file, 1 otherwise.
    int GetExitCode() const { return m_nExitCode; }

    /// The legacy file the user handed over on starting the program (a file
    /// dropped on it): taken as if chosen in the open-file dialog, so the
    /// search looks for version 5 only. A relative path is taken from the
    /// current directory at start-up.
    void SetGivenOldFile(std::string strPath) { m_strGivenOld = std::move(strPath); }

    /// The walk of the search (search/InstallationSearch.h) with this run's
    /// progress window and entry count.
    std::string SearchFolder(CProgressDlg& dlg, std::string& strNewPath, int bOldFound, int bNewFound)
    {
        return m_search.SearchFolder(dlg, strNewPath, bOldFound, bNewFound);
    }
    std::string SearchRoot(const std::string& strRoot, CProgressDlg& dlg, std::string& strNewPath, int bOldFound,
                           int bNewFound)
    {
        return m_search.SearchRoot(strRoot, dlg, strNewPath, bOldFound, bNewFound);
    }
    static constexpr unsigned kReadAheadHelpers = CInstallationSearch::kReadAheadHelpers;
    void SetReadAhead(unsigned nHelpers, size_t nMaxAheadCost = CFolderReadAhead::kMaxAheadCost)
    {
        m_search.SetReadAhead(nHelpers, nMaxAheadCost);
    }

    /// Folder entries taken from listings by all walks of the run. Unsigned:
    /// after 2^32 entries it starts over at 0, well defined.
    std::uint32_t m_nEntryCount = 0;
    std::unique_ptr<CConversionDoc> m_pDoc;

private:
    /// What the run has settled so far.
    struct SRunPaths {
        std::string strGivenOld;  ///< the file handed over, made absolute; "" when none
        std::string strOldPath;
        std::string strNewPath;
        int bOldFound = 0;
        int bNewFound = 0;
        int bCancelled = 0;  ///< the search was stopped: the user names both files
        /// strOldPath ends in the data-file name the run put there, not one the user typed.
        bool bOldNameAppended = false;
    };
    /// What a step of the run ends in: the message the run ends with, or
    /// nothing when the run goes on (after Convert: when it wrote the file).
    using RunEnd = std::optional<std::string>;

    /// Shows a message box through the run's front end.
    int ShowMessage(const std::string& strText, EMsgButtons eButtons = EMsgButtons::Ok);
    /// The one place a run that did not write ends: its last message.
    void EndRun(const std::string& strMessage);
    /// Walks the search roots under the progress window until both
    /// installations are found or the user stops the search.
    void SearchRoots(SRunPaths& run);
    /// Walks one root whose walk began and takes what it found; true when
    /// the search ends here (both found, or stopped).
    bool WalkRoot(const std::string& strRoot, CProgressDlg& dlg, SRunPaths& run);
    /// The old installation's data file: found, handed over or chosen.
    RunEnd SettleOldFile(SRunPaths& run);
    RunEnd ChooseOldFile(SRunPaths& run);
    /// The user confirms (or, after a stopped search, names) the old file.
    RunEnd ConfirmOldFile(SRunPaths& run);
    /// The version-5 data file the output replaces: found or chosen.
    RunEnd SettleNewFile(SRunPaths& run);
    RunEnd ChooseNewFile(SRunPaths& run);
    /// Reads the legacy file and writes the output; on success announces it
    /// and sets the exit code to 0.
    RunEnd Convert(const std::string& strOldPath, bool bOldNameAppended, const std::string& strNewPath);
    /// Writes the output file from m_pDoc, or has it written with
    /// administrator rights where the folder needs them; false after the
    /// failure was shown.
    bool WriteOutput(const std::string& strOld, const std::string& strNew);
    /// Where file names ignore case (Windows), paths are shown and used
    /// upper-cased whole; elsewhere only the names the run appends are.
    bool PathsUpperCased() const { return m_fileSystem.GetPathStyle() == EPathStyle::Windows; }
    /// The store's copy of the file when the user's virtual store holds one
    /// (the copy the installation's program reads), else strPath itself.
    std::string FileTheProgramSees(const std::string& strPath);

    CFileSystem& m_fileSystem;
    CUserDialogs& m_dialogs;
    DocFactory m_makeDoc;
    int m_nExitCode = 1;
    std::string m_strGivenOld;
    CInstallationSearch m_search;
};
