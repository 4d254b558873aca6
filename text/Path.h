#pragma once
// Paths as the system writes them. POSIX paths separate with "/" and have
// the one root "/"; Windows paths separate with "\" (and accept "/"), and
// their roots are a drive ("C:\"), a share ("\\server\share\") or a long-path
// prefix ("\\?\C:\"). A root keeps its separator: joining "C:\" and "x" gives
// "C:\x", never "C:\\x" or "C:\/x".

#include <string>
#include <string_view>

enum class EPathStyle { Posix, Windows };

/// The style of the system the program is built for.
constexpr EPathStyle NativePathStyle()
{
#ifdef _WIN32
    return EPathStyle::Windows;
#else
    return EPathStyle::Posix;
#endif
}

/// The separator the style writes.
constexpr char PathSeparator(EPathStyle eStyle)
{
    return eStyle == EPathStyle::Windows ? '\\' : '/';
}

/// True for a character that separates path components in the style.
constexpr bool IsPathSeparator(char c, EPathStyle eStyle)
{
    return c == '/' || (eStyle == EPathStyle::Windows && c == '\\');
}

/// Length of the root at the start of the path, its separator included
/// ("/" 1; "C:\" 3; "C:" 2; "\\server\share\" whole; "\" 1); 0 for a
/// relative path.
std::size_t PathRootLength(std::string_view strPath, EPathStyle eStyle = NativePathStyle());

/// Folder part of a path including its last separator ("" when there is none).
std::string_view FolderOfPath(std::string_view strPath, EPathStyle eStyle = NativePathStyle());

/// The folder with repeated trailing separators made one (a root keeps its
/// own), then the style's separator where none ends it, then strName.
std::string JoinPath(std::string_view strFolder, std::string_view strName, EPathStyle eStyle = NativePathStyle());

/// The path without the pair of double quotes around it that a path copied
/// as text often carries (the file manager's "copy as path", a shell's
/// quoting); any other text as it is.
std::string_view WithoutPastedQuotes(std::string_view strPath);

/// strPath made absolute (a relative one is taken from strCurrent) and
/// lexically normal: no empty, "." or ".." components and no trailing
/// separator; a root stays a root, and ".." above it stays there. Windows
/// paths come out with "\"; a path such as "\x" takes the drive of
/// strCurrent. Nothing is looked up on disk.
std::string MakeAbsolutePath(std::string_view strCurrent, std::string_view strPath,
                             EPathStyle eStyle = NativePathStyle());
