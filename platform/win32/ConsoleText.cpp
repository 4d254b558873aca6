#include "platform/ConsoleText.h"

#include "platform/CodePage.h"
#include "platform/win32/WideText.h"

#include <windows.h>

std::string Cp932ToUtf8(std::string_view strCp932)
{
    if (strCp932.empty())
        return {};
    // Bytes that are no character of the code page become U+30FB or U+FFFD
    // by the system's rules; never an error.
    const int nBytes = static_cast<int>(strCp932.size());
    const int nChars = ::MultiByteToWideChar(932, 0, strCp932.data(), nBytes, nullptr, 0);
    if (nChars <= 0)
        return std::string(strCp932.size(), '?');
    std::wstring strWide(static_cast<std::size_t>(nChars), L'\0');
    ::MultiByteToWideChar(932, 0, strCp932.data(), nBytes, strWide.data(), nChars);
    return NarrowText(strWide);
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
