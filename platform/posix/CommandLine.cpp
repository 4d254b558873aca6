#include "platform/CommandLine.h"

std::vector<std::string> GetCommandLineArguments(int argc, char** argv)
{
    std::vector<std::string> arArgs;
    for (int i = 1; i < argc; ++i)
        arArgs.emplace_back(argv[i]);
    return arArgs;
}
