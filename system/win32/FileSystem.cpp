#include "system/win32/FileSystem.h"

#include "system/win32/WideText.h"
#include "text/CodePage.h"

// windows.h comes first: the headers below build on it.
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>

namespace {

/// The attributes of the file or folder a path names; false when none.
bool GetAttributes(const std::string& strPath, DWORD& nAttributes)
{
    std::wstring strWide;
    if (strPath.empty() || !WidenPath(strPath, strWide))
        return false;
    nAttributes = ::GetFileAttributesW(MakeLongPath(strWide).c_str());
    return nAttributes != INVALID_FILE_ATTRIBUTES;
}

/// A folder to walk into: a folder that is no reparse point (junction,
/// symbolic link, mount point), so that the walk stays loop-free.
bool IsPlainFolder(DWORD nAttributes)
{
    return (nAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(nAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

/// An entry that stands for another file or folder (a symbolic link, a
/// junction, a mount point): the walk neither enters, shows nor compares
/// it. Other reparse points (files kept in the cloud, deduplicated files)
/// hold their own data and are listed as what they are.
bool IsNameSurrogate(const WIN32_FIND_DATAW& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(entry.dwReserved0);
}

/// Drives the search walks: local fixed and removable ones. Network drives
/// may be slow or someone else's, optical ones hold no installation of the
/// user's, and a RAM disk is gone after a restart.
bool IsSearchedDrive(UINT nType)
{
    return nType == DRIVE_FIXED || nType == DRIVE_REMOVABLE;
}

/// A known folder's path ("" when the system has none, e.g. no 32-bit
/// Program Files on a 32-bit Windows).
std::wstring KnownFolderPath(REFKNOWNFOLDERID id, DWORD nFlags = KF_FLAG_DONT_VERIFY)
{
    PWSTR pPath = nullptr;
    std::wstring strPath;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, nFlags, nullptr, &pPath)) && pPath != nullptr)
        strPath = pPath;
    ::CoTaskMemFree(pPath);
    return strPath;
}

/// True when the path lies in the folder (or is it), ignoring case as the
/// file system does.
bool IsInFolder(std::wstring_view strPath, std::wstring_view strFolder)
{
    while (!strFolder.empty() && (strFolder.back() == L'\\' || strFolder.back() == L'/'))
        strFolder.remove_suffix(1);
    if (strFolder.empty() || strPath.size() < strFolder.size() ||
        ::CompareStringOrdinal(strPath.data(), static_cast<int>(strFolder.size()), strFolder.data(),
                               static_cast<int>(strFolder.size()), TRUE) != CSTR_EQUAL)
        return false;
    return strPath.size() == strFolder.size() || strPath[strFolder.size()] == L'\\';
}

}  // namespace

std::wstring MakeLongPath(std::wstring_view strPath)
{
    const auto isSeparator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    std::wstring strLong;
    if (strPath.size() >= 3 && strPath[1] == L':' && isSeparator(strPath[2]) &&
        ((strPath[0] >= L'A' && strPath[0] <= L'Z') || (strPath[0] >= L'a' && strPath[0] <= L'z'))) {
        strLong = L"\\\\?\\";
        strLong += strPath;
    } else if (strPath.size() >= 3 && isSeparator(strPath[0]) && isSeparator(strPath[1]) && strPath[2] != L'?' &&
               strPath[2] != L'.') {
        strLong = L"\\\\?\\UNC\\";
        strLong += strPath.substr(2);
    } else {
        return std::wstring(strPath);  // relative, or a device or long path already
    }
    // The prefix turns off the system's own clean-up of the path.
    for (wchar_t& c : strLong) {
        if (c == L'/')
            c = L'\\';
    }
    return strLong;
}

bool MakeLongFullPath(std::string_view strPath, std::wstring& strLong)
{
    std::wstring strWide;
    if (strPath.empty() || !WidenPath(strPath, strWide))
        return false;
    DWORD nSize = ::GetFullPathNameW(strWide.c_str(), 0, nullptr, nullptr);
    std::wstring strFull;
    while (nSize > 0) {
        strFull.resize(nSize);
        const DWORD nGot = ::GetFullPathNameW(strWide.c_str(), nSize, strFull.data(), nullptr);
        if (nGot == 0)
            return false;
        if (nGot < nSize) {
            strFull.resize(nGot);
            strLong = MakeLongPath(strFull);
            return true;
        }
        nSize = nGot;  // the current directory changed in between
    }
    return false;
}

CWin32FileSystem::CWin32FileSystem(std::vector<std::string> arRoots)
{
    if (arRoots.empty()) {
        const DWORD nDrives = ::GetLogicalDrives();
        for (int nDrive = 0; nDrive < 26; ++nDrive) {
            if (!(nDrives & (1u << nDrive)))
                continue;
            std::string strRoot = std::string(1, static_cast<char>('A' + nDrive)) + ":\\";
            if (IsSearchedDrive(::GetDriveTypeW(WidenText(strRoot).c_str())))
                m_arRoots.push_back(std::move(strRoot));
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
    return !strPath.empty() && WidenPath(strPath, strWide) && ::SetCurrentDirectoryW(strWide.c_str());
}

std::vector<std::string> CWin32FileSystem::GetSearchRoots()
{
    return m_arRoots;
}

int CWin32FileSystem::AddFolder(std::wstring strPath)
{
    auto it = std::find(m_arFolders.begin(), m_arFolders.end(), std::wstring());
    if (it == m_arFolders.end())
        it = m_arFolders.insert(it, std::wstring());
    *it = std::move(strPath);
    return static_cast<int>(it - m_arFolders.begin());
}

int CWin32FileSystem::OpenRoot(const std::string& strRoot)
{
    std::wstring strWide;
    if (!IsFolder(strRoot) || !WidenPath(MakeAbsolutePath(GetCurrentDir(), strRoot, EPathStyle::Windows), strWide))
        return -1;
    return AddFolder(MakeLongPath(strWide));
}

int CWin32FileSystem::OpenSubFolder(int nParent, std::string_view strName)
{
    std::wstring strWide;
    if (nParent < 0 || static_cast<std::size_t>(nParent) >= m_arFolders.size() || m_arFolders[nParent].empty() ||
        strName.empty() || strName == "." || strName == ".." ||
        strName.find_first_of("\\/") != std::string_view::npos || !WidenPath(strName, strWide))
        return -1;
    std::wstring strPath = m_arFolders[nParent];
    if (strPath.back() != L'\\' && strPath.back() != L'/')
        strPath += L'\\';
    strPath += strWide;
    const DWORD nAttributes = ::GetFileAttributesW(strPath.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES || !IsPlainFolder(nAttributes))
        return -1;
    return AddFolder(std::move(strPath));
}

bool CWin32FileSystem::ReadFolder(int nFolder, CFolderEntries& entries)
{
    entries.Clear();
    if (nFolder < 0 || static_cast<std::size_t>(nFolder) >= m_arFolders.size() || m_arFolders[nFolder].empty())
        return false;
    std::wstring strPattern = m_arFolders[nFolder];
    if (strPattern.back() != L'\\' && strPattern.back() != L'/')
        strPattern += L'\\';
    strPattern += L'*';
    WIN32_FIND_DATAW entry{};
    const HANDLE hFind = ::FindFirstFileExW(strPattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                            FIND_FIRST_EX_LARGE_FETCH);
    if (hFind == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;  // an empty drive root
    // Each name is converted into the one buffer: nothing is allocated per
    // entry. A reparse point is listed as no folder, as a symbolic link is
    // on POSIX: it is never walked into.
    do {
        if (IsNameSurrogate(entry))
            continue;
        const int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, entry.cFileName, -1, m_arName.data(),
                                                 static_cast<int>(m_arName.size()), nullptr, nullptr);
        if (nBytes > 1)
            entries.Add(std::string_view(m_arName.data(), static_cast<std::size_t>(nBytes - 1)),
                        IsPlainFolder(entry.dwFileAttributes));
    } while (::FindNextFileW(hFind, &entry));
    const bool bComplete = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::FindClose(hFind);
    return bComplete;
}

void CWin32FileSystem::CloseFolder(int nFolder)
{
    if (nFolder >= 0 && static_cast<std::size_t>(nFolder) < m_arFolders.size())
        m_arFolders[nFolder].clear();
}

bool CWin32FileSystem::FindFile(const std::string& strPath, std::string& strFound)
{
    if (IsFolder(strPath))
        return false;
    // The folder's entries in listing order: the name as written, else the
    // last one matching it ignoring case, in its stored spelling.
    const std::string_view strFolder = FolderOfPath(strPath, EPathStyle::Windows);
    const std::string_view strName = std::string_view(strPath).substr(strFolder.size());
    std::wstring strPattern;
    if (strName.empty() || !WidenPath(std::string(strFolder) + "*", strPattern))
        return false;
    WIN32_FIND_DATAW entry{};
    const HANDLE hFind = ::FindFirstFileExW(MakeLongPath(strPattern).c_str(), FindExInfoBasic, &entry,
                                            FindExSearchNameMatch, nullptr, 0);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    std::string strMatch;
    bool bExact = false;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsNameSurrogate(entry))
            continue;
        std::string strEntry = NarrowText(entry.cFileName);
        if (strEntry == strName) {
            bExact = true;
            break;
        }
        if (EqualNoCaseAscii(strEntry, strName))
            strMatch = std::move(strEntry);
    } while (::FindNextFileW(hFind, &entry));
    ::FindClose(hFind);
    if (bExact) {
        strFound = strPath;
        return true;
    }
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

std::string CWin32FileSystem::FindVirtualStoreCopy(const std::string& strPath)
{
    // The folders the system virtualises for a program without a manifest.
    static const KNOWNFOLDERID* const kGuarded[] = {&FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86,
                                                    &FOLDERID_ProgramData, &FOLDERID_Windows};
    std::wstring strLong;
    if (!MakeLongFullPath(strPath, strLong) || strLong.rfind(L"\\\\?\\", 0) != 0)
        return {};
    // "C:\Program Files (x86)\Tovi\USER.YLI": a drive path, not UNC.
    const std::wstring_view strFull = std::wstring_view(strLong).substr(4);
    if (strFull.size() < 3 || strFull[1] != L':')
        return {};
    bool bGuarded = false;
    for (const KNOWNFOLDERID* pId : kGuarded)
        bGuarded = bGuarded || IsInFolder(strFull, KnownFolderPath(*pId));
    const std::wstring strLocal = LocalAppDataFolder(false);
    if (!bGuarded || strLocal.empty())
        return {};
    // The store repeats the path without its drive.
    const std::string strCopy = NarrowText(strLocal + L"\\VirtualStore" + std::wstring(strFull.substr(2)));
    std::string strFound;
    return FindFile(strCopy, strFound) ? strFound : std::string();
}

std::unique_ptr<CFileSystem> CreateFileSystem(std::vector<std::string> arRoots)
{
    // A drive without a medium fails quietly instead of asking for a disk.
    ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return std::make_unique<CWin32FileSystem>(std::move(arRoots));
}

std::wstring LocalAppDataFolder(bool bCreate)
{
    return KnownFolderPath(FOLDERID_LocalAppData, bCreate ? KF_FLAG_CREATE : KF_FLAG_DONT_VERIFY);
}
