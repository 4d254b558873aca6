#pragma once
// The file system of a POSIX system: search roots from the mount table, a
// walk that opens each folder relative to its parent without following
// symbolic links or leaving the root's file system.

#include "system/FileSystem.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Search roots from the text of /proc/self/mountinfo: "/" first, then the
/// mount points of other file systems that are not pseudo file systems
/// (proc, sysfs, tmpfs, cgroup and the like), sorted, without duplicates, at
/// most 26 in all. Mount points are unescaped ("\040" is a blank).
std::vector<std::string> ParseSearchRoots(std::string_view strMountInfo);

class CPosixFileSystem : public CFileSystem {
public:
    /// arRoots replaces the default search roots when not empty; relative
    /// roots are taken from the current directory; every root is made
    /// absolute and lexically normal (MakeAbsolutePath).
    explicit CPosixFileSystem(std::vector<std::string> arRoots = {});
    ~CPosixFileSystem() override;
    CPosixFileSystem(const CPosixFileSystem&) = delete;
    CPosixFileSystem& operator=(const CPosixFileSystem&) = delete;

    std::string GetCurrentDir() override;
    bool SetCurrentDir(const std::string& strPath) override;
    std::vector<std::string> GetSearchRoots() override;
    bool CanListConcurrently() const override { return true; }
    int OpenRoot(const std::string& strRoot) override;
    int OpenSubFolder(int nParent, std::string_view strName) override;
    size_t GetFolderHandleBudget() const override;
    bool ReadFolder(int nFolder, CFolderEntries& entries) override;
    void CloseFolder(int nFolder) override;
    bool FindFile(const std::string& strPath, std::string& strFound) override;
    bool IsFolder(const std::string& strPath) override;

    /// Walks as on a system without openat2 (openat and a device check per
    /// folder) and, with bNoEntryTypes, as on a file system whose listings
    /// carry no entry types (a stat per entry). For tests of those paths.
    void UseFallbacks(bool bNoOpenAt2, bool bNoEntryTypes)
    {
        m_bOpenAt2 = m_bOpenAt2 && !bNoOpenAt2;
        m_bNoEntryTypes = bNoEntryTypes;
    }

private:
    std::vector<std::string> m_arRoots;
    std::uint64_t m_nRootDevice = 0;  ///< file system of the root being walked
    bool m_bShortReadIsEnd = false;   ///< see FillsDirectoryBuffer
    bool m_bOpenAt2 = false;          ///< openat2 can refuse mount points itself
    bool m_bNoEntryTypes = false;     ///< ignore d_type (see UseFallbacks)
};
