#pragma once
// The file system as the conversion run sees it: the current directory, the
// search roots, a folder walk that opens each folder relative to its parent,
// and file look-ups that ignore the case of ASCII letters in the file name.
//
// CFileSystem is abstract so that tests can drive the run with a scripted
// tree; each system has its real one (system/posix, system/win32), which
// CreateFileSystem below makes.

#include "system/FileIo.h"
#include "text/Path.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// The entries of one folder in listing order, names as stored on disk.
/// Reused from folder to folder: reading a folder allocates only when it is
/// larger than every folder read into the same object before.
class CFolderEntries {
public:
    void Clear()
    {
        m_strNames.clear();
        m_arEntries.clear();
    }
    void Add(std::string_view strName, bool bFolder);
    size_t Size() const { return m_arEntries.size(); }
    std::string_view Name(size_t nIndex) const
    {
        const SEntry& entry = m_arEntries[nIndex];
        return std::string_view(m_strNames).substr(entry.nOffset, entry.nLength);
    }
    bool IsFolder(size_t nIndex) const { return m_arEntries[nIndex].bFolder; }

private:
    struct SEntry {
        std::uint32_t nOffset;
        std::uint32_t nLength;
        bool bFolder;
    };
    std::string m_strNames;
    std::vector<SEntry> m_arEntries;
};

class CFileSystem {
public:
    virtual ~CFileSystem() = default;

    /// How this file system writes paths (the system's style for a real one).
    virtual EPathStyle GetPathStyle() const { return NativePathStyle(); }

    /// The process's current directory (empty when it cannot be read).
    virtual std::string GetCurrentDir() = 0;
    /// Makes the folder current; false when it cannot.
    virtual bool SetCurrentDir(const std::string& strPath) = 0;

    /// The folders the search walks, in order, one per file system: the
    /// platform's counterpart of the drives A: to Z:.
    virtual std::vector<std::string> GetSearchRoots() = 0;

    // The folder calls of a walk. OpenRoot starts a walk and is never called
    // while another folder call runs. When CanListConcurrently is true,
    // OpenSubFolder, ReadFolder and CloseFolder may run on several threads at
    // once, on different handles or on the same parent handle (never closing
    // a handle that another call is using); otherwise the caller makes them
    // one at a time (CFolderReadAhead does so).
    virtual bool CanListConcurrently() const { return false; }

    /// Opens a search root for a walk. Returns a folder handle (>= 0), or -1
    /// when the root cannot be entered.
    virtual int OpenRoot(const std::string& strRoot) = 0;
    /// What OpenSubFolder returns when the process has no handle left: the
    /// folder is fine, and opens once another folder is closed.
    static constexpr int kNoHandleLeft = -2;
    /// Opens the subfolder strName of the open folder nParent. Never follows
    /// a symbolic link and never leaves the file system of the walk's root;
    /// -1 when the folder cannot be opened (it is then skipped),
    /// kNoHandleLeft when the process may open no more files.
    virtual int OpenSubFolder(int nParent, std::string_view strName) = 0;
    /// How many folder handles a walk may hold at once without leaving the
    /// process short of handles (for the output file, say); asked at the
    /// start of each walk.
    virtual size_t GetFolderHandleBudget() const { return SIZE_MAX; }
    /// Reads every entry of the open folder ("." and ".." included) in
    /// listing order. false when the folder cannot be listed (entries empty).
    virtual bool ReadFolder(int nFolder, CFolderEntries& entries) = 0;
    /// Closes a handle of OpenRoot or OpenSubFolder.
    virtual void CloseFolder(int nFolder) = 0;

    /// The file (anything but a folder) that strPath names, its last
    /// component compared ignoring ASCII case: strPath itself when it exists
    /// as written, otherwise the folder part of strPath followed by the last
    /// entry in listing order whose name matches. false when there is none.
    virtual bool FindFile(const std::string& strPath, std::string& strFound) = 0;
    /// True when strPath names an existing folder.
    virtual bool IsFolder(const std::string& strPath) = 0;

    /// The copy of a file that the user's virtual store holds: where the
    /// system lets an old program write into a protected folder (Program
    /// Files, ProgramData, the Windows folder) by redirecting the write into
    /// the store, that program reads the store's copy first, so the copy is
    /// the file the user knows. The copy's path (found as FindFile finds
    /// files) when strPath lies in such a folder and the store holds a copy;
    /// "" otherwise, and always on systems without a store.
    virtual std::string FindVirtualStoreCopy(const std::string& /*strPath*/) { return {}; }

    /// Whether an output file (CAtomicOutputFile) could be made at strPath
    /// now: None when it could, otherwise why not. Nothing at strPath changes.
    virtual EOutputFailure ProbeOutputFile(const std::string& strPath);

    /// True when FindFile finds a file for strPath.
    bool FileExists(const std::string& strPath)
    {
        std::string strFound;
        return FindFile(strPath, strFound);
    }
};

/// The system's file system. arRoots (paths as given on the command line)
/// replaces the default search roots when not empty.
std::unique_ptr<CFileSystem> CreateFileSystem(std::vector<std::string> arRoots);
