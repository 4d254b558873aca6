#include "system/posix/FileSystem.h"

#include "text/CodePage.h"
#include "text/Path.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// File systems that hold no user files: kernel views, memory-backed scratch
// space, automounter triggers and read-only package images.
constexpr std::array<std::string_view, 27> kPseudoTypes = {
    "autofs", "binfmt_misc", "bpf",      "cgroup",          "cgroup2",     "configfs",  "debugfs",
    "devpts", "devtmpfs",    "efivarfs", "fusectl",         "hugetlbfs",   "mqueue",    "nsfs",
    "proc",   "pstore",      "ramfs",    "rpc_pipefs",      "securityfs",  "selinuxfs", "squashfs",
    "sysfs",  "tmpfs",       "tracefs",  "fuse.gvfsd-fuse", "fuse.portal", "none",
};

std::string UnescapeMountField(std::string_view strField)
{
    std::string strOut;
    for (size_t i = 0; i < strField.size(); ++i) {
        if (strField[i] == '\\' && i + 3 < strField.size()) {
            const char c1 = strField[i + 1], c2 = strField[i + 2], c3 = strField[i + 3];
            if (c1 >= '0' && c1 <= '3' && c2 >= '0' && c2 <= '7' && c3 >= '0' && c3 <= '7') {
                strOut += static_cast<char>((c1 - '0') * 64 + (c2 - '0') * 8 + (c3 - '0'));
                i += 3;
                continue;
            }
        }
        strOut += strField[i];
    }
    return strOut;
}

std::vector<std::string_view> SplitFields(std::string_view strLine)
{
    std::vector<std::string_view> arFields;
    size_t nPos = 0;
    while (nPos < strLine.size()) {
        size_t nEnd = strLine.find(' ', nPos);
        if (nEnd == std::string_view::npos)
            nEnd = strLine.size();
        if (nEnd > nPos)
            arFields.push_back(strLine.substr(nPos, nEnd - nPos));
        nPos = nEnd + 1;
    }
    return arFields;
}

// Largest record getdents64 returns: header, a 255-byte name, NUL, padding.
constexpr size_t kMaxDirentRecord = (offsetof(dirent64, d_name) + 256 + 7) / 8 * 8;

// Reads directory entries with getdents64 and calls fn(name, d_type) for
// each. bShortReadIsEnd: the file system fills the buffer whenever entries
// remain, so a read that leaves room for another record was the last one
// (saves one system call per folder). false when the folder cannot be read.
// One buffer per thread: several threads may list folders at once.
template <typename Fn>
bool ForEachRawEntry(int nFd, bool bShortReadIsEnd, Fn fn)
{
    thread_local std::vector<char> arBuffer(65536);
    for (;;) {
        ssize_t nRead = ::getdents64(nFd, arBuffer.data(), arBuffer.size());
        if (nRead < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (nRead == 0)
            return true;
        size_t nPos = 0;
        while (nPos < static_cast<size_t>(nRead)) {
            const char* pRecord = arBuffer.data() + nPos;
            unsigned short nRecLen;
            std::memcpy(&nRecLen, pRecord + offsetof(dirent64, d_reclen), sizeof nRecLen);
            const auto nType = static_cast<unsigned char>(pRecord[offsetof(dirent64, d_type)]);
            const char* pName = pRecord + offsetof(dirent64, d_name);
            fn(std::string_view(pName, std::strlen(pName)), nType);
            if (nRecLen == 0)
                return false;
            nPos += nRecLen;
        }
        if (bShortReadIsEnd && static_cast<size_t>(nRead) + kMaxDirentRecord <= arBuffer.size())
            return true;
    }
}

// True for a folder entry (a symbolic link is never one).
bool IsFolderAt(int nFd, const char* pName, unsigned char nType)
{
    if (nType != DT_UNKNOWN)
        return nType == DT_DIR;
    struct stat st;
    return ::fstatat(nFd, pName, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

// Local file systems whose directory reading fills the caller's buffer
// while entries remain (ext2/3/4, XFS, Btrfs, F2FS, tmpfs, overlay).
bool FillsDirectoryBuffer(int nFd)
{
    struct statfs info;
    if (::fstatfs(nFd, &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53UL:      // ext2, ext3, ext4
    case 0x58465342UL:  // XFS
    case 0x9123683EUL:  // Btrfs
    case 0xF2F52010UL:  // F2FS
    case 0x01021994UL:  // tmpfs
    case 0x794C7630UL:  // overlay
        return true;
    default:
        return false;
    }
}

int OpenAt2NoCrossing(int nParent, const char* pName)
{
    struct open_how how = {};
    how.flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    how.resolve = RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    return static_cast<int>(::syscall(SYS_openat2, nParent, pName, &how, sizeof how));
}

// True for an entry that is, or links to, anything but a folder.
bool IsExistingFileAt(int nFd, const char* pName, unsigned char nType)
{
    if (nType == DT_REG)
        return true;
    if (nType == DT_DIR)
        return false;
    struct stat st;
    return ::fstatat(nFd, pName, &st, 0) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace

std::vector<std::string> ParseSearchRoots(std::string_view strMountInfo)
{
    std::vector<std::string> arOthers;
    size_t nPos = 0;
    while (nPos < strMountInfo.size()) {
        size_t nEnd = strMountInfo.find('\n', nPos);
        if (nEnd == std::string_view::npos)
            nEnd = strMountInfo.size();
        std::vector<std::string_view> arFields = SplitFields(strMountInfo.substr(nPos, nEnd - nPos));
        nPos = nEnd + 1;
        // id parent major:minor root mount-point options [optional...] - type source ...
        auto itDash = std::find(arFields.begin(), arFields.end(), std::string_view("-"));
        if (arFields.size() < 5 || itDash == arFields.end() || itDash + 1 == arFields.end())
            continue;
        std::string_view strType = *(itDash + 1);
        if (std::find(kPseudoTypes.begin(), kPseudoTypes.end(), strType) != kPseudoTypes.end())
            continue;
        std::string strMount = UnescapeMountField(arFields[4]);
        if (strMount != "/" && !strMount.empty() && strMount.front() == '/')
            arOthers.push_back(std::move(strMount));
    }
    std::sort(arOthers.begin(), arOthers.end());
    arOthers.erase(std::unique(arOthers.begin(), arOthers.end()), arOthers.end());
    std::vector<std::string> arRoots{"/"};
    for (std::string& strRoot : arOthers) {
        if (arRoots.size() >= 26)
            break;
        arRoots.push_back(std::move(strRoot));
    }
    return arRoots;
}

CPosixFileSystem::CPosixFileSystem(std::vector<std::string> arRoots) : m_arRoots(std::move(arRoots))
{
    // openat2 is missing on kernels before 5.6 and may be filtered out.
    const int nProbe = OpenAt2NoCrossing(AT_FDCWD, "/");
    m_bOpenAt2 = nProbe >= 0;
    if (nProbe >= 0)
        ::close(nProbe);
}

CPosixFileSystem::~CPosixFileSystem() = default;

std::string CPosixFileSystem::GetCurrentDir()
{
    char* pDir = ::getcwd(nullptr, 0);
    if (!pDir)
        return std::string();
    std::string strDir(pDir);
    std::free(pDir);
    return strDir;
}

bool CPosixFileSystem::SetCurrentDir(const std::string& strPath)
{
    return !strPath.empty() && ::chdir(strPath.c_str()) == 0;
}

std::vector<std::string> CPosixFileSystem::GetSearchRoots()
{
    std::vector<std::string> arRoots;
    if (!m_arRoots.empty()) {
        std::string strCurrent = GetCurrentDir();
        for (const std::string& strRoot : m_arRoots) {
            // An empty root names no folder and cannot be entered; a relative
            // one stays relative when the current directory is unknown.
            const bool bKeep = strRoot.empty() || (strRoot.front() != '/' && strCurrent.empty());
            arRoots.push_back(bKeep ? strRoot : MakeAbsolutePath(strCurrent, strRoot));
        }
        return arRoots;
    }
    std::string strMountInfo;
    int nFd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (nFd >= 0) {
        char buffer[8192];
        ssize_t nRead;
        while ((nRead = ::read(nFd, buffer, sizeof buffer)) > 0 || (nRead < 0 && errno == EINTR)) {
            if (nRead > 0)
                strMountInfo.append(buffer, static_cast<size_t>(nRead));
        }
        ::close(nFd);
    }
    for (std::string& strRoot : ParseSearchRoots(strMountInfo)) {
        // Single files bound into the tree are no place to search.
        if (strRoot == "/" || IsFolder(strRoot))
            arRoots.push_back(std::move(strRoot));
    }
    return arRoots;
}

int CPosixFileSystem::OpenRoot(const std::string& strRoot)
{
    int nFd = ::open(strRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFd < 0)
        return -1;
    struct stat st;
    if (::fstat(nFd, &st) != 0) {
        ::close(nFd);
        return -1;
    }
    m_nRootDevice = st.st_dev;
    m_bShortReadIsEnd = FillsDirectoryBuffer(nFd);
    return nFd;
}

int CPosixFileSystem::OpenSubFolder(int nParent, std::string_view strName)
{
    const std::string strNameZ(strName);  // NUL-terminated
    if (m_bOpenAt2) {
        // One system call refuses both a symbolic link and a mount point.
        const int nFd = OpenAt2NoCrossing(nParent, strNameZ.c_str());
        if (nFd >= 0)
            return nFd;
        if (errno == EMFILE || errno == ENFILE)
            return kNoHandleLeft;
        // A mount point that only binds another folder of the same file
        // system (a read-only bind mount, say) is no other file system: it
        // is walked, as the device test below decides.
        if (errno != EXDEV)
            return -1;
    }
    int nFd = ::openat(nParent, strNameZ.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (nFd < 0)
        return errno == EMFILE || errno == ENFILE ? kNoHandleLeft : -1;
    struct stat st;
    if (::fstat(nFd, &st) != 0 || st.st_dev != m_nRootDevice) {
        ::close(nFd);
        return -1;
    }
    return nFd;
}

size_t CPosixFileSystem::GetFolderHandleBudget() const
{
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return SIZE_MAX;
    // What the process holds now (the standard streams, the toolkit's), and
    // a few for what the run opens meanwhile: the legacy file, the output
    // file and its scratch files, /proc.
    size_t nInUse = 3;  // the standard streams, when /proc cannot tell
    const int nFds = ::open("/proc/self/fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFds >= 0) {
        size_t nEntries = 0;
        if (ForEachRawEntry(nFds, false, [&nEntries](std::string_view, unsigned char) { ++nEntries; }) && nEntries >= 3)
            nInUse = nEntries - 3;  // less ".", ".." and this listing's own descriptor
        ::close(nFds);
    }
    constexpr size_t kReserved = 4;
    const auto nLimit = static_cast<size_t>(limit.rlim_cur);
    return nLimit > nInUse + kReserved ? nLimit - nInUse - kReserved : 0;
}

bool CPosixFileSystem::ReadFolder(int nFolder, CFolderEntries& entries)
{
    entries.Clear();
    const bool bNoTypes = m_bNoEntryTypes;
    bool bRead = ForEachRawEntry(nFolder, m_bShortReadIsEnd, [&](std::string_view strName, unsigned char nType) {
        entries.Add(strName,
                    IsFolderAt(nFolder, strName.data(), bNoTypes ? static_cast<unsigned char>(DT_UNKNOWN) : nType));
    });
    if (!bRead)
        entries.Clear();
    return bRead;
}

void CPosixFileSystem::CloseFolder(int nFolder)
{
    if (nFolder >= 0)
        ::close(nFolder);
}

bool CPosixFileSystem::FindFile(const std::string& strPath, std::string& strFound)
{
    std::string_view strFolder = FolderOfPath(strPath);
    std::string_view strBase = std::string_view(strPath).substr(strFolder.size());
    if (strBase.empty() || strBase == "." || strBase == "..")
        return false;
    struct stat st;
    if (::stat(strPath.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
        strFound = strPath;
        return true;
    }
    std::string strOpen = strFolder.empty() ? std::string(".") : std::string(strFolder);
    int nFd = ::open(strOpen.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nFd < 0)
        return false;
    std::string strMatch;
    bool bFound = false;
    ForEachRawEntry(nFd, false, [&](std::string_view strName, unsigned char nType) {
        if (EqualNoCaseAscii(strName, strBase) && IsExistingFileAt(nFd, strName.data(), nType)) {
            strMatch.assign(strName);
            bFound = true;
        }
    });
    ::close(nFd);
    if (!bFound)
        return false;
    strFound.assign(strFolder);
    strFound += strMatch;
    return true;
}

bool CPosixFileSystem::IsFolder(const std::string& strPath)
{
    struct stat st;
    return !strPath.empty() && ::stat(strPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::unique_ptr<CFileSystem> CreateFileSystem(std::vector<std::string> arRoots)
{
    return std::make_unique<CPosixFileSystem>(std::move(arRoots));
}
