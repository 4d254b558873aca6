#include "system/Process.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace {

/// Opens something harmless onto the lowest free descriptor, nFd: the null
/// device, or the root folder where there is no /dev (reads and writes on a
/// folder fail, which is as good).
bool FillDescriptor(int nFd)
{
    int nOpened = ::open("/dev/null", nFd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (nOpened < 0)
        nOpened = ::open("/", O_RDONLY | O_DIRECTORY);
    if (nOpened < 0)
        return false;
    if (nOpened == nFd)
        return true;
    const bool bMoved = ::dup2(nOpened, nFd) == nFd;
    ::close(nOpened);
    return bMoved;
}

}  // namespace

bool PrepareProcess()
{
    // In order, so that each open takes the descriptor being filled.
    for (int nFd = STDIN_FILENO; nFd <= STDERR_FILENO; ++nFd) {
        if (::fcntl(nFd, F_GETFD) == -1 && errno == EBADF && !FillDescriptor(nFd))
            return false;
    }
    // Messages to a pipe nobody reads are lost; the output file and the exit
    // status are not.
    // Fails only for a signal number that does not exist.
    static_cast<void>(::signal(SIGPIPE, SIG_IGN));
    return true;
}

std::vector<std::string> GetCommandLineArguments(int argc, char** argv)
{
    std::vector<std::string> arArgs;
    for (int i = 1; i < argc; ++i)
        arArgs.emplace_back(argv[i]);
    return arArgs;
}

namespace {

/// The locale that decides the language of messages, as setlocale would
/// take it from the environment: the first of LC_ALL, LC_MESSAGES and LANG
/// that is set and not empty.
const char* MessagesLocale()
{
    for (const char* pName : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* pValue = std::getenv(pName);
        if (pValue != nullptr && *pValue != '\0')
            return pValue;
    }
    return "";
}

}  // namespace

bool UserPrefersJapanese()
{
    static const bool s_bJapanese = std::strncmp(MessagesLocale(), "ja", 2) == 0;
    return s_bJapanese;
}
