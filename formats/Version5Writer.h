#pragma once
// Pieces of the version-5 writer that are worth reaching on their own.

#include <string>
#include <string_view>

class CSheet;

/// The framed comment header and the "ID = 5.0" line that open every
/// version-5 file (code-page-932 bytes, CR LF line ends, one empty line).
extern const std::string_view kVersion5Header;

/// The caliber of a disc label: for the element at the index in the element
/// list of the sheet's layout kind (1 fixed, 2 free), the mean diameter of
/// its centre hole rounded to one decimal, or 0.0 when the element is not a
/// disc label. A disc label has type 1, exactly one decoration, of type 1
/// (as the queries report it), a size of 115 to 117 mm each way, differing
/// by at most 1 mm, and a hole of 40 to 42 mm each way, differing by at most
/// 1 mm, centred within 1 mm. Other layout kinds give 0.0.
double GetDiscLabelCaliber(CSheet& sheet, int nElem);

/// True when the bytes are those of a version-5 file: the first "ID" line
/// (the header's "ID = 5.0") gives version 5 or later.
bool HoldsVersion5Id(std::string_view bytes);

/// Hands every line of the bytes (without its line end) to fnLine; CR, LF
/// and CR LF end a line, and a line may be of any length.
template <class TLineHandler>
void ForEachLine(std::string_view bytes, TLineHandler fnLine)
{
    while (!bytes.empty()) {
        const std::size_t nEnd = bytes.find_first_of("\r\n");
        if (nEnd == std::string_view::npos) {
            fnLine(bytes);
            return;
        }
        fnLine(bytes.substr(0, nEnd));
        const bool bCrLf = bytes[nEnd] == '\r' && nEnd + 1 < bytes.size() && bytes[nEnd + 1] == '\n';
        bytes.remove_prefix(nEnd + (bCrLf ? 2 : 1));
    }
}
