#pragma once
// The process's standard streams, for messages of runs that ask nothing and
// for commands that print a report.

#include "text/MessageBox.h"

#include <string>
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

/// Writes UTF-8 text to standard output whole, as WriteToStdError does to
/// standard error: a terminal or console gets it terminal-safe and in its
/// own encoding, a pipe or file gets the bytes as they are. False when the
/// text could not be written (a closed pipe, a full disk).
bool WriteToStdOutput(std::string_view strUtf8);

/// Writes the text of every box to standard error (WriteToStdError) and
/// never waits: OK boxes answer DlgResult::Ok, questions DlgResult::No. Used
/// by the commands that ask nothing (convert, show, preview).
class CStreamMessageBox : public CMessageBoxHandler {
public:
    int Show(const std::string& strText, EMsgButtons eButtons) override
    {
        WriteToStdError(strText + '\n');
        return eButtons == EMsgButtons::Ok ? DlgResult::Ok : DlgResult::No;
    }
};
