#include "text/CodePage.h"

namespace {

char ToUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string MakeUpperCp932(std::string_view str)
{
    std::string strOut(str);
    for (size_t i = 0; i < strOut.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(strOut[i]))) {
            ++i;  // the trail byte stays as it is
            continue;
        }
        strOut[i] = ToUpperAscii(strOut[i]);
    }
    return strOut;
}

std::string MakeUpperAscii(std::string_view str)
{
    std::string strOut(str);
    for (char& c : strOut)
        c = ToUpperAscii(c);
    return strOut;
}

bool EqualNoCaseAscii(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ToUpperAscii(a[i]) != ToUpperAscii(b[i]))
            return false;
    }
    return true;
}

std::string_view::size_type ReverseFindCp932(std::string_view str, char ch)
{
    std::string_view::size_type nFound = std::string_view::npos;
    for (size_t i = 0; i < str.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(str[i]))) {
            ++i;
            continue;
        }
        if (str[i] == ch)
            nFound = i;
    }
    return nFound;
}
