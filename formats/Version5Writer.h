#pragma once
// Pieces of the version-5 writer that are worth reaching on their own.

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
