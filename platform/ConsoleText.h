#pragma once
// Texts of the user's files shown to the user: code-page-932 bytes in the
// program's UTF-8, and standard output for commands that print a report.

#include <string>
#include <string_view>

/// The UTF-8 form of a code-page-932 text. A byte that starts no character
/// of the code page, or a lead byte without its trail byte, becomes U+FFFD,
/// so that the result is always well-formed UTF-8.
std::string Cp932ToUtf8(std::string_view strCp932);

/// Writes UTF-8 text to standard output whole, as WriteToStdError does to
/// standard error: a terminal or console gets it terminal-safe and in its
/// own encoding, a pipe or file gets the bytes as they are. False when the
/// text could not be written (a closed pipe, a full disk).
bool WriteToStdOutput(std::string_view strUtf8);
