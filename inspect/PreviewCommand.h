#pragma once
// "toviconv preview": every sheet of a user-sheet file drawn to scale as an
// SVG picture, and an index.html that shows them all in a browser.

#include <string>
#include <string_view>

/// Reads the file at the path (any version) and writes into the folder
/// (made when missing) sheet-001.svg, sheet-002.svg ... and index.html,
/// each whole or not at all. On standard output one line names the index;
/// a failure gets one line on standard error. Returns the exit status: 0
/// when everything was written, 1 otherwise.
int RunPreview(const std::string& strPath, const std::string& strFolder);

/// The SVG picture of one sheet of the document (the sheet's numbers in
/// millimetres are the picture's). nDrawnLabels is set to the number of
/// labels drawn, each a shape with the id "label-1", "label-2" ...
class CSheet;
std::string MakeSheetSvg(CSheet& sheet, long long& nDrawnLabels);

/// Text as XML and HTML may hold it: the five markup characters as
/// references, and what is not well-formed UTF-8 or a control code other
/// than a tab or a line break as U+FFFD.
std::string EscapeMarkup(std::string_view strUtf8);
