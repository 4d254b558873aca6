#pragma once
// UTF-8 text as a terminal or console may be shown it.

#include <cstddef>
#include <string>
#include <string_view>

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
