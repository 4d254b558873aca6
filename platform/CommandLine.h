#pragma once
// The program's arguments as UTF-8 texts.

#include <string>
#include <vector>

/// The arguments after the program name, UTF-8. Where the system hands the
/// command line over in another form (UTF-16 on Windows), it is read from
/// there and argc/argv are not used.
std::vector<std::string> GetCommandLineArguments(int argc, char** argv);
