#include "frontends/wx/WxFileFilter.h"

#include <vector>

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char OtherCase(char c)
{
    return static_cast<char>(c ^ 0x20);
}

std::string_view TrimBlanks(std::string_view str)
{
    while (!str.empty() && (str.front() == ' ' || str.front() == '\t'))
        str.remove_prefix(1);
    while (!str.empty() && (str.back() == ' ' || str.back() == '\t'))
        str.remove_suffix(1);
    return str;
}

std::vector<std::string_view> Split(std::string_view str, char cSeparator)
{
    std::vector<std::string_view> arParts;
    for (;;) {
        const size_t nAt = str.find(cSeparator);
        arParts.push_back(str.substr(0, nAt));
        if (nAt == std::string_view::npos)
            return arParts;
        str.remove_prefix(nAt + 1);
    }
}

}  // namespace

std::string MakeCaseInsensitivePattern(std::string_view strPattern)
{
    std::string strOut;
    strOut.reserve(strPattern.size() * 4);
    for (size_t i = 0; i < strPattern.size(); ++i) {
        const char c = strPattern[i];
        if (c == '\\' && i + 1 < strPattern.size()) {
            strOut.append(strPattern.substr(i, 2));
            ++i;
        } else if (c == '[') {
            // A bracket expression already names its characters: copied up
            // to its closing "]" (a "]" right after "[" or "[!" belongs to it).
            size_t nEnd = i + 1;
            if (nEnd < strPattern.size() && (strPattern[nEnd] == '!' || strPattern[nEnd] == '^'))
                ++nEnd;
            if (nEnd < strPattern.size() && strPattern[nEnd] == ']')
                ++nEnd;
            nEnd = strPattern.find(']', nEnd);
            if (nEnd == std::string_view::npos) {
                strOut.append(strPattern.substr(i));
                break;
            }
            strOut.append(strPattern.substr(i, nEnd - i + 1));
            i = nEnd;
        } else if (IsAsciiLetter(c)) {
            strOut += '[';
            strOut += c;
            strOut += OtherCase(c);
            strOut += ']';
        } else {
            strOut += c;
        }
    }
    return strOut;
}

std::string MakeWxWildcard(std::string_view strFilter)
{
    const std::vector<std::string_view> arFields = Split(strFilter, '|');
    std::string strOut;
    for (size_t i = 0; i < arFields.size(); i += 2) {
        const std::string_view strDescription = TrimBlanks(arFields[i]);
        const std::string_view strPatterns = i + 1 < arFields.size() ? arFields[i + 1] : std::string_view();
        std::string strJoined;
        std::string strPlain;
        for (std::string_view strPattern : Split(strPatterns, ';')) {
            strPattern = TrimBlanks(strPattern);
            if (strPattern.empty())
                continue;
            if (!strJoined.empty()) {
                strJoined += ';';
                strPlain += ';';
            }
            strJoined += MakeCaseInsensitivePattern(strPattern);
            strPlain += strPattern;
        }
        if (strJoined.empty())
            continue;
        if (!strOut.empty())
            strOut += '|';
        strOut.append(strDescription.empty() ? std::string_view(strPlain) : strDescription);
        strOut += '|';
        strOut += strJoined;
    }
    return strOut;
}
