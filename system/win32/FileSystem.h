#pragma once
// The Windows file system as the conversion run sees it.

#include "system/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

/// Current directory, search roots, folder walks and file look-ups through
/// the system's wide functions. The search roots are the drives (or the
/// roots given). A walk never enters a reparse point (a junction, a
/// symbolic link, a mount point): it stays on its root's volume and ends.
class CWin32FileSystem : public CFileSystem {
public:
    /// arRoots replaces the drives as search roots when not empty; relative
    /// roots are taken from the current directory.
    explicit CWin32FileSystem(std::vector<std::string> arRoots = {});

    EPathStyle GetPathStyle() const override { return EPathStyle::Windows; }
    std::string GetCurrentDir() override;
    bool SetCurrentDir(const std::string& strPath) override;
    std::vector<std::string> GetSearchRoots() override;
    int OpenRoot(const std::string& strRoot) override;
    int OpenSubFolder(int nParent, std::string_view strName) override;
    bool ReadFolder(int nFolder, CFolderEntries& entries) override;
    void CloseFolder(int nFolder) override;
    bool FindFile(const std::string& strPath, std::string& strFound) override;
    bool IsFolder(const std::string& strPath) override;
    /// The copy in %LOCALAPPDATA%\VirtualStore of a file under Program
    /// Files (either), ProgramData or the Windows folder, as the system
    /// names those folders for this user.
    std::string FindVirtualStoreCopy(const std::string& strPath) override;

private:
    /// A handle for the folder at the path.
    int AddFolder(std::wstring strPath);

    std::vector<std::string> m_arRoots;
    std::vector<std::wstring> m_arFolders;  ///< open folders by handle (long-path form), "" when closed
    std::vector<char> m_arName = std::vector<char>(4 * 260);  ///< UTF-8 of one listed name
};

/// The long-path form ("\\?\C:\x", "\\?\UNC\server\share\x") of an
/// absolute path, which lifts the limit of 260 characters; any other path
/// as it is.
std::wstring MakeLongPath(std::wstring_view strPath);

/// The full path of a UTF-8 path (a relative one taken from the current
/// directory, "." and ".." resolved) in the long-path form, as the system's
/// wide functions take it whatever its length; false when the path is not
/// valid UTF-8 or has no full form.
bool MakeLongFullPath(std::string_view strPath, std::wstring& strLong);

/// The user's local application-data folder (%LOCALAPPDATA%), made first
/// with bCreate; "" when the system names none.
std::wstring LocalAppDataFolder(bool bCreate);
