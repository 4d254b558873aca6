#include "system/StdStreams.h"

#include "text/TerminalText.h"

#include <cerrno>
#include <string>
#include <unistd.h>

namespace {

void WriteWhole(int nFd, std::string_view strUtf8)
{
    // As on the console: names reach a terminal with their control
    // characters shown visibly, a pipe or file byte for byte.
    std::string strSafe;
    if (::isatty(nFd) == 1) {
        strSafe = MakeTerminalSafe(strUtf8);
        strUtf8 = strSafe;
    }
    const char* pData = strUtf8.data();
    size_t nSize = strUtf8.size();
    while (nSize > 0) {
        const ssize_t nDone = ::write(nFd, pData, nSize);
        if (nDone < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        pData += nDone;
        nSize -= static_cast<size_t>(nDone);
    }
}

}  // namespace

void WriteToStdError(std::string_view strUtf8)
{
    WriteWhole(STDERR_FILENO, strUtf8);
}

void ShowCommandLineText(std::string_view strUtf8, bool bError)
{
    WriteWhole(bError ? STDERR_FILENO : STDOUT_FILENO, strUtf8);
}

bool CanTalkOnConsole()
{
    return true;
}

void ConnectStandardStreams() {}

bool WriteToStdOutput(std::string_view strUtf8)
{
    std::string strSafe;
    if (::isatty(STDOUT_FILENO) == 1) {
        strSafe = MakeTerminalSafe(strUtf8);
        strUtf8 = strSafe;
    }
    while (!strUtf8.empty()) {
        const ssize_t nDone = ::write(STDOUT_FILENO, strUtf8.data(), strUtf8.size());
        if (nDone < 0 && errno == EINTR)
            continue;
        if (nDone <= 0)
            return false;
        strUtf8.remove_prefix(static_cast<std::size_t>(nDone));
    }
    return true;
}
