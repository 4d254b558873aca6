#include "system/FileIo.h"

#include "system/Process.h"
#include "system/win32/FileSystem.h"
#include "system/win32/WideText.h"
#include "text/Path.h"

#include <windows.h>

#include <aclapi.h>
#include <algorithm>
#include <mutex>

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

/// Whether a security identifier is the user's own.
bool IsUserSid(PSID pSid)
{
    HANDLE hToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken))
        return false;
    union {
        TOKEN_USER user;
        BYTE arBytes[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    } info{};
    DWORD nSize = 0;
    const bool bUser =
        ::GetTokenInformation(hToken, TokenUser, &info, sizeof info, &nSize) && ::EqualSid(info.user.User.Sid, pSid);
    ::CloseHandle(hToken);
    return bUser;
}

/// The owner and the access list of a file or folder, not of what a reparse
/// point names. Released with LocalFree(pDescriptor).
struct SSecurity {
    PSID pOwner = nullptr;
    PACL pAccess = nullptr;
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    SSecurity() = default;
    SSecurity(const SSecurity&) = delete;
    SSecurity& operator=(const SSecurity&) = delete;
    ~SSecurity() { ::LocalFree(pDescriptor); }

    bool Read(const std::wstring& strPath)
    {
        const HANDLE hFile =
            ::CreateFileW(strPath.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return false;
        const DWORD nError =
            ::GetSecurityInfo(hFile, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &pOwner,
                              nullptr, &pAccess, nullptr, &pDescriptor);
        ::CloseHandle(hFile);
        return nError == ERROR_SUCCESS && pOwner != nullptr;
    }
};

/// Whether everybody may add files to a folder: its access list grants it
/// to Everyone, Authenticated Users or Users (or it has no list at all).
bool IsOpenToEveryone(const SSecurity& folder)
{
    if (folder.pAccess == nullptr)
        return true;
    for (const WELL_KNOWN_SID_TYPE eType : {WinWorldSid, WinAuthenticatedUserSid, WinBuiltinUsersSid}) {
        BYTE arSid[SECURITY_MAX_SID_SIZE];
        DWORD nSidSize = sizeof arSid;
        if (!::CreateWellKnownSid(eType, nullptr, arSid, &nSidSize))
            continue;
        TRUSTEE_W trustee{};
        ::BuildTrusteeWithSidW(&trustee, arSid);
        ACCESS_MASK nRights = 0;
        if (::GetEffectiveRightsFromAclW(folder.pAccess, &trustee, &nRights) == ERROR_SUCCESS &&
            (nRights & FILE_ADD_FILE) != 0)
            return true;
    }
    return false;
}

/// Whether a reparse point (a symbolic link) may be followed: it is the
/// user's own, an administrator's or the system's, and its folder is not
/// one that everybody may write while another user owns it. Anyone may
/// plant a link there, naming a file of the user's that following it would
/// replace.
bool IsTrustedLink(const std::wstring& strLink)
{
    SSecurity link;
    if (!link.Read(strLink))
        return false;
    if (!IsUserSid(link.pOwner) && !::IsWellKnownSid(link.pOwner, WinBuiltinAdministratorsSid) &&
        !::IsWellKnownSid(link.pOwner, WinLocalSystemSid))
        return false;
    SSecurity folder;
    const std::wstring strFolder = strLink.substr(0, strLink.find_last_of(L"\\/") + 1);
    return folder.Read(strFolder) && (IsUserSid(folder.pOwner) || !IsOpenToEveryone(folder));
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

// A console program ended during the write (Ctrl-C, Ctrl-Break, its console
// closed, the user logging off) would leave its temporary file behind. While
// one exists, a console control handler marks every such file for deletion
// and ends the process as the system would have; the system deletes the
// files as it closes their handles. A process killed outright leaves its
// file, which a later run removes (RemoveStaleTemporaries).

/// Temporary files that exist, by their handles (opened with DELETE access).
/// The handler and the output files take the lock in turn, so that no
/// handle is closed while the handler marks it.
std::recursive_mutex g_tempMutex;
HANDLE g_arTempHandles[8] = {};
bool g_bHandlerInstalled = false;

BOOL WINAPI DeleteTemporariesAndEnd(DWORD /*nEvent*/)
{
    // Marked, not deleted: the process itself still holds the files open.
    const std::lock_guard<std::recursive_mutex> lock(g_tempMutex);
    bool bAny = false;
    for (const HANDLE hFile : g_arTempHandles) {
        if (hFile == nullptr)
            continue;
        FILE_DISPOSITION_INFO info{};
        info.DeleteFile = TRUE;
        ::SetFileInformationByHandle(hFile, FileDispositionInfo, &info, sizeof info);
        bAny = true;
    }
    if (!bAny)
        return FALSE;  // nothing of ours: the other handlers or the system decide
    // Ending here, the lock held, keeps the write from going on with a
    // file marked for deletion.
    ::ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

void ListTempHandle(HANDLE hFile)
{
    const std::lock_guard<std::recursive_mutex> lock(g_tempMutex);
    if (!g_bHandlerInstalled)
        g_bHandlerInstalled = ::SetConsoleCtrlHandler(DeleteTemporariesAndEnd, TRUE) != 0;
    for (HANDLE& hListed : g_arTempHandles) {
        if (hListed == nullptr) {
            hListed = hFile;
            return;
        }
    }
}

/// Closes a temporary file's handle, unlisted first.
bool CloseTempHandle(HANDLE hFile)
{
    const std::lock_guard<std::recursive_mutex> lock(g_tempMutex);
    for (HANDLE& hListed : g_arTempHandles) {
        if (hListed == hFile)
            hListed = nullptr;
    }
    return ::CloseHandle(hFile) != 0;
}

constexpr std::wstring_view kTempPrefix = L".toviconv-";
constexpr std::wstring_view kTempSuffix = L".tmp";

/// The process number in a temporary file's name (".toviconv-PID-STAMP.tmp");
/// 0 for any other name.
DWORD ProcessOfTempName(std::wstring_view strName)
{
    if (!strName.starts_with(kTempPrefix) || !strName.ends_with(kTempSuffix))
        return 0;
    strName = strName.substr(kTempPrefix.size(), strName.size() - kTempPrefix.size() - kTempSuffix.size());
    const std::size_t nDash = strName.find(L'-');
    if (nDash == 0 || nDash == std::wstring_view::npos || nDash > 10 || nDash + 1 == strName.size())
        return 0;
    unsigned long long nProcess = 0;
    for (std::size_t i = 0; i < strName.size(); ++i) {
        if (i == nDash)
            continue;
        if (strName[i] < L'0' || strName[i] > L'9')
            return 0;
        if (i < nDash)
            nProcess = nProcess * 10 + static_cast<unsigned>(strName[i] - L'0');
    }
    return nProcess <= 0xFFFFFFFFULL ? static_cast<DWORD>(nProcess) : 0;
}

/// Removes the temporary files of this program in the folder whose process
/// no longer exists: a run killed during its write left them. A file whose
/// process number belongs to any running process stays.
void RemoveStaleTemporaries(const std::wstring& strFolder)
{
    WIN32_FIND_DATAW found{};
    const HANDLE hFind = ::FindFirstFileW((strFolder + L".toviconv-*.tmp").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        const DWORD nProcess = ProcessOfTempName(found.cFileName);
        if (nProcess == 0 || nProcess == ::GetCurrentProcessId() ||
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0)
            continue;
        const HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, nProcess);
        if (hProcess != nullptr) {
            ::CloseHandle(hProcess);
            continue;
        }
        if (::GetLastError() == ERROR_INVALID_PARAMETER)  // no such process
            ::DeleteFileW((strFolder + found.cFileName).c_str());
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
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

/// A scratch file in the folder for temporary files, for the bytes of a file
/// written in place; the system deletes it when it is closed, however the
/// process ends. INVALID_HANDLE_VALUE when none can be made.
HANDLE OpenScratch()
{
    wchar_t arFolder[MAX_PATH + 1];
    const DWORD nLength = ::GetTempPathW(MAX_PATH + 1, arFolder);
    if (nLength == 0 || nLength > MAX_PATH)
        return INVALID_HANDLE_VALUE;
    static unsigned s_nSerial = 0;
    for (int nTry = 0; nTry < 100; ++nTry) {
        const std::wstring strName = std::wstring(arFolder, nLength) + L".toviconv-scratch-" +
                                     std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++s_nSerial);
        const HANDLE hFile =
            ::CreateFileW(strName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (hFile != INVALID_HANDLE_VALUE ||
            (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS))
            return hFile;
    }
    return INVALID_HANDLE_VALUE;
}

/// Copies the whole of one file over the start of another and ends the
/// other there; false with the system's error set on failure.
bool CopyFileBytes(HANDLE hFrom, HANDLE hTo)
{
    const LARGE_INTEGER nStart{};
    if (!::SetFilePointerEx(hFrom, nStart, nullptr, FILE_BEGIN) ||
        !::SetFilePointerEx(hTo, nStart, nullptr, FILE_BEGIN))
        return false;
    char arBuffer[65536];
    for (;;) {
        DWORD nGot = 0;
        if (!::ReadFile(hFrom, arBuffer, sizeof arBuffer, &nGot, nullptr))
            return false;
        if (nGot == 0)
            return ::SetEndOfFile(hTo) != 0;
        if (!WriteAll(hTo, arBuffer, nGot))
            return false;
    }
}

}  // namespace

const char* SystemFailureLine(EOutputFailure eFailure)
{
    switch (eFailure) {
    case EOutputFailure::NoRights:
        return ByUserLanguage("このフォルダに書き込むには管理者の権限が必要です。",
                              "Administrator rights are needed to write into this folder.");
    case EOutputFailure::ReadOnly:
        return ByUserLanguage("ファイルが読み取り専用です。", "The file is read-only.");
    case EOutputFailure::UntrustedLink:
        return ByUserLanguage("このファイルは他のユーザが作成した可能性のあるリンクのため、たどりません。",
                              "The file is a link another user may have made: it is not followed.");
    case EOutputFailure::NotRegularFile:
        return ByUserLanguage("通常のファイルではありません（デバイスなど）。",
                              "It is not a regular file (a device or the like).");
    default:
        return "";
    }
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
    const DWORD nLinkAttributes = ::GetFileAttributesW(strFull.c_str());
    if (nLinkAttributes != INVALID_FILE_ATTRIBUTES && (nLinkAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
        !IsTrustedLink(strFull))
        return Fail(EOutputFailure::UntrustedLink);
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
    // would not ask), and a device (NUL, a port, a pipe) is refused.
    const HANDLE hTarget =
        ::CreateFileW(strResolved.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool bExists = hTarget != INVALID_HANDLE_VALUE;
    if (!bExists && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return Fail(FailureOfError(::GetLastError()));
    if (bExists && ::GetFileType(hTarget) != FILE_TYPE_DISK) {
        ::CloseHandle(hTarget);
        return Fail(EOutputFailure::NotRegularFile);
    }
    if (bExists)
        ::CloseHandle(hTarget);

    // The temporary file keeps what the user sees of the old one: hidden,
    // system, archive. (Its access rights are the folder's, as for any new file.)
    const DWORD nKeep = bExists && nAttributes != INVALID_FILE_ATTRIBUTES
                            ? (nAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE))
                            : 0;
    const std::string strFolder(FolderOfPath(m_strTarget, EPathStyle::Windows));
    if (std::wstring strFolderWide; WidenPath(strFolder, strFolderWide))
        RemoveStaleTemporaries(strFolderWide);
    static unsigned s_nSerial = 0;
    for (int nTry = 0; nTry < 100 && m_hFile == kNoFile; ++nTry) {
        const unsigned long long nStamp = ::GetTickCount64() ^ (static_cast<unsigned long long>(++s_nSerial) << 32);
        std::string strTemp =
            strFolder + ".toviconv-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(nStamp) + ".tmp";
        std::wstring strTempWide;
        if (!WidenPath(strTemp, strTempWide))
            return Fail(EOutputFailure::Other);
        // DELETE access: the console control handler marks it for deletion.
        const HANDLE hFile = ::CreateFileW(strTempWide.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                           nKeep ? nKeep : FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile != INVALID_HANDLE_VALUE) {
            ListTempHandle(hFile);
            m_hFile = FromHandle(hFile);
            m_strTemp = std::move(strTemp);
        } else if (const DWORD nError = ::GetLastError();
                   nError != ERROR_FILE_EXISTS && nError != ERROR_ALREADY_EXISTS) {
            // A folder the user may not write, holding a file the user may:
            // the file is written in place, as overwriting it would be.
            if (bExists && nError == ERROR_ACCESS_DENIED)
                return CreateInPlace();
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
    bOk = bOk && (::FlushFileBuffers(ToHandle(m_hFile)) || Fail(FailureOfError(::GetLastError())));
    if (m_bInPlace) {
        bOk = bOk && CommitInPlace();
        m_bFailed = m_bFailed || !bOk;
        Abandon();
        return bOk;
    }
    // From closing to moving, the file has only its name: the console
    // control handler waits until it is moved (or removed, in Abandon).
    const std::lock_guard<std::recursive_mutex> lock(g_tempMutex);
    const HANDLE hFile = ToHandle(m_hFile);
    m_hFile = kNoFile;
    bOk = CloseTempHandle(hFile) && bOk;
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

bool CAtomicOutputFile::CreateInPlace()
{
    std::wstring strTarget;
    if (!WidenPath(m_strTarget, strTarget))
        return Fail(EOutputFailure::Other);
    // Others may read it meanwhile, not write it.
    const HANDLE hTarget = ::CreateFileW(strTarget.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hTarget == INVALID_HANDLE_VALUE)
        return Fail(FailureOfError(::GetLastError()));
    if (::GetFileType(hTarget) != FILE_TYPE_DISK) {
        ::CloseHandle(hTarget);
        return Fail(EOutputFailure::NotRegularFile);
    }
    const HANDLE hScratch = OpenScratch();
    if (hScratch == INVALID_HANDLE_VALUE) {
        const DWORD nError = ::GetLastError();
        ::CloseHandle(hTarget);
        return Fail(FailureOfError(nError));
    }
    m_hTarget = FromHandle(hTarget);
    m_hFile = FromHandle(hScratch);
    m_bInPlace = true;
    return true;
}

bool CAtomicOutputFile::CommitInPlace()
{
    const HANDLE hTarget = ToHandle(m_hTarget);
    // The old bytes, flushed, before the first of them is overwritten.
    const HANDLE hSafe = OpenScratch();
    if (hSafe == INVALID_HANDLE_VALUE)
        return Fail(FailureOfError(::GetLastError()));
    if (!CopyFileBytes(hTarget, hSafe) || !::FlushFileBuffers(hSafe)) {
        const DWORD nError = ::GetLastError();
        ::CloseHandle(hSafe);
        return Fail(FailureOfError(nError));
    }
    // The console control handler waits until the file is whole again.
    const std::lock_guard<std::recursive_mutex> lock(g_tempMutex);
    bool bOk = CopyFileBytes(ToHandle(m_hFile), hTarget) && ::FlushFileBuffers(hTarget);
    if (!bOk) {
        Fail(FailureOfError(::GetLastError()));
        // Best effort: the bytes that were there go back.
        if (CopyFileBytes(hSafe, hTarget))
            ::FlushFileBuffers(hTarget);
    }
    ::CloseHandle(hSafe);
    return bOk;
}

void CAtomicOutputFile::Abandon()
{
    const std::lock_guard<std::recursive_mutex> lock(g_tempMutex);
    if (m_hFile != kNoFile) {
        CloseTempHandle(ToHandle(m_hFile));
        m_hFile = kNoFile;
    }
    if (m_hTarget != kNoFile) {
        ::CloseHandle(ToHandle(m_hTarget));
        m_hTarget = kNoFile;
    }
    if (!m_strTemp.empty()) {
        std::wstring strTemp;
        if (WidenPath(m_strTemp, strTemp))
            ::DeleteFileW(strTemp.c_str());
        m_strTemp.clear();
    }
    m_strBuffer.clear();
}
