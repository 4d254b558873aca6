#include "platform/FileIo.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

int Fd(FileHandle hFile)
{
    return static_cast<int>(hFile);
}

/// Bytes collected before the output file writes them out.
constexpr std::size_t kOutputBufferSize = 64 * 1024;

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

/// The file a path stands for: a symbolic link is followed to its final
/// target, so that the file is replaced and the link kept.
std::string ResolveTarget(const std::string& strPath)
{
    struct stat st {};
    if (::lstat(strPath.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return strPath;
    char* pszReal = ::realpath(strPath.c_str(), nullptr);
    if (pszReal == nullptr)
        return strPath;  // a dangling link: the link itself is replaced
    std::string strReal(pszReal);
    std::free(pszReal);
    return strReal;
}

bool CloseFd(int nFd)
{
    // After EINTR the descriptor is released on Linux; retrying would be wrong.
    return ::close(nFd) == 0 || errno == EINTR;
}

}  // namespace

// ---------------------------------------------------------------- CInputFile

CInputFile::~CInputFile()
{
    Close();
}

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

std::size_t CInputFile::Read(char* pBuffer, std::size_t nSize)
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

CAtomicOutputFile::~CAtomicOutputFile()
{
    Abandon();
}

bool CAtomicOutputFile::Create(const std::string& strTarget)
{
    Abandon();
    m_bFailed = false;
    m_bInPlace = false;
    m_strTarget = ResolveTarget(strTarget);

    struct stat stTarget {};
    const bool bExists = ::stat(m_strTarget.c_str(), &stTarget) == 0;
    if (bExists && S_ISDIR(stTarget.st_mode))
        return false;
    // Replacing needs only the folder's permission, but overwriting a file
    // needs the file's own: a file the user may not write stays as it is.
    if (bExists && ::faccessat(AT_FDCWD, m_strTarget.c_str(), W_OK, AT_EACCESS) != 0)
        return false;
    if (bExists && !S_ISREG(stTarget.st_mode)) {
        // Renaming a file over a device or a FIFO would destroy it (as root,
        // even /dev/null): such a target is written in place.
        const int nFd = ::open(m_strTarget.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (nFd < 0)
            return false;
        m_hFile = nFd;
        m_bInPlace = true;
        return true;
    }

    const std::string strFolder = FolderOf(m_strTarget);
    static unsigned s_nSerial = 0;
    for (int nTry = 0; nTry < 100 && m_hFile < 0; ++nTry) {
        struct timespec ts {};
        ::clock_gettime(CLOCK_REALTIME, &ts);
        const unsigned long nStamp =
            static_cast<unsigned long>(ts.tv_nsec) ^ (static_cast<unsigned long>(++s_nSerial) << 32);
        std::string strTemp = strFolder + "/.toviconv-" + std::to_string(::getpid()) + "-" + std::to_string(nStamp) + ".tmp";
        // 0666 less the umask, as for any new file; an existing target's bits follow below.
        const int nFd = ::open(strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (nFd >= 0) {
            m_hFile = nFd;
            m_strTemp = std::move(strTemp);
        } else if (errno != EEXIST && errno != EINTR) {
            return false;
        }
    }
    if (m_hFile < 0)
        return false;

    if (bExists) {
        if (stTarget.st_uid != ::geteuid() || stTarget.st_gid != ::getegid()) {
            // Keeping the owner is possible only with the privilege to do so; best effort.
            if (::fchown(Fd(m_hFile), stTarget.st_uid, stTarget.st_gid) != 0) {
            }
        }
        if (::fchmod(Fd(m_hFile), stTarget.st_mode & 07777) != 0) {
            Abandon();
            return false;
        }
    }
    return true;
}

bool CAtomicOutputFile::Write(std::string_view bytes)
{
    if (m_hFile < 0 || m_bFailed)
        return false;
    m_strBuffer.append(bytes);
    if (m_strBuffer.size() >= kOutputBufferSize)
        return Flush();
    return true;
}

bool CAtomicOutputFile::Flush()
{
    const char* pData = m_strBuffer.data();
    std::size_t nLeft = m_strBuffer.size();
    while (nLeft > 0) {
        const ssize_t nDone = ::write(Fd(m_hFile), pData, nLeft);
        if (nDone < 0 && errno == EINTR)
            continue;
        if (nDone <= 0) {
            m_bFailed = true;
            break;
        }
        pData += nDone;
        nLeft -= static_cast<std::size_t>(nDone);
    }
    m_strBuffer.clear();
    return !m_bFailed;
}

bool CAtomicOutputFile::Commit()
{
    if (m_hFile < 0)
        return false;
    bool bOk = !m_bFailed && Flush();
    // A FIFO or a terminal cannot be synced; nothing is renamed in place.
    bOk = bOk && (m_bInPlace || ::fsync(Fd(m_hFile)) == 0);
    const int nFd = Fd(m_hFile);
    m_hFile = kNoFile;
    bOk = CloseFd(nFd) && bOk;
    if (m_bInPlace) {
        m_bFailed = m_bFailed || !bOk;
        return bOk;
    }
    bOk = bOk && ::rename(m_strTemp.c_str(), m_strTarget.c_str()) == 0;
    if (!bOk) {
        m_bFailed = true;
        Abandon();
        return false;
    }
    m_strTemp.clear();
    // Make the rename itself durable. The new file is in place whatever this
    // gives, so a failure here is not a failure of the write.
    const int nDirFd = ::open(FolderOf(m_strTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nDirFd >= 0) {
        ::fsync(nDirFd);
        ::close(nDirFd);
    }
    return true;
}

void CAtomicOutputFile::Abandon()
{
    if (m_hFile >= 0) {
        ::close(Fd(m_hFile));
        m_hFile = kNoFile;
    }
    if (!m_strTemp.empty()) {
        ::unlink(m_strTemp.c_str());
        m_strTemp.clear();
    }
    m_strBuffer.clear();
}
