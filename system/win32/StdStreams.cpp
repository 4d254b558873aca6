#include "system/StdStreams.h"

#include "system/win32/WideText.h"
#include "text/MessageBox.h"
#include "text/TerminalText.h"

#include <algorithm>
#include <cstdio>
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
    // On a console, control characters of the text show as "?" (as on a
    // POSIX terminal): a file name cannot move the cursor or clear the screen.
    const HANDLE hError = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD nMode = 0;
    if (hError != nullptr && hError != INVALID_HANDLE_VALUE && ::GetConsoleMode(hError, &nMode))
        WriteUtf8(hError, MakeTerminalSafe(strUtf8));
    else
        WriteUtf8(hError, strUtf8);
}

void WriteUtf8(void* hStream, std::string_view strUtf8)
{
    const HANDLE hError = hStream;
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

namespace {

/// The stream's handle, replaced by the console's own when it leads nowhere.
void ConnectStream(DWORD nStream, const char* pDevice, FILE* pFile, const char* pMode)
{
    const HANDLE hHandle = ::GetStdHandle(nStream);
    if (hHandle != nullptr && hHandle != INVALID_HANDLE_VALUE && ::GetFileType(hHandle) != FILE_TYPE_UNKNOWN)
        return;
    const HANDLE hConsole = ::CreateFileA(pDevice, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
    if (hConsole == INVALID_HANDLE_VALUE)
        return;
    ::SetStdHandle(nStream, hConsole);
    // The C library's stream too (the help text goes through it).
    std::freopen(pDevice, pMode, pFile);
}

}  // namespace

void ConnectStandardStreams()
{
    // Nothing to connect where no console started the program (a
    // double-click). A console the program has already (the console build,
    // one inherited or made) only fills the streams that lead nowhere.
    if (!::AttachConsole(ATTACH_PARENT_PROCESS) && ::GetLastError() != ERROR_ACCESS_DENIED)
        return;
    ConnectStream(STD_INPUT_HANDLE, "CONIN$", stdin, "r");
    ConnectStream(STD_OUTPUT_HANDLE, "CONOUT$", stdout, "w");
    ConnectStream(STD_ERROR_HANDLE, "CONOUT$", stderr, "w");
}

namespace {

/// True when the standard handle leads to a console, a file or a pipe.
bool LeadsSomewhere(DWORD nStream)
{
    const HANDLE hHandle = ::GetStdHandle(nStream);
    return hHandle != nullptr && hHandle != INVALID_HANDLE_VALUE && ::GetFileType(hHandle) != FILE_TYPE_UNKNOWN;
}

/// True when text written to the standard handle reaches the user: a
/// console, or a file or pipe the caller set up. Without a console a
/// character device (NUL) is nowhere anybody reads.
bool ReachesTheUser(DWORD nStream)
{
    if (!LeadsSomewhere(nStream))
        return false;
    if (::GetConsoleWindow() != nullptr)
        return true;
    const DWORD nType = ::GetFileType(::GetStdHandle(nStream));
    return nType == FILE_TYPE_DISK || nType == FILE_TYPE_PIPE;
}

}  // namespace

void ShowCommandLineText(std::string_view strUtf8, bool bError)
{
    const DWORD nStream = bError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
    if (ReachesTheUser(nStream)) {
        if (bError)
            WriteToStdError(strUtf8);
        else
            WriteUtf8(::GetStdHandle(nStream), strUtf8);
        return;
    }
    // A windowed program's standard streams lead nowhere anybody looks.
    std::string_view strText = strUtf8;
    while (!strText.empty() && strText.back() == '\n')
        strText.remove_suffix(1);
    ::MessageBoxW(nullptr, WidenText(strText).c_str(), WidenText(kAppTitle).c_str(),
                  MB_OK | MB_SETFOREGROUND | (bError ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}

bool CanTalkOnConsole()
{
    return ::GetConsoleWindow() != nullptr || (LeadsSomewhere(STD_INPUT_HANDLE) && LeadsSomewhere(STD_OUTPUT_HANDLE));
}

bool WriteToStdOutput(std::string_view strUtf8)
{
    const HANDLE hOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (hOutput == nullptr || hOutput == INVALID_HANDLE_VALUE)
        return false;
    DWORD nMode = 0;
    // On a console, control characters show as "?", as on standard error.
    if (::GetConsoleMode(hOutput, &nMode))
        WriteUtf8(hOutput, MakeTerminalSafe(strUtf8));
    else
        WriteUtf8(hOutput, strUtf8);
    return true;
}
