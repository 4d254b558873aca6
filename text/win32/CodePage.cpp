#include "text/CodePage.h"
#include "text/TerminalText.h"

#include <windows.h>

std::string Cp932ToUtf8(std::string_view strCp932)
{
    // Character by character, so that a byte of no character becomes U+FFFD
    // as on POSIX (the system's own table would pass some of them on as
    // control codes).
    std::string strUtf8;
    for (std::size_t i = 0; i < strCp932.size();) {
        const auto c = static_cast<unsigned char>(strCp932[i]);
        const int nBytes = IsCp932LeadByte(c) && i + 1 < strCp932.size() ? 2 : 1;
        wchar_t arChar[2] = {};
        const int nChars =
            c == 0x80 || c == 0xA0 || c >= 0xFD || (nBytes == 1 && IsCp932LeadByte(c))
                ? 0
                : ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, strCp932.data() + i, nBytes, arChar, 2);
        if (nChars > 0) {
            // Code page 932 maps into the basic plane alone: no surrogates.
            for (int n = 0; n < nChars; ++n)
                AppendUtf8(strUtf8, arChar[n]);
            i += static_cast<std::size_t>(nBytes);
        } else {
            AppendUtf8(strUtf8, U'\xFFFD');
            ++i;
        }
    }
    return strUtf8;
}
