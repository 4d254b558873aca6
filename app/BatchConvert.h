#pragma once
// Conversion of one legacy user-sheet file without search or questions.

#include <string>

/// Reads the legacy file and writes the version-5 file; every message goes
/// to standard error (UTF-8, one line break after each) and nothing waits
/// for an answer. Returns the process exit status: 0 when the output file
/// was written, 1 when it was not (the legacy file could not be read, held
/// no sheet, or the output could not be written).
int RunBatchConvert(const std::string& strLegacy, const std::string& strOutput);
