#pragma once
// The Windows file system as the conversion run sees it.

#include "platform/FileSystem.h"

#include <string>
#include <vector>

/// Current directory, search roots and file look-ups through the system's
/// wide functions. The search roots are the drives (or the roots given);
/// walking them is not offered yet: OpenRoot refuses every root, so a search
/// finds nothing and the run asks for the files.
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

private:
    std::vector<std::string> m_arRoots;
};
