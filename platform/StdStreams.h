#pragma once
// The process's standard error, for messages of runs that ask nothing.

#include <string_view>

/// Writes UTF-8 text to standard error whole (retrying short writes); a
/// console is given the text in its own encoding, with its control
/// characters but the line breaks shown as "?" (MakeTerminalSafe); a pipe or
/// file gets the bytes as they are. Failures are ignored: there is nowhere
/// left to report them.
void WriteToStdError(std::string_view strUtf8);
