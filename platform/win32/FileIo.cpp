#include "platform/FileIo.h"

#include "platform/Path.h"
#include "platform/UserLanguage.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"

#include <algorithm>
#include <windows.h>

namespace {

/// The most a single ReadFile or WriteFile is given at once (a DWORD count).
constexpr std::size_t kMaxTransfer = 1u << 30;

HANDLE ToHandle(FileHandle hFile)
{
    return reinterpret_cast<HANDLE>(hFile);
}

FileHandle FromHandle(HANDLE hFile)
{
    return reinterpret_cast<FileHandle>(hFile);
}

/// The file a reparse point (a symbolic link) finally names, so that the
/// file is replaced and the link kept; the path itself when there is none.
std::wstring ResolveTarget(const std::wstring& strPath)
{
    const DWORD nAttributes = ::GetFileAttributesW(strPath.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES || !(nAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return strPath;
    const HANDLE hFile = ::CreateFileW(strPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return strPath;  // a dangling link: the link itself is replaced
    std::wstring strFinal(MAX_PATH, L'\0');
    DWORD nGot = ::GetFinalPathNameByHandleW(hFile, strFinal.data(), static_cast<DWORD>(strFinal.size()), 0);
    if (nGot >= strFinal.size()) {
        strFinal.resize(nGot);
        nGot = ::GetFinalPathNameByHandleW(hFile, strFinal.data(), static_cast<DWORD>(strFinal.size()), 0);
    }
    ::CloseHandle(hFile);
    if (nGot == 0 || nGot >= strFinal.size())
        return strPath;
    strFinal.resize(nGot);
    return strFinal;
}

/// What a system error of a failed creation, write or move tells the user.
EOutputFailure FailureOfError(DWORD nError)
{
    switch (nError) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return EOutputFailure::NoRights;
    case ERROR_WRITE_PROTECT:
        return EOutputFailure::ReadOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return EOutputFailure::InUse;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return EOutputFailure::DiskFull;
    default:
        return EOutputFailure::Other;
    }
}

bool WriteAll(HANDLE hFile, const char* pData, std::size_t nSize)
{
    while (nSize > 0) {
        const DWORD nTry = static_cast<DWORD>(std::min(nSize, kMaxTransfer));
        DWORD nDone = 0;
        if (!::WriteFile(hFile, pData, nTry, &nDone, nullptr) || nDone == 0)
            return false;
        pData += nDone;
        nSize -= nDone;
    }
    return true;
}

}  // namespace

std::string OutputFailureLine(EOutputFailure eFailure)
{
    switch (eFailure) {
    case EOutputFailure::NoRights:
        return ByUserLanguage("このフォルダに書き込むには管理者の権限が必要です。",
                              "Administrator rights are needed to write into this folder.");
    case EOutputFailure::ReadOnly:
        return ByUserLanguage("ファイルが読み取り専用です。", "The file is read-only.");
    case EOutputFailure::InUse:
        return ByUserLanguage("ファイルが他のプログラムで使用中です。Tovi５を終了してから、もう一度実行してください。",
                              "The file is in use by another program: close Tovi5, then try again.");
    case EOutputFailure::DiskFull:
        return ByUserLanguage("ディスクの空き容量が足りません。", "The disk is full.");
    case EOutputFailure::ElevationDeclined:
        return ByUserLanguage("管理者として書き込むことが許可されませんでした。",
                              "Writing with administrator rights was not allowed.");
    case EOutputFailure::ElevationFailed:
        return ByUserLanguage("管理者として実行しても書き込めませんでした。",
                              "Even with administrator rights the file could not be written.");
    case EOutputFailure::None:
    case EOutputFailure::Other:
        break;
    }
    return {};
}

// ---------------------------------------------------------------- CInputFile

bool CInputFile::Open(const std::string& strPath)
{
    Close();
    m_bReadError = false;
    // The long-path form: any length, whatever the system's settings.
    std::wstring strWide;
    if (!MakeLongFullPath(strPath, strWide))
        return false;
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened at all.
    const HANDLE hFile = ::CreateFileW(strWide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    m_hFile = FromHandle(hFile);
    return true;
}

std::size_t CInputFile::ReadFromSystem(char* pBuffer, std::size_t nSize)
{
    std::size_t nDone = 0;
    while (m_hFile != kNoFile && !m_bReadError && nDone < nSize) {
        const DWORD nTry = static_cast<DWORD>(std::min(nSize - nDone, kMaxTransfer));
        DWORD nGot = 0;
        if (!::ReadFile(ToHandle(m_hFile), pBuffer + nDone, nTry, &nGot, nullptr)) {
            // The writer of a pipe closing it is the pipe's end of file.
            const DWORD nError = ::GetLastError();
            if (nError != ERROR_HANDLE_EOF && nError != ERROR_BROKEN_PIPE)
                m_bReadError = true;
            break;
        }
        if (nGot == 0)
            break;
        nDone += nGot;
    }
    return nDone;
}

void CInputFile::Close()
{
    if (m_hFile != kNoFile) {
        ::CloseHandle(ToHandle(m_hFile));
        m_hFile = kNoFile;
    }
}

// --------------------------------------------------------- CAtomicOutputFile

bool CAtomicOutputFile::Create(const std::string& strTarget)
{
    Abandon();
    m_bFailed = false;
    m_eFailure = EOutputFailure::None;
    m_bInPlace = false;
    m_strTarget.clear();

    std::wstring strFull;
    if (!MakeLongFullPath(strTarget, strFull))
        return Fail(EOutputFailure::Other);
    const std::wstring strResolved = ResolveTarget(strFull);
    m_strTarget = NarrowText(strResolved);

    // A folder is never replaced, and a read-only file is the user's word
    // that it stays as it is (renaming over it would be allowed).
    const DWORD nAttributes = ::GetFileAttributesW(strResolved.c_str());
    if (nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(EOutputFailure::Other);
    if (nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_READONLY))
        return Fail(EOutputFailure::ReadOnly);
    // An existing target must be writable for this user (the rename alone
    // would not ask), and a device (NUL, a port) is written in place.
    const HANDLE hTarget =
        ::CreateFileW(strResolved.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool bExists = hTarget != INVALID_HANDLE_VALUE;
    if (!bExists && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return Fail(FailureOfError(::GetLastError()));
    if (bExists && ::GetFileType(hTarget) != FILE_TYPE_DISK) {
        m_hFile = FromHandle(hTarget);
        m_bInPlace = true;
        return true;
    }
    if (bExists)
        ::CloseHandle(hTarget);

    // The temporary file keeps what the user sees of the old one: hidden,
    // system, archive. (Its access rights are the folder's, as for any new file.)
    const DWORD nKeep = bExists && nAttributes != INVALID_FILE_ATTRIBUTES
                            ? (nAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE))
                            : 0;
    const std::string strFolder(FolderOfPath(m_strTarget, EPathStyle::Windows));
    static unsigned s_nSerial = 0;
    for (int nTry = 0; nTry < 100 && m_hFile == kNoFile; ++nTry) {
        const unsigned long long nStamp = ::GetTickCount64() ^ (static_cast<unsigned long long>(++s_nSerial) << 32);
        std::string strTemp =
            strFolder + ".toviconv-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(nStamp) + ".tmp";
        std::wstring strTempWide;
        if (!WidenPath(strTemp, strTempWide))
            return Fail(EOutputFailure::Other);
        const HANDLE hFile = ::CreateFileW(strTempWide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           nKeep ? nKeep : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile != INVALID_HANDLE_VALUE) {
            m_hFile = FromHandle(hFile);
            m_strTemp = std::move(strTemp);
        } else if (const DWORD nError = ::GetLastError();
                   nError != ERROR_FILE_EXISTS && nError != ERROR_ALREADY_EXISTS) {
            return Fail(FailureOfError(nError));
        }
    }
    return m_hFile != kNoFile;
}

bool CAtomicOutputFile::WriteOut(const char* pData, std::size_t nSize)
{
    if (!WriteAll(ToHandle(m_hFile), pData, nSize)) {
        Fail(FailureOfError(::GetLastError()));
        m_bFailed = true;
    }
    return !m_bFailed;
}

bool CAtomicOutputFile::Commit()
{
    if (m_hFile == kNoFile)
        return false;
    bool bOk = !m_bFailed && Flush();
    // A device cannot be flushed to disk; nothing is moved in place.
    bOk = bOk && (m_bInPlace || ::FlushFileBuffers(ToHandle(m_hFile)));
    const HANDLE hFile = ToHandle(m_hFile);
    m_hFile = kNoFile;
    bOk = ::CloseHandle(hFile) && bOk;
    if (m_bInPlace) {
        m_bFailed = m_bFailed || !bOk;
        return bOk;
    }
    std::wstring strTemp;
    std::wstring strTarget;
    bOk = bOk && WidenPath(m_strTemp, strTemp) && WidenPath(m_strTarget, strTarget) &&
          (::MoveFileExW(strTemp.c_str(), strTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
           Fail(FailureOfError(::GetLastError())));
    if (!bOk) {
        m_bFailed = true;
        Abandon();
        return false;
    }
    m_strTemp.clear();
    return true;
}

void CAtomicOutputFile::Abandon()
{
    if (m_hFile != kNoFile) {
        ::CloseHandle(ToHandle(m_hFile));
        m_hFile = kNoFile;
    }
    if (!m_strTemp.empty()) {
        std::wstring strTemp;
        if (WidenPath(m_strTemp, strTemp))
            ::DeleteFileW(strTemp.c_str());
        m_strTemp.clear();
    }
    m_strBuffer.clear();
}
