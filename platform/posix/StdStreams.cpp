#include "platform/StdStreams.h"

#include <cerrno>
#include <unistd.h>

void WriteToStdError(std::string_view strUtf8)
{
    const char* pData = strUtf8.data();
    size_t nSize = strUtf8.size();
    while (nSize > 0) {
        const ssize_t nDone = ::write(STDERR_FILENO, pData, nSize);
        if (nDone < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        pData += nDone;
        nSize -= static_cast<size_t>(nDone);
    }
}
