#pragma once
// What the process sets up before it does anything else, and the arguments
// it was given. Each system has its own bodies.

#include <string>
#include <vector>

/// Makes the process safe to write files: a standard stream the caller left
/// closed is opened onto the null device, so that no file the program opens
/// takes its place (and its messages land in that file), and a reader of
/// standard output or error that went away makes writes fail instead of
/// ending the process midway through writing a file. False when a closed
/// standard stream could not be taken: the program must then write nothing.
bool PrepareProcess();

/// The arguments after the program name, UTF-8. Where the system hands the
/// command line over in another form (UTF-16 on Windows), it is read from
/// there and argc/argv are not used.
std::vector<std::string> GetCommandLineArguments(int argc, char** argv);
