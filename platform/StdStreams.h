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

/// Shows a text about the command line itself (help, the version, a command
/// line that cannot be understood or served) where the user sees it:
/// standard output (standard error with bError) where that leads to a
/// console, a file or a pipe; otherwise, for the windowed program started
/// without a console (a double-click, a file dropped on it), a message box.
void ShowCommandLineText(std::string_view strUtf8, bool bError);

/// True when the console dialogue can be held: the process has a console or
/// standard streams of its own. Only the windowed program on Windows,
/// started without a console, has neither.
bool CanTalkOnConsole();
