#pragma once
// Text services for code-page-932 (Shift-JIS) byte strings, and the
// locale-independent number conversions of the whole program.
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

/// Text to integer as C's atoi reads it: leading white space (isspace in the C
/// locale), an optional sign, decimal digits up to the first other byte; 0
/// when there are no digits. Saturates at INT_MIN / INT_MAX instead of
/// overflowing.
int TextToInt(std::string_view str);

/// Text to real, decimal notation only, independent of the process locale:
/// leading white space, an optional sign, digits with an optional "." and
/// fraction, an optional exponent ("e" or "E", optional sign, at least one
/// digit; an "e" without digits ends the number before it). 0.0 when nothing
/// is recognised. "inf", "nan" and hexadecimal forms are not numbers ("0x10"
/// reads 0). A magnitude beyond the range of a double saturates at the
/// largest finite double; one too small to represent reads as 0.
double TextToReal(std::string_view str);

/// "%.<nDecimals>f" with a "." decimal point whatever the locale, correctly
/// rounded from the binary value (exact ties to even), so that every platform
/// writes the same bytes.
std::string FormatReal(double dValue, int nDecimals);

/// "%d".
std::string FormatInt(int nValue);

/// FormatReal and FormatInt appended to a text, without a text of their own.
void AppendReal(std::string& str, double dValue, int nDecimals);
void AppendInt(std::string& str, int nValue);

/// The room WriteReal and WriteInt need: enough for DBL_MAX with a sign and
/// a few decimals. A number whose text would be longer writes nothing.
inline constexpr std::size_t kNumberTextRoom = 400;

/// FormatReal and FormatInt written at pOut, which has room for
/// kNumberTextRoom bytes; the end of what was written.
char* WriteReal(char* pOut, double dValue, int nDecimals);
char* WriteInt(char* pOut, int nValue);

/// Length of the well-formed UTF-8 sequence at the start of str, with its
/// code point in c; 0 when the bytes are not one (or str is empty).
std::size_t DecodeUtf8(std::string_view str, char32_t& c);

/// Appends the UTF-8 form of the code point (U+FFFD for a surrogate or a
/// value beyond U+10FFFF).
void AppendUtf8(std::string& str, char32_t c);

/// True for the code points a terminal acts on instead of showing them: C0
/// (ESC among them), DEL and C1.
bool IsControlCode(char32_t c);

/// The UTF-8 text as a terminal may be given it: every control code but the
/// line break, and every byte that is not UTF-8, shown as "?" (a name with
/// ESC [ 2 J in it must not clear the screen). Other text stays as it is.
std::string MakeTerminalSafe(std::string_view strUtf8);

/// The UTF-8 form of a code-page-932 text, for showing the user's texts. A
/// byte that starts no character of the code page, or a lead byte without
/// its trail byte, becomes U+FFFD, so that the result is always well-formed
/// UTF-8. A body per system (text/posix, text/win32).
std::string Cp932ToUtf8(std::string_view strCp932);
