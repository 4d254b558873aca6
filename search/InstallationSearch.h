#pragma once
// The search for the installations: a walk of one search root's folder tree,
// depth first, files of a folder before its subfolders, that looks for a
// complete old installation (the executable of version 2, 3 or 4 beside its
// user-sheet file) and the version-5 executable at once. Helper threads read
// the folders ahead of it (CFolderReadAhead).

#include "search/FolderReadAhead.h"
#include "system/FileSystem.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// What the walk needs of the window that shows its progress.
class CSearchProgress {
public:
    /// Lets the window handle what is pending and returns its cancel flag.
    virtual int CheckCancelButton() = 0;
    /// Lets the window handle what is pending and advances its bar.
    virtual int StepIt() = 0;
    /// Shows the path of the file being looked at.
    virtual void SetStatus(std::string_view strText) = 0;

protected:
    ~CSearchProgress() = default;
};

class CInstallationSearch {
public:
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

    /// nEntryCount counts the folder entries that the walks take from
    /// listings; it belongs to the run, which sets it before the first walk.
    CInstallationSearch(CFileSystem& fileSystem, std::uint32_t& nEntryCount);

    /// Walks the folder whose walk BeginWalk began (its path is
    /// m_strWalkPath) depth first, files of a folder before its subfolders,
    /// and ends that walk before returning. Returns the old installation's
    /// data-file path found below it, or "". Writes the version-5
    /// executable's path into strNewPath when it meets one (kept on Cancel
    /// only when met among the folder's own files or in a subfolder whose
    /// walk had ended). No recursion: a tree of any depth walks alike.
    std::string SearchFolder(CSearchProgress& dlg, std::string& strNewPath, int bOldFound, int bNewFound);
    /// Opens a search root for SearchFolder; false when it cannot be entered.
    /// Trailing separators of the root are dropped, so "/" walks "/bin" and
    /// not "//bin", and "C:\\" walks "C:\\bin".
    bool BeginWalk(const std::string& strRoot);
    /// Helper threads that read folders ahead of the walk (0: none), and how
    /// far ahead they read (see CFolderReadAhead). They mostly wait for the
    /// disk, so there are more of them than cores; the walk benchmark
    /// (bench/walk_bench.sh; the README's figures) is what chose the number.
    static constexpr unsigned kReadAheadHelpers = 6;
    void SetReadAhead(unsigned nHelpers, size_t nMaxAheadCost = CFolderReadAhead::kMaxAheadCost)
    {
        m_readAhead.SetHelpers(nHelpers);
        m_readAhead.SetMaxAheadCost(nMaxAheadCost);
    }
    /// BeginWalk and SearchFolder; "" when the root cannot be entered.
    std::string SearchRoot(const std::string& strRoot, CSearchProgress& dlg, std::string& strNewPath, int bOldFound,
                           int bNewFound);
    /// Looks the file name up among the entries of the folder being walked,
    /// ignoring case; the last match in listing order wins. 1 and the full
    /// path when found, 0 otherwise.
    int FindPartner(const CFolderEntries& entries, std::string_view strFolder, std::string_view strName,
                    std::string& strPath) const;

private:
    CFileSystem& m_fileSystem;
    std::uint32_t& m_nEntryCount;
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
    bool SearchFiles(SWalkLevel& level, CSearchProgress& dlg, std::string& strNewPath);
    static std::string EndCancelledWalk(CSearchProgress& dlg, size_t nLevel);

    /// The walk's levels, kept from walk to walk (their strings keep room).
    std::vector<SWalkLevel> m_arLevels;
    CFolderReadAhead m_readAhead;
};
