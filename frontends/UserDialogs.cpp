#include "frontends/UserDialogs.h"

#include "system/FileSystem.h"
#include "text/Path.h"

CUserDialogs::~CUserDialogs() = default;

SFileDialogStart ResolveFileDialogStart(CFileSystem& fileSystem, const SFileDialogSpec& fileDialog)
{
    SFileDialogStart start;
    start.strName = fileDialog.strDefaultName;
    if (fileDialog.strInitialFolder.empty())
        return start;
    const EPathStyle eStyle = fileSystem.GetPathStyle();
    const std::string strPath = MakeAbsolutePath(fileSystem.GetCurrentDir(), fileDialog.strInitialFolder, eStyle);
    if (fileSystem.IsFolder(strPath)) {
        start.strFolder = strPath;
        return start;
    }
    // A file (the confirm field's path): its folder. Its name is not offered
    // as the file to open; only a default name the caller gave is.
    const std::string strFolder(FolderOfPath(strPath, eStyle));
    if (!strFolder.empty() && fileSystem.IsFolder(strFolder)) {
        // The folder without its last separator, unless that belongs to a root.
        const bool bRoot = strFolder.size() <= PathRootLength(strFolder, eStyle);
        start.strFolder = bRoot ? strFolder : strFolder.substr(0, strFolder.size() - 1);
    }
    return start;
}
