#pragma once
// Text services for code-page-932 (Shift-JIS) byte strings.
//
// A double-byte character is a lead byte (0x81..0x9F, 0xE0..0xFC) followed by
// a trail byte (0x40..0x7E, 0x80..0xFC). A trail byte may look like an ASCII
// letter or like "\" (0x5C); these routines never take it for one.

#include <cstddef>
#include <string>
#include <string_view>

/// True for a byte that starts a double-byte character in code page 932.
constexpr bool IsCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

/// Upper-cases the ASCII letters of a code-page-932 text; the trail byte of a
/// double-byte character is never changed.
std::string MakeUpperCp932(std::string_view str);

/// Upper-cases the ASCII letters of a UTF-8 (or plain ASCII) text.
std::string MakeUpperAscii(std::string_view str);

/// Compares two texts ignoring the case of ASCII letters only.
bool EqualNoCaseAscii(std::string_view a, std::string_view b);

/// Index of the last byte ch of a code-page-932 text that is a character of
/// its own (never the trail byte of a double-byte character), or npos.
std::string_view::size_type ReverseFindCp932(std::string_view str, char ch);

/// The UTF-8 form of a code-page-932 text, for showing the user's texts. A
/// byte that starts no character of the code page, or a lead byte without
/// its trail byte, becomes U+FFFD, so that the result is always well-formed
/// UTF-8. A body per system (text/posix, text/win32).
std::string Cp932ToUtf8(std::string_view strCp932);
