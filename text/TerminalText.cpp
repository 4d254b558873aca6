#include "text/TerminalText.h"

std::size_t DecodeUtf8(std::string_view str, char32_t& c)
{
    if (str.empty())
        return 0;
    const auto b0 = static_cast<unsigned char>(str[0]);
    std::size_t nLength;
    if (b0 < 0x80) {
        c = b0;
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        nLength = 2;
        c = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        nLength = 3;
        c = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        nLength = 4;
        c = b0 & 0x07;
    } else {
        return 0;
    }
    if (str.size() < nLength)
        return 0;
    for (std::size_t i = 1; i < nLength; ++i) {
        const auto b = static_cast<unsigned char>(str[i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if ((nLength == 3 && c < 0x800) || (nLength == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return nLength;
}

void AppendUtf8(std::string& str, char32_t c)
{
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = 0xFFFD;
    if (c < 0x80) {
        str += static_cast<char>(c);
    } else if (c < 0x800) {
        str += static_cast<char>(0xC0 | (c >> 6));
        str += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        str += static_cast<char>(0xE0 | (c >> 12));
        str += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        str += static_cast<char>(0xF0 | (c >> 18));
        str += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        str += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        str += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsControlCode(char32_t c)
{
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0);
}

std::string MakeTerminalSafe(std::string_view strUtf8)
{
    std::string strOut;
    strOut.reserve(strUtf8.size());
    while (!strUtf8.empty()) {
        char32_t c = 0;
        const std::size_t nLength = DecodeUtf8(strUtf8, c);
        if (nLength == 0 || (IsControlCode(c) && c != U'\n'))
            strOut += '?';
        else
            strOut.append(strUtf8.substr(0, nLength));
        strUtf8.remove_prefix(nLength == 0 ? 1 : nLength);
    }
    return strOut;
}
