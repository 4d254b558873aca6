#include "system/win32/WideText.h"

#include <climits>
#include <windows.h>

namespace {

bool Widen(std::string_view strUtf8, DWORD nFlags, std::wstring& strWide)
{
    strWide.clear();
    if (strUtf8.empty())
        return true;
    if (strUtf8.size() > INT_MAX)
        return false;
    const int nBytes = static_cast<int>(strUtf8.size());
    const int nChars = ::MultiByteToWideChar(CP_UTF8, nFlags, strUtf8.data(), nBytes, nullptr, 0);
    if (nChars <= 0)
        return false;
    strWide.resize(static_cast<std::size_t>(nChars));
    if (::MultiByteToWideChar(CP_UTF8, nFlags, strUtf8.data(), nBytes, strWide.data(), nChars) != nChars) {
        strWide.clear();
        return false;
    }
    return true;
}

}  // namespace

bool WidenPath(std::string_view strPath, std::wstring& strWide)
{
    if (strPath.find('\0') != std::string_view::npos) {
        strWide.clear();
        return false;
    }
    return Widen(strPath, MB_ERR_INVALID_CHARS, strWide);
}

std::wstring WidenText(std::string_view strUtf8)
{
    std::wstring strWide;
    Widen(strUtf8, 0, strWide);
    return strWide;
}

std::string NarrowText(std::wstring_view strWide)
{
    if (strWide.empty() || strWide.size() > INT_MAX)
        return {};
    const int nChars = static_cast<int>(strWide.size());
    const int nBytes = ::WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nChars, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return {};
    std::string strUtf8(static_cast<std::size_t>(nBytes), '\0');
    if (::WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nChars, strUtf8.data(), nBytes, nullptr, nullptr) != nBytes)
        return {};
    return strUtf8;
}
