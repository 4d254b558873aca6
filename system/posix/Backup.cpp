// The POSIX part of the backups: the user's data folder and the file tests.

#include "system/Backup.h"

#include "text/Path.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// The user's home folder: $HOME, or the password database's entry.
std::string HomeFolder()
{
    const char* pHome = std::getenv("HOME");
    if (pHome != nullptr && *pHome == '/')
        return pHome;
    const struct passwd* pEntry = ::getpwuid(::geteuid());
    return pEntry != nullptr && pEntry->pw_dir != nullptr ? pEntry->pw_dir : "";
}

}  // namespace

std::string UserBackupFolder()
{
    // As the XDG base directories have it, a relative $XDG_DATA_HOME is invalid
    // and ignored.
    const char* pData = std::getenv("XDG_DATA_HOME");
    std::string strData;
    if (pData != nullptr && *pData == '/') {
        strData = pData;
    } else {
        const std::string strHome = HomeFolder();
        if (strHome.empty())
            return {};
        strData = JoinPath(JoinPath(strHome, ".local"), "share");
    }
    return JoinPath(JoinPath(strData, "toviconv"), "backups");
}

bool CreateFolderPath(const std::string& strFolder)
{
    struct stat st {};
    if (::stat(strFolder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const std::string_view strParent = FolderOfPath(strFolder);
    // The parent without its separator; a root has none to drop.
    if (strParent.size() > 1 && !CreateFolderPath(std::string(strParent.substr(0, strParent.size() - 1))))
        return false;
    // Private: the backups hold the user's sheets.
    return ::mkdir(strFolder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool IsRegularFile(const std::string& strPath)
{
    struct stat st {};
    return ::stat(strPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& strPath)
{
    struct stat st {};
    return ::lstat(strPath.c_str(), &st) == 0;
}
