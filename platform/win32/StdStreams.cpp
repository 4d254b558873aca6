#include "platform/StdStreams.h"

#include "platform/win32/WideText.h"

#include <algorithm>
#include <windows.h>

namespace {

/// The most a single WriteFile or WriteConsoleW is given at once.
constexpr std::size_t kChunk = 32 * 1024;

}  // namespace

void WriteToStdError(std::string_view strUtf8)
{
    const HANDLE hError = ::GetStdHandle(STD_ERROR_HANDLE);
    if (hError == nullptr || hError == INVALID_HANDLE_VALUE || strUtf8.empty())
        return;
    DWORD nMode = 0;
    if (::GetConsoleMode(hError, &nMode)) {
        // A console shows UTF-16 whatever its code page.
        const std::wstring strWide = WidenText(strUtf8);
        std::size_t nDone = 0;
        while (nDone < strWide.size()) {
            const DWORD nTry = static_cast<DWORD>(std::min(kChunk, strWide.size() - nDone));
            DWORD nWritten = 0;
            if (!::WriteConsoleW(hError, strWide.data() + nDone, nTry, &nWritten, nullptr) || nWritten == 0)
                return;
            nDone += nWritten;
        }
        return;
    }
    // A pipe or a file gets the UTF-8 bytes as they are.
    std::size_t nDone = 0;
    while (nDone < strUtf8.size()) {
        const DWORD nTry = static_cast<DWORD>(std::min(kChunk, strUtf8.size() - nDone));
        DWORD nWritten = 0;
        if (!::WriteFile(hError, strUtf8.data() + nDone, nTry, &nWritten, nullptr) || nWritten == 0)
            return;
        nDone += nWritten;
    }
}
