#include "platform/win32/Win32FileSystem.h"

#include "platform/CodePage.h"
#include "platform/win32/WideText.h"

#include <windows.h>

namespace {

/// The attributes of the file or folder a path names; false when none.
bool GetAttributes(const std::string& strPath, DWORD& nAttributes)
{
    std::wstring strWide;
    if (strPath.empty() || !WidenPath(strPath, strWide))
        return false;
    nAttributes = ::GetFileAttributesW(strWide.c_str());
    return nAttributes != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

CWin32FileSystem::CWin32FileSystem(std::vector<std::string> arRoots)
{
    if (arRoots.empty()) {
        const DWORD nDrives = ::GetLogicalDrives();
        for (int nDrive = 0; nDrive < 26; ++nDrive) {
            if (nDrives & (1u << nDrive))
                m_arRoots.push_back(std::string(1, static_cast<char>('A' + nDrive)) + ":\\");
        }
        return;
    }
    const std::string strCurrent = GetCurrentDir();
    for (const std::string& strRoot : arRoots)
        m_arRoots.push_back(MakeAbsolutePath(strCurrent, strRoot, EPathStyle::Windows));
}

std::string CWin32FileSystem::GetCurrentDir()
{
    std::wstring strWide;
    DWORD nSize = ::GetCurrentDirectoryW(0, nullptr);
    while (nSize > 0) {
        strWide.resize(nSize);
        const DWORD nGot = ::GetCurrentDirectoryW(nSize, strWide.data());
        if (nGot == 0)
            break;
        if (nGot < nSize) {
            strWide.resize(nGot);
            return NarrowText(strWide);
        }
        nSize = nGot;  // changed in between: try again with the new size
    }
    return {};
}

bool CWin32FileSystem::SetCurrentDir(const std::string& strPath)
{
    std::wstring strWide;
    return WidenPath(strPath, strWide) && ::SetCurrentDirectoryW(strWide.c_str());
}

std::vector<std::string> CWin32FileSystem::GetSearchRoots()
{
    return m_arRoots;
}

int CWin32FileSystem::OpenRoot(const std::string&)
{
    return -1;
}

int CWin32FileSystem::OpenSubFolder(int, std::string_view)
{
    return -1;
}

bool CWin32FileSystem::ReadFolder(int, CFolderEntries& entries)
{
    entries.Clear();
    return false;
}

void CWin32FileSystem::CloseFolder(int) {}

bool CWin32FileSystem::FindFile(const std::string& strPath, std::string& strFound)
{
    DWORD nAttributes = 0;
    if (GetAttributes(strPath, nAttributes)) {
        if (nAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return false;
        strFound = strPath;
        return true;
    }
    // The folder's entries in listing order; the last one matching wins.
    const std::string_view strFolder = FolderOfPath(strPath, EPathStyle::Windows);
    const std::string_view strName = std::string_view(strPath).substr(strFolder.size());
    std::wstring strPattern;
    if (strName.empty() || !WidenPath(std::string(strFolder) + "*", strPattern))
        return false;
    WIN32_FIND_DATAW entry {};
    const HANDLE hFind = ::FindFirstFileExW(strPattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    std::string strMatch;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::string strEntry = NarrowText(entry.cFileName);
        if (EqualNoCaseAscii(strEntry, strName))
            strMatch = std::move(strEntry);
    } while (::FindNextFileW(hFind, &entry));
    ::FindClose(hFind);
    if (strMatch.empty())
        return false;
    strFound = std::string(strFolder) + strMatch;
    return true;
}

bool CWin32FileSystem::IsFolder(const std::string& strPath)
{
    DWORD nAttributes = 0;
    return GetAttributes(strPath, nAttributes) && (nAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
