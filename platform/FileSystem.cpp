#include "platform/FileSystem.h"
#include "platform/UserDialogs.h"

void CFolderEntries::Add(std::string_view strName, bool bFolder)
{
    SEntry entry;
    entry.nOffset = static_cast<std::uint32_t>(m_strNames.size());
    entry.nLength = static_cast<std::uint32_t>(strName.size());
    entry.bFolder = bFolder;
    m_strNames.append(strName);
    m_strNames.push_back('\0');
    m_arEntries.push_back(entry);
}

EOutputFailure CFileSystem::ProbeOutputFile(const std::string& strPath)
{
    // The same checks and the same temporary file as the real write, undone
    // at once: whatever would refuse the write refuses it here.
    CAtomicOutputFile file;
    if (!file.Create(strPath))
        return file.GetFailure() == EOutputFailure::None ? EOutputFailure::Other : file.GetFailure();
    file.Abandon();
    return EOutputFailure::None;
}

// With the folder entries, so that every program that walks folders has it
// for the windows module it may open.
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
