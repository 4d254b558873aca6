#pragma once
// The application object: the whole conversion run. It searches the search
// roots for the old installation (version 2, 3 or 4: an executable beside its
// user-sheet file) and the new one (the version-5 executable), settles the two
// paths with the user, has the file-format document read the legacy file and
// write the version-5 file, and says where it wrote.

#include "app/ProgressDlg.h"
#include "platform/FileSystem.h"
#include "platform/FolderReadAhead.h"
#include "platform/UserDialogs.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
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

    /// Walks the folder whose walk BeginWalk began (its path is
    /// m_strWalkPath) depth first, files of a folder before its subfolders,
    /// and ends that walk before returning. Returns the old installation's
    /// data-file path found below it, or "". Writes the version-5
    /// executable's path into strNewPath when it meets one (kept on Cancel
    /// only when met among the folder's own files or in a subfolder whose
    /// walk had ended). No recursion: a tree of any depth walks alike.
    std::string SearchFolder(CProgressDlg& dlg, std::string& strNewPath, int bOldFound, int bNewFound);
    /// Opens a search root for SearchFolder; false when it cannot be entered.
    /// Trailing separators of the root are dropped, so "/" walks "/bin" and
    /// not "//bin", and "C:\\" walks "C:\\bin".
    bool BeginWalk(const std::string& strRoot);
    /// Helper threads that read folders ahead of the walk (0: none), and how
    /// far ahead they read (see CFolderReadAhead). They mostly wait for the
    /// disk: on two cores a walk with the page cache dropped took about a
    /// tenth less time with 6 than with 3 or 4, and a warm one the same.
    static constexpr unsigned kReadAheadHelpers = 6;
    void SetReadAhead(unsigned nHelpers, size_t nMaxAheadCost = CFolderReadAhead::kMaxAheadCost)
    {
        m_readAhead.SetHelpers(nHelpers);
        m_readAhead.SetMaxAheadCost(nMaxAheadCost);
    }
    /// BeginWalk and SearchFolder; "" when the root cannot be entered.
    std::string SearchRoot(const std::string& strRoot, CProgressDlg& dlg, std::string& strNewPath, int bOldFound,
                           int bNewFound);
    /// Looks the file name up among the entries of the folder being walked,
    /// ignoring case; the last match in listing order wins. 1 and the full
    /// path when found, 0 otherwise.
    int FindPartner(const CFolderEntries& entries, std::string_view strFolder, std::string_view strName,
                    std::string& strPath) const;

    /// Folder entries taken from listings by all walks of the run. Unsigned:
    /// after 2^32 entries it starts over at 0, well defined.
    std::uint32_t m_nEntryCount = 0;
    std::unique_ptr<CConversionDoc> m_pDoc;

private:
    struct SVersionNames {
        std::string_view pExecutable;  ///< views: no length to count per entry
        std::string_view pDataFile;
    };
    /// Versions 2, 3, 4 and 5.
    static constexpr std::array<SVersionNames, 4> kNames = {{
        {"Tovipri.exe", "User.FDF"},
        {"Tovi3.exe", "User.YLI"},
        {"Tovi4.exe", "User.YLI"},
        {"Tovi5.exe", "User.YLI"},
    }};

    /// Shows a message box through the run's front end.
    int ShowMessage(const std::string& strText, EMsgButtons eButtons = EMsgButtons::Ok);
    void EndRun(const char* pMessage);
    bool Convert(const std::string& strOldPath, bool bOldNameAppended, const std::string& strNewPath);
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
    /// The system's path separator, put before every name the walk appends.
    char m_cSeparator;
    /// Path of the folder being walked; grows and shrinks with the walk.
    std::string m_strWalkPath;
    /// One folder of the walk in progress: what one activation of the walk
    /// holds for it.
    struct SWalkLevel {
        const CFolderEntries* pEntries = nullptr;
        size_t nNextEntry = 0;   ///< where the look for the next subfolder starts
        size_t nPathLength = 0;  ///< of m_strWalkPath for this folder
        bool bFilesDone = false;
        int bOldFound = 0;
        int bNewFound = 0;
        std::string strFoundOld;
        std::string strNewPath;  ///< the level's out string (the root's is the caller's)
    };
    void EnterLevel(size_t nLevel, int bOldFound, int bNewFound);
    bool SearchFiles(SWalkLevel& level, CProgressDlg& dlg, std::string& strNewPath);
    static std::string EndCancelledWalk(CProgressDlg& dlg, size_t nLevel);

    /// The walk's levels, kept from walk to walk (their strings keep room).
    std::vector<SWalkLevel> m_arLevels;
    CFolderReadAhead m_readAhead;
};
