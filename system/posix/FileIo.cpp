#include "system/FileIo.h"

#include "system/Process.h"
#include "system/posix/FileIo.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

/// Bytes written between two starts of the disk's writing.
constexpr std::uint64_t kWriteBackStep = std::uint64_t{8} * 1024 * 1024;

int Fd(FileHandle hFile)
{
    return static_cast<int>(hFile);
}

/// The folder of a path: "." for a bare name, "/" for a file in the root.
std::string FolderOf(const std::string& strPath)
{
    const std::string::size_type nSlash = strPath.rfind('/');
    if (nSlash == std::string::npos)
        return ".";
    if (nSlash == 0)
        return "/";
    return strPath.substr(0, nSlash);
}

/// Whether a symbolic link may be followed: it is the user's own or root's,
/// and its folder is not one that everyone may write while another user
/// owns it (such as /tmp). Anyone may plant a link there, naming a file of
/// the user's that following it would replace.
bool IsTrustedLink(const std::string& strLink, const struct stat& stLink)
{
    const uid_t nUser = ::geteuid();
    if (stLink.st_uid != nUser && stLink.st_uid != 0)
        return false;
    struct stat stFolder {};
    if (::stat(FolderOf(strLink).c_str(), &stFolder) != 0)
        return false;
    return (stFolder.st_mode & S_IWOTH) == 0 || stFolder.st_uid == nUser;
}

/// The file a path stands for: a chain of symbolic links is followed to its
/// final target, so that the file is replaced and the links kept; a
/// dangling link is itself replaced. UntrustedLink when a link on the way
/// may not be followed, Other when the chain does not end.
EOutputFailure ResolveTarget(const std::string& strPath, std::string& strTarget)
{
    std::string strHop = strPath;
    // As many links as the system itself follows in one path.
    for (int nHop = 0; nHop < 40; ++nHop) {
        struct stat st {};
        if (::lstat(strHop.c_str(), &st) != 0) {
            strTarget = nHop == 0 ? strHop : strPath;  // missing, or a dangling link
            return EOutputFailure::None;
        }
        if (!S_ISLNK(st.st_mode)) {
            strTarget = std::move(strHop);
            return EOutputFailure::None;
        }
        if (!IsTrustedLink(strHop, st))
            return EOutputFailure::UntrustedLink;
        std::string strLink(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t nLength = ::readlink(strHop.c_str(), strLink.data(), strLink.size());
        if (nLength <= 0 || static_cast<std::size_t>(nLength) >= strLink.size())
            return EOutputFailure::Other;  // gone or changed meanwhile
        strLink.resize(static_cast<std::size_t>(nLength));
        if (strLink.front() != '/') {
            std::string strFolder = FolderOf(strHop);
            strFolder += '/';
            strLink.insert(0, strFolder);
        }
        strHop = std::move(strLink);
    }
    return EOutputFailure::Other;  // a loop of links
}

/// What an errno of a failed creation, write or rename tells the user.
EOutputFailure FailureOfErrno(int nError)
{
    switch (nError) {
    case EACCES:
    case EPERM:
        return EOutputFailure::NoRights;
    case EROFS:
        return EOutputFailure::ReadOnly;
    case ETXTBSY:
        return EOutputFailure::InUse;
    case ENOSPC:
    case EDQUOT:
        return EOutputFailure::DiskFull;
    case ENXIO:
    case ENODEV:
        return EOutputFailure::NotRegularFile;
    default:
        return EOutputFailure::Other;
    }
}

bool CloseFd(int nFd)
{
    // After EINTR the descriptor is released on Linux; retrying would be wrong.
    return ::close(nFd) == 0 || errno == EINTR;
}

// A temporary file with a name is left behind by a process that a signal
// ends. Output files therefore stay unnamed (O_TMPFILE) until Commit(), which
// links them under a hidden name and renames that over the target at once.
// Where the folder's file system has no unnamed files, the hidden name exists
// from Create() on. Either way every such name is listed for the handler of
// the signals that end the process, which removes them before the process
// ends as the signal would have ended it.

bool g_bUnnamedAllowed = true;

/// Hidden temporary names that exist on disk. Each points into the name
/// member of its output file, which does not change while it is listed.
std::atomic<const char*> g_arTempNames[8];
static_assert(std::atomic<const char*>::is_always_lock_free, "read by a signal handler");

/// The signals whose default action ends the process.
constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE};

sigset_t EndingSignalSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int nSignal : kEndingSignals)
        sigaddset(&set, nSignal);
    return set;
}

extern "C" void RemoveTempNamesAndEnd(int nSignal)
{
    for (std::atomic<const char*>& name : g_arTempNames) {
        const char* pszName = name.load();
        if (pszName != nullptr)
            ::unlink(pszName);
    }
    // Pending until the handler returns, then the default action ends the
    // process with the signal's own status.
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(nSignal, &action, nullptr);
    // Inside the handler nothing is left to do should this fail.
    static_cast<void>(::raise(nSignal));
}

/// Installs the handler, once, for every ending signal still at its default
/// action: an ignored or handled signal does not end the process, and the
/// handler does nothing but the default while no name is listed.
void InstallEndingSignalHandler()
{
    static bool s_bInstalled = false;
    if (s_bInstalled)
        return;
    s_bInstalled = true;
    for (const int nSignal : kEndingSignals) {
        struct sigaction current = {};
        if (::sigaction(nSignal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) != 0 ||
            current.sa_handler != SIG_DFL)
            continue;
        struct sigaction action = {};
        action.sa_handler = RemoveTempNamesAndEnd;
        action.sa_mask = EndingSignalSet();
        action.sa_flags = SA_RESTART;
        ::sigaction(nSignal, &action, nullptr);
    }
}

/// Holds the ending signals off in this thread while a temporary name and
/// its listing come or go together.
class CEndingSignalsHeld {
public:
    CEndingSignalsHeld()
    {
        const sigset_t set = EndingSignalSet();
        ::pthread_sigmask(SIG_BLOCK, &set, &m_previous);
    }
    ~CEndingSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    CEndingSignalsHeld(const CEndingSignalsHeld&) = delete;
    CEndingSignalsHeld& operator=(const CEndingSignalsHeld&) = delete;

private:
    sigset_t m_previous;
};

void ListTempName(const char* pszName)
{
    InstallEndingSignalHandler();
    for (std::atomic<const char*>& name : g_arTempNames) {
        const char* pszFree = nullptr;
        if (name.compare_exchange_strong(pszFree, pszName))
            return;
    }
}

void UnlistTempName(const char* pszName)
{
    for (std::atomic<const char*>& name : g_arTempNames) {
        const char* pszListed = pszName;
        name.compare_exchange_strong(pszListed, nullptr);
    }
}

/// Gives the temporary file a fresh hidden name in the folder: fnCreate
/// makes the name on disk (false with errno set when it cannot); a name
/// already taken is tried again with another. strTemp holds the name, listed.
template <class TCreate>
bool CreateTempName(const std::string& strFolder, std::string& strTemp, TCreate fnCreate)
{
    static unsigned s_nSerial = 0;
    for (int nTry = 0; nTry < 100; ++nTry) {
        struct timespec ts {};
        ::clock_gettime(CLOCK_REALTIME, &ts);
        const unsigned long nStamp =
            static_cast<unsigned long>(ts.tv_nsec) ^ (static_cast<unsigned long>(++s_nSerial) << 32);
        std::string strName =
            strFolder + "/.toviconv-" + std::to_string(::getpid()) + "-" + std::to_string(nStamp) + ".tmp";
        const CEndingSignalsHeld held;
        if (fnCreate(strName)) {
            strTemp = std::move(strName);
            ListTempName(strTemp.c_str());
            return true;
        }
        if (errno != EEXIST && errno != EINTR)
            return false;
    }
    return false;
}

/// A scratch file without a name in the folder for temporary files, for
/// the bytes of a file written in place; -1 with errno set when none can be
/// made.
int OpenScratch()
{
    const char* pszFolder = std::getenv("TMPDIR");
    const std::string strFolder = pszFolder != nullptr && *pszFolder != '\0' ? pszFolder : "/tmp";
    int nFd = ::open(strFolder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (nFd >= 0)
        return nFd;
    std::string strName = strFolder + "/.toviconv-XXXXXX";
    nFd = ::mkostemp(strName.data(), O_CLOEXEC);
    if (nFd >= 0)
        ::unlink(strName.c_str());
    return nFd;
}

/// Copies the whole of one file over the start of another; the copied size,
/// or -1 with errno set.
off_t CopyFileBytes(int nFrom, int nTo)
{
    char arBuffer[65536];
    off_t nOffset = 0;
    for (;;) {
        const ssize_t nGot = ::pread(nFrom, arBuffer, sizeof arBuffer, nOffset);
        if (nGot < 0 && errno == EINTR)
            continue;
        if (nGot < 0)
            return -1;
        if (nGot == 0)
            return nOffset;
        for (ssize_t nDone = 0; nDone < nGot;) {
            const ssize_t nPut =
                ::pwrite(nTo, arBuffer + nDone, static_cast<std::size_t>(nGot - nDone), nOffset + nDone);
            if (nPut < 0 && errno == EINTR)
                continue;
            if (nPut <= 0) {
                if (nPut == 0)
                    errno = ENOSPC;
                return -1;
            }
            nDone += nPut;
        }
        nOffset += nGot;
    }
}

std::string ProcFdPath(int nFd)
{
    return "/proc/self/fd/" + std::to_string(nFd);
}

/// An unnamed file in the folder that Commit() can link by its /proc entry;
/// -1 where the file system or the system offers none.
int OpenUnnamed(const std::string& strFolder)
{
    if (!g_bUnnamedAllowed)
        return -1;
    // 0666 less the umask, as for any new file.
    const int nFd = ::open(strFolder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (nFd < 0)
        return -1;
    struct stat stFile {};
    struct stat stProc {};
    if (::fstat(nFd, &stFile) == 0 && ::stat(ProcFdPath(nFd).c_str(), &stProc) == 0 && stFile.st_dev == stProc.st_dev &&
        stFile.st_ino == stProc.st_ino)
        return nFd;
    ::close(nFd);  // no /proc to link it by
    return -1;
}

}  // namespace

const char* SystemFailureLine(EOutputFailure eFailure)
{
    switch (eFailure) {
    case EOutputFailure::NoRights:
        return ByUserLanguage("このファイルまたはフォルダに書き込む権限がありません。",
                              "You may not write this file or its folder.");
    case EOutputFailure::ReadOnly:
        return ByUserLanguage("読み取り専用のファイルシステムです。", "The file system is read-only.");
    case EOutputFailure::UntrustedLink:
        return ByUserLanguage("このファイルは他のユーザが作成した可能性のあるシンボリックリンクのため、たどりません。",
                              "The file is a symbolic link another user may have made: it is not followed.");
    case EOutputFailure::NotRegularFile:
        return ByUserLanguage("通常のファイルではありません（デバイス、FIFO など）。",
                              "It is not a regular file (a device, a FIFO or the like).");
    default:
        return "";
    }
}

void SetUnnamedOutputFiles(bool bAllowed)
{
    g_bUnnamedAllowed = bAllowed;
}

// ---------------------------------------------------------------- CInputFile

bool CInputFile::Open(const std::string& strPath)
{
    Close();
    m_bReadError = false;
    const int nFd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (nFd < 0)
        return false;
    struct stat st {};
    if (::fstat(nFd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(nFd);
        return false;
    }
    m_hFile = nFd;
    return true;
}

std::size_t CInputFile::ReadFromSystem(char* pBuffer, std::size_t nSize)
{
    std::size_t nDone = 0;
    while (m_hFile >= 0 && !m_bReadError && nDone < nSize) {
        const ssize_t nGot = ::read(Fd(m_hFile), pBuffer + nDone, nSize - nDone);
        if (nGot < 0) {
            if (errno == EINTR)
                continue;
            m_bReadError = true;
            break;
        }
        if (nGot == 0)
            break;
        nDone += static_cast<std::size_t>(nGot);
    }
    return nDone;
}

void CInputFile::Close()
{
    if (m_hFile >= 0) {
        ::close(Fd(m_hFile));
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
    m_nWritten = 0;
    m_nWriteBackStarted = 0;
    m_bUnnamed = false;
    if (const EOutputFailure eLink = ResolveTarget(strTarget, m_strTarget); eLink != EOutputFailure::None)
        return Fail(eLink);

    struct stat stTarget {};
    const bool bExists = ::stat(m_strTarget.c_str(), &stTarget) == 0;
    if (bExists && S_ISDIR(stTarget.st_mode))
        return Fail(EOutputFailure::Other);
    // Renaming a file over a device or a FIFO would destroy it (as root,
    // even /dev/null), and opening one may wait for ever (a FIFO without a
    // reader): such a target is refused before anything opens it.
    if (bExists && !S_ISREG(stTarget.st_mode))
        return Fail(EOutputFailure::NotRegularFile);
    // Replacing needs only the folder's permission, but overwriting a file
    // needs the file's own: a file the user may not write stays as it is.
    if (bExists && ::faccessat(AT_FDCWD, m_strTarget.c_str(), W_OK, AT_EACCESS) != 0)
        return Fail(FailureOfErrno(errno));

    const std::string strFolder = FolderOf(m_strTarget);
    const int nUnnamed = OpenUnnamed(strFolder);
    if (nUnnamed >= 0) {
        m_hFile = nUnnamed;
        m_bUnnamed = true;
    } else {
        const bool bCreated = CreateTempName(strFolder, m_strTemp, [this](const std::string& strName) {
            // 0666 less the umask, as for any new file.
            const int nFd = ::open(strName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            m_hFile = nFd;
            return nFd >= 0;
        });
        if (!bCreated) {
            const int nError = errno;
            m_hFile = kNoFile;
            // A folder the user may not write, holding a file the user may:
            // the file is written in place, as overwriting it would be.
            if (bExists && (nError == EACCES || nError == EPERM))
                return CreateInPlace();
            return Fail(FailureOfErrno(nError));
        }
    }

    if (bExists) {
        if (stTarget.st_uid != ::geteuid() || stTarget.st_gid != ::getegid()) {
            // Keeping the owner is possible only with the privilege to do so; best effort.
            if (::fchown(Fd(m_hFile), stTarget.st_uid, stTarget.st_gid) != 0) {
            }
        }
        // A program's set-user-ID or set-group-ID bit does not pass to a
        // file the program did not write.
        if (::fchmod(Fd(m_hFile), stTarget.st_mode & 07777 & ~(S_ISUID | S_ISGID)) != 0) {
            const int nError = errno;
            Abandon();
            return Fail(FailureOfErrno(nError));
        }
    }
    return true;
}

bool CAtomicOutputFile::WriteOut(const char* pData, std::size_t nSize)
{
    std::size_t nLeft = nSize;
    m_nWritten += nLeft;
    while (nLeft > 0) {
        const ssize_t nDone = ::write(Fd(m_hFile), pData, nLeft);
        if (nDone < 0 && errno == EINTR)
            continue;
        if (nDone <= 0) {
            Fail(nDone < 0 ? FailureOfErrno(errno) : EOutputFailure::DiskFull);
            m_bFailed = true;
            break;
        }
        pData += nDone;
        nLeft -= static_cast<std::size_t>(nDone);
    }
    // The disk starts writing every few megabytes while the rest is still
    // being made, so that Commit's sync finds most of the file written.
    if (!m_bFailed && m_nWritten - m_nWriteBackStarted >= kWriteBackStep) {
        ::sync_file_range(Fd(m_hFile), static_cast<off_t>(m_nWriteBackStarted),
                          static_cast<off_t>(m_nWritten - m_nWriteBackStarted), SYNC_FILE_RANGE_WRITE);
        m_nWriteBackStarted = m_nWritten;
    }
    return !m_bFailed;
}

bool CAtomicOutputFile::Commit()
{
    if (m_hFile < 0)
        return false;
    bool bOk = !m_bFailed && Flush();
    bOk = bOk && (::fsync(Fd(m_hFile)) == 0 || Fail(FailureOfErrno(errno)));
    if (m_bInPlace) {
        bOk = bOk && CommitInPlace();
        m_bFailed = m_bFailed || !bOk;
        Abandon();
        return bOk;
    }
    const int nFd = Fd(m_hFile);
    if (bOk && m_bUnnamed) {
        // The name exists only from here to the rename just below.
        const std::string strProc = ProcFdPath(nFd);
        bOk = CreateTempName(FolderOf(m_strTarget), m_strTemp, [&strProc](const std::string& strName) {
            return ::linkat(AT_FDCWD, strProc.c_str(), AT_FDCWD, strName.c_str(), AT_SYMLINK_FOLLOW) == 0;
        });
    }
    m_hFile = kNoFile;
    bOk = CloseFd(nFd) && bOk;
    if (bOk) {
        const CEndingSignalsHeld held;
        bOk = ::rename(m_strTemp.c_str(), m_strTarget.c_str()) == 0 || Fail(FailureOfErrno(errno));
        if (bOk) {
            UnlistTempName(m_strTemp.c_str());
            m_strTemp.clear();
        }
    }
    if (!bOk) {
        m_bFailed = true;
        Abandon();
        return false;
    }
    // Make the rename itself durable. The new file is in place whatever this
    // gives, so a failure here is not a failure of the write.
    const int nDirFd = ::open(FolderOf(m_strTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nDirFd >= 0) {
        ::fsync(nDirFd);
        ::close(nDirFd);
    }
    return true;
}

bool CAtomicOutputFile::CreateInPlace()
{
    // Opened without following a link (the chain is resolved already) and
    // without waiting: what is opened must still be a regular file.
    const int nTarget = ::open(m_strTarget.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (nTarget < 0)
        return Fail(FailureOfErrno(errno));
    struct stat st {};
    if (::fstat(nTarget, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(nTarget);
        return Fail(EOutputFailure::NotRegularFile);
    }
    const int nScratch = OpenScratch();
    if (nScratch < 0) {
        const int nError = errno;
        ::close(nTarget);
        return Fail(FailureOfErrno(nError));
    }
    m_hTarget = nTarget;
    m_hFile = nScratch;
    m_bInPlace = true;
    return true;
}

bool CAtomicOutputFile::CommitInPlace()
{
    const int nTarget = Fd(m_hTarget);
    const int nNew = Fd(m_hFile);
    struct stat st {};
    if (::fstat(nTarget, &st) != 0)
        return Fail(FailureOfErrno(errno));
    // The old bytes, synced, before the first of them is overwritten.
    const int nSafe = OpenScratch();
    if (nSafe < 0)
        return Fail(FailureOfErrno(errno));
    const off_t nOldSize = CopyFileBytes(nTarget, nSafe);
    if (nOldSize < 0 || ::fsync(nSafe) != 0) {
        const int nError = errno;
        ::close(nSafe);
        return Fail(FailureOfErrno(nError));
    }
    // A signal that ended the process now would leave the file half written.
    const CEndingSignalsHeld held;
    const mode_t nOldMode = st.st_mode & 07777;
    const bool bSpecial = (nOldMode & (S_ISUID | S_ISGID)) != 0;
    // The special bits go before the new bytes arrive. Someone else's file
    // cannot be changed so; the system drops the bits when it is written.
    if (bSpecial && ::fchmod(nTarget, nOldMode & ~(S_ISUID | S_ISGID)) != 0) {
    }
    const off_t nNewSize = CopyFileBytes(nNew, nTarget);
    if (nNewSize >= 0 && ::ftruncate(nTarget, nNewSize) == 0 && ::fsync(nTarget) == 0) {
        ::close(nSafe);
        return true;
    }
    Fail(FailureOfErrno(errno));
    // Best effort: the bytes that were there go back.
    if (CopyFileBytes(nSafe, nTarget) == nOldSize && ::ftruncate(nTarget, nOldSize) == 0 && bSpecial &&
        ::fchmod(nTarget, nOldMode) != 0) {
    }
    ::fsync(nTarget);
    ::close(nSafe);
    return false;
}

void CAtomicOutputFile::Abandon()
{
    if (m_hFile >= 0) {
        ::close(Fd(m_hFile));
        m_hFile = kNoFile;
    }
    if (m_hTarget >= 0) {
        ::close(Fd(m_hTarget));
        m_hTarget = kNoFile;
    }
    if (!m_strTemp.empty()) {
        const CEndingSignalsHeld held;
        ::unlink(m_strTemp.c_str());
        UnlistTempName(m_strTemp.c_str());
        m_strTemp.clear();
    }
    m_strBuffer.clear();
}
