#include "platform/StdStreams.h"

#include "platform/win32/WideText.h"

#include <algorithm>
#include <windows.h>

namespace {

/// The most a single WriteFile or WriteConsoleW is given at once.
constexpr std::size_t kChunk = 32 * 1024;

/// Hands the text to fnWrite(data, count, &written) in chunks until all of
/// it is written or a write fails.
template <typename TChar, typename FWrite>
void WriteWhole(std::basic_string_view<TChar> text, FWrite fnWrite)
{
    while (!text.empty()) {
        DWORD nDone = 0;
        if (!fnWrite(text.data(), static_cast<DWORD>(std::min(kChunk, text.size())), &nDone) || nDone == 0)
            return;
        text.remove_prefix(nDone);
    }
}

}  // namespace

void WriteToStdError(std::string_view strUtf8)
{
    const HANDLE hError = ::GetStdHandle(STD_ERROR_HANDLE);
    if (hError == nullptr || hError == INVALID_HANDLE_VALUE)
        return;
    DWORD nMode = 0;
    if (::GetConsoleMode(hError, &nMode)) {
        // A console shows UTF-16 whatever its code page.
        const std::wstring strWide = WidenText(strUtf8);
        WriteWhole(std::wstring_view(strWide), [hError](const wchar_t* pData, DWORD nSize, DWORD* pDone) {
            return ::WriteConsoleW(hError, pData, nSize, pDone, nullptr);
        });
        return;
    }
    // A pipe or a file gets the UTF-8 bytes as they are.
    WriteWhole(strUtf8, [hError](const char* pData, DWORD nSize, DWORD* pDone) {
        return ::WriteFile(hError, pData, nSize, pDone, nullptr);
    });
}
