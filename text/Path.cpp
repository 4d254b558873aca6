#include "text/Path.h"

#include <vector>

namespace {

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

/// Length of "X:" at the start of the text, or 0.
std::size_t DriveLength(std::string_view strPath)
{
    return strPath.size() >= 2 && IsDriveLetter(strPath[0]) && strPath[1] == ':' ? 2 : 0;
}

std::size_t WindowsRootLength(std::string_view strPath)
{
    constexpr EPathStyle kStyle = EPathStyle::Windows;
    auto isSep = [&strPath](std::size_t n) { return n < strPath.size() && IsPathSeparator(strPath[n], kStyle); };
    // Long-path and device prefixes: \\?\ and \\.\ followed by an ordinary root.
    if (strPath.size() >= 4 && isSep(0) && isSep(1) && (strPath[2] == '?' || strPath[2] == '.') && isSep(3)) {
        const std::size_t nRest = WindowsRootLength(strPath.substr(4));
        return 4 + (nRest > 0 ? nRest : 0);
    }
    if (isSep(0) && isSep(1)) {
        // \\server\share\: two components after the leading pair.
        std::size_t nPos = 2;
        for (int nPart = 0; nPart < 2; ++nPart) {
            while (nPos < strPath.size() && !isSep(nPos))
                ++nPos;
            if (nPos < strPath.size())
                ++nPos;
        }
        return nPos;
    }
    const std::size_t nDrive = DriveLength(strPath);
    return isSep(nDrive) ? nDrive + 1 : nDrive;
}

/// True when both texts start with the same drive letter, ignoring case.
bool EqualDrive(std::string_view strA, std::string_view strB)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return DriveLength(strA) == 2 && DriveLength(strB) == 2 && lower(strA[0]) == lower(strB[0]);
}

}  // namespace

std::size_t PathRootLength(std::string_view strPath, EPathStyle eStyle)
{
    if (eStyle == EPathStyle::Windows)
        return WindowsRootLength(strPath);
    return !strPath.empty() && strPath.front() == '/' ? 1 : 0;
}

std::string_view FolderOfPath(std::string_view strPath, EPathStyle eStyle)
{
    for (std::size_t n = strPath.size(); n > 0; --n) {
        if (IsPathSeparator(strPath[n - 1], eStyle))
            return strPath.substr(0, n);
    }
    // "C:name" lies in the current folder of drive C:.
    return eStyle == EPathStyle::Windows ? strPath.substr(0, DriveLength(strPath)) : std::string_view();
}

std::string JoinPath(std::string_view strFolder, std::string_view strName, EPathStyle eStyle)
{
    // Repeated trailing separators become one (a root keeps its own).
    const std::size_t nRoot = PathRootLength(strFolder, eStyle);
    while (strFolder.size() > nRoot && strFolder.size() >= 2 && IsPathSeparator(strFolder.back(), eStyle) &&
           IsPathSeparator(strFolder[strFolder.size() - 2], eStyle))
        strFolder.remove_suffix(1);
    std::string strPath(strFolder);
    const bool bDriveOnly = eStyle == EPathStyle::Windows && strPath.size() == 2 && DriveLength(strPath) == 2;
    if (!strPath.empty() && !bDriveOnly && !IsPathSeparator(strPath.back(), eStyle))
        strPath += PathSeparator(eStyle);
    if (strPath.empty())
        strPath += PathSeparator(eStyle);
    strPath.append(strName);
    return strPath;
}

std::string MakeAbsolutePath(std::string_view strCurrent, std::string_view strPath, EPathStyle eStyle)
{
    const char cSeparator = PathSeparator(eStyle);
    std::vector<std::string_view> arParts;
    auto addComponents = [&arParts, eStyle](std::string_view strText) {
        std::size_t nPos = 0;
        while (nPos <= strText.size()) {
            std::size_t nEnd = nPos;
            while (nEnd < strText.size() && !IsPathSeparator(strText[nEnd], eStyle))
                ++nEnd;
            const std::string_view strPart = strText.substr(nPos, nEnd - nPos);
            if (strPart == "..") {
                if (!arParts.empty())
                    arParts.pop_back();
            } else if (!strPart.empty() && strPart != ".") {
                arParts.push_back(strPart);
            }
            nPos = nEnd + 1;
        }
    };

    std::string strRoot;
    const std::size_t nPathRoot = PathRootLength(strPath, eStyle);
    const bool bPathHasSeparatorRoot = nPathRoot > 0 && IsPathSeparator(strPath[nPathRoot - 1], eStyle);
    if (bPathHasSeparatorRoot && (eStyle == EPathStyle::Posix || nPathRoot > 1)) {
        // A root of its own: "/", "C:\", "\\server\share\".
        strRoot.assign(strPath.substr(0, nPathRoot));
        addComponents(strPath.substr(nPathRoot));
    } else {
        // Relative to the current folder, or (Windows) "\x" on the current
        // drive and "C:x" on drive C:.
        const std::size_t nCurrentRoot = PathRootLength(strCurrent, eStyle);
        strRoot.assign(strCurrent.substr(0, nCurrentRoot));
        const std::size_t nDrive = eStyle == EPathStyle::Windows ? DriveLength(strPath) : 0;
        if (nDrive > 0 && !EqualDrive(strRoot, strPath)) {
            strRoot = std::string(strPath.substr(0, 2)) + cSeparator;
        } else {
            if (!bPathHasSeparatorRoot)
                addComponents(strCurrent.substr(nCurrentRoot));
        }
        addComponents(strPath.substr(nPathRoot));
    }
    if (eStyle == EPathStyle::Windows) {
        for (char& c : strRoot) {
            if (c == '/')
                c = '\\';
        }
        if (strRoot.size() == 2 && DriveLength(strRoot) == 2)
            strRoot += '\\';
    }
    if (strRoot.empty())
        strRoot += cSeparator;
    std::string strOut = strRoot;
    for (std::string_view strPart : arParts) {
        if (!IsPathSeparator(strOut.back(), eStyle))
            strOut += cSeparator;
        strOut.append(strPart);
    }
    return strOut;
}

std::string_view WithoutPastedQuotes(std::string_view strPath)
{
    if (strPath.size() >= 2 && strPath.front() == '"' && strPath.back() == '"' &&
        strPath.substr(1, strPath.size() - 2).find('"') == std::string_view::npos)
        return strPath.substr(1, strPath.size() - 2);
    return strPath;
}
