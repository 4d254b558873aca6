#pragma once
// The number conversions of the whole program: what the files hold and what
// the user is shown, read and written the same whatever the process locale
// (a toolkit may switch LC_NUMERIC) and whatever the system.

#include <cstddef>
#include <string>
#include <string_view>

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
