#include "text/CodePage.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

std::string Cp932ToUtf8(std::string_view strCp932)
{
    std::string strUtf8;
    // ASCII stays as it is: most of a sheet file is.
    bool bAscii = true;
    for (const char c : strCp932)
        bAscii = bAscii && static_cast<unsigned char>(c) < 0x80;
    if (bAscii)
        return std::string(strCp932);

    const iconv_t hConv = ::iconv_open("UTF-8", "CP932");
    // iconv_open fails with (iconv_t)-1; compared as a number, not made a pointer.
    if (reinterpret_cast<std::intptr_t>(hConv) == -1) {
        // No conversion module: every byte beyond ASCII is unknown.
        for (const char c : strCp932)
            strUtf8 += static_cast<unsigned char>(c) < 0x80 ? std::string_view(&c, 1) : kReplacement;
        return strUtf8;
    }
    char* pIn = const_cast<char*>(strCp932.data());  // iconv's interface; the bytes are not changed
    std::size_t nInLeft = strCp932.size();
    char arOut[1024];
    while (nInLeft > 0) {
        char* pOut = arOut;
        std::size_t nOutLeft = sizeof arOut;
        const std::size_t nResult = ::iconv(hConv, &pIn, &nInLeft, &pOut, &nOutLeft);
        const int nError = errno;
        strUtf8.append(arOut, static_cast<std::size_t>(pOut - arOut));
        if (nResult == static_cast<std::size_t>(-1) && nError != E2BIG) {
            // A byte of no character, or a character cut off at the end.
            strUtf8 += kReplacement;
            ++pIn;
            --nInLeft;
            ::iconv(hConv, nullptr, nullptr, nullptr, nullptr);
        }
    }
    ::iconv_close(hConv);
    return strUtf8;
}
