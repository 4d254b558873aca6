// The Windows part of the backups: the user's local application data folder
// and the file tests.

#include "system/Backup.h"

#include "system/win32/FileSystem.h"
#include "system/win32/WideText.h"
#include "text/Path.h"

#include <windows.h>

std::string UserBackupFolder()
{
    // The local, not the roaming, folder: backups are large and belong to
    // this computer.
    const std::string strFolder = NarrowText(LocalAppDataFolder(true));
    if (strFolder.empty())
        return {};
    return JoinPath(JoinPath(strFolder, "ToviConv", EPathStyle::Windows), "Backups", EPathStyle::Windows);
}

bool CreateFolderPath(const std::string& strFolder)
{
    std::wstring strWide;
    if (!WidenPath(strFolder, strWide))
        return false;
    const DWORD nAttributes = ::GetFileAttributesW(strWide.c_str());
    if (nAttributes != INVALID_FILE_ATTRIBUTES)
        return (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::string_view strParent = FolderOfPath(strFolder, EPathStyle::Windows);
    // The parent without its separator, unless it is a root ("C:\").
    if (strParent.size() > PathRootLength(strParent, EPathStyle::Windows) &&
        !CreateFolderPath(std::string(strParent.substr(0, strParent.size() - 1))))
        return false;
    return ::CreateDirectoryW(strWide.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool IsRegularFile(const std::string& strPath)
{
    std::wstring strWide;
    if (!WidenPath(strPath, strWide))
        return false;
    // Opened, so that a link counts as what it names and a device (NUL, a
    // port) shows itself as one.
    const HANDLE hFile = ::CreateFileW(strWide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD nAttributes = ::GetFileAttributesW(strWide.c_str());
    const bool bFile = nAttributes != INVALID_FILE_ATTRIBUTES && !(nAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (hFile == INVALID_HANDLE_VALUE) {
        // A file that another program keeps from being opened still counts:
        // its backup then fails, and so nothing replaces it unkept.
        return bFile;
    }
    const bool bRegular = ::GetFileType(hFile) == FILE_TYPE_DISK;
    ::CloseHandle(hFile);
    return bRegular && bFile;
}

bool PathExists(const std::string& strPath)
{
    std::wstring strWide;
    return WidenPath(strPath, strWide) && ::GetFileAttributesW(strWide.c_str()) != INVALID_FILE_ATTRIBUTES;
}
