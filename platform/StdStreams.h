#pragma once
// The process's standard error, for messages of runs that ask nothing.

#include <string_view>

/// Writes UTF-8 text to standard error whole (retrying short writes); a
/// console is given the text in its own encoding, with its control
/// characters but the line breaks shown as "?" (MakeTerminalSafe); a pipe or
/// file gets the bytes as they are. Failures are ignored: there is nowhere
/// left to report them.
void WriteToStdError(std::string_view strUtf8);

/// Connects the standard streams to the console of the shell that started
/// the program where the system does not (the windowed toviconv.exe on
/// Windows, started from cmd or PowerShell); streams redirected to a file
/// or a pipe stay as they are. Nothing to do elsewhere.
void ConnectStandardStreams();
