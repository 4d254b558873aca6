#pragma once
// Text at the border to the system's wide ("W") functions: UTF-8 inside the
// program, UTF-16 at the system.

#include <string>
#include <string_view>

/// The UTF-16 form of a UTF-8 path. false when the path is not valid UTF-8
/// or holds a NUL character: such a text names no file, and a lenient
/// conversion could name another one.
bool WidenPath(std::string_view strPath, std::wstring& strWide);

/// The UTF-16 form of UTF-8 text to be shown; what is not valid UTF-8 shows
/// as U+FFFD.
std::wstring WidenText(std::string_view strUtf8);

/// The UTF-8 form of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string NarrowText(std::wstring_view strWide);

/// Writes UTF-8 text whole to a standard stream (a HANDLE): a console gets
/// it as UTF-16 whatever its code page, a pipe or a file the bytes as they are.
void WriteUtf8(void* hStream, std::string_view strUtf8);
