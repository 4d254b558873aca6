#include "platform/ConsoleText.h"

#include "platform/CodePage.h"
#include "platform/win32/WideText.h"

#include <windows.h>

std::string Cp932ToUtf8(std::string_view strCp932)
{
    // Character by character, so that a byte of no character becomes U+FFFD
    // as on POSIX (the system's own table would pass some of them on as
    // control codes).
    std::wstring strWide;
    for (std::size_t i = 0; i < strCp932.size();) {
        const auto c = static_cast<unsigned char>(strCp932[i]);
        const int nBytes = IsCp932LeadByte(c) && i + 1 < strCp932.size() ? 2 : 1;
        wchar_t arChar[2] = {};
        const int nChars =
            c == 0x80 || c == 0xA0 || c >= 0xFD || (nBytes == 1 && IsCp932LeadByte(c))
                ? 0
                : ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, strCp932.data() + i, nBytes, arChar, 2);
        if (nChars > 0) {
            strWide.append(arChar, static_cast<std::size_t>(nChars));
            i += static_cast<std::size_t>(nBytes);
        } else {
            strWide += L'\xFFFD';
            ++i;
        }
    }
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
