// toviconv: converts the user-sheet file of an old installation into the
// version-5 file of the new one.
//
//   toviconv [--console] [--root DIR]...   search, ask, convert
//   toviconv convert LEGACY OUTPUT          convert one file, ask nothing

#include "app/ConverterApp.h"
#include "app/FileformDocAdapter.h"
#include "formats/BatchConvert.h"
#include "inspect/InspectCommands.h"
#include "platform/Backup.h"
#include "platform/CommandLine.h"
#include "platform/Platform.h"
#include "platform/Process.h"
#include "platform/StdStreams.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int RunInteractive(std::vector<std::string> arRoots, bool bConsole)
{
    const std::unique_ptr<CFileSystem> pFileSystem = CreateFileSystem(std::move(arRoots));
    const std::unique_ptr<CUserDialogs> pFrontEnd = CreateFrontEnd(*pFileSystem, bConsole);
    CConverterApp app(*pFileSystem, *pFrontEnd, MakeFileformDoc);
    app.RunConversion();
    return app.GetExitCode();
}

int RunCommandLine(int argc, char** argv)
{
    ConnectStandardStreams();
    if (!PrepareProcess())
        return kExitFailure;
    CLI::App cli(
        "Converts the user-defined label sheets of an old installation (USER.FDF or version-3/4\n"
        "USER.YLI) into the version-5 USER.YLI.\n\n"
        "Without a subcommand it searches the disks for the old and the new installation, asks\n"
        "what it could not find and writes USER.YLI into the new installation's folder.",
        "toviconv");
    cli.set_version_flag("--version", std::string("toviconv ") + TOVICONV_VERSION);
    bool bConsole = false;
    std::vector<std::string> arRoots;
    cli.add_flag("--console", bConsole, "Talk on standard input and output instead of in windows");
    cli.add_option("--root", arRoots, "Search this folder instead of every disk (repeatable, searched in order)")
        ->type_name("DIR")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->allow_extra_args(false);

    std::string strLegacy;
    std::string strOutput;
    CLI::App* pConvert = cli.add_subcommand("convert", "Convert one legacy file without searching or asking");
    pConvert->add_option("LEGACY", strLegacy, "The legacy USER.FDF or USER.YLI")->required();
    pConvert->add_option("OUTPUT", strOutput, "The version-5 file to write")->required();
    const CInspectCommands inspect(cli);
    cli.require_subcommand(0, 1);
    cli.footer(
        "Usage of the subcommand:\n"
        "  toviconv convert LEGACY OUTPUT\n"
        "      Reads LEGACY (a USER.FDF, or any other name for a version-3/4 USER.YLI) and\n"
        "      writes OUTPUT as a version-5 USER.YLI; messages go to standard error.\n"
        "  toviconv show [--json] FILE\n"
        "      Lists the sheets of a user-sheet file of version 2, 3/4 or 5.\n"
        "  toviconv preview FILE DIR\n"
        "      Draws each sheet as DIR/sheet-001.svg ... and DIR/index.html for a browser.\n\n" +
        BackupHelpText() +
        "\nExit status: 0 when the output file was written, 1 when it was not, 2 for a\n"
        "command line that cannot be understood.\n");

    try {
        // CLI11 takes the arguments last first.
        std::vector<std::string> arArgs = GetCommandLineArguments(argc, argv);
        std::reverse(arArgs.begin(), arArgs.end());
        cli.parse(arArgs);
    } catch (const CLI::CallForHelp&) {
        std::cout << cli.help();
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        std::cout << cli.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::cout << e.what() << '\n';
        return 0;
    } catch (const CLI::ParseError& e) {
        std::cerr << "toviconv: " << e.what() << "\nRun 'toviconv --help' for usage.\n";
        return kExitUsage;
    }

    if (pConvert->parsed()) {
        if (bConsole || !arRoots.empty()) {
            std::cerr << "toviconv: --console and --root do not apply to convert\n";
            return kExitUsage;
        }
        return RunBatchConvert(strLegacy, strOutput);
    }
    if (inspect.Parsed()) {
        if (bConsole || !arRoots.empty()) {
            std::cerr << "toviconv: --console and --root apply to no subcommand\n";
            return kExitUsage;
        }
        return inspect.Run();
    }
    return RunInteractive(std::move(arRoots), bConsole);
}

}  // namespace

int main(int argc, char** argv)
{
    // Whatever escapes the run still unwinds it, so that an unfinished output
    // file is removed on the way, and ends the program with a failure.
    try {
        return RunCommandLine(argc, argv);
    } catch (const std::exception& e) {
        WriteToStdError("toviconv: ");
        WriteToStdError(e.what());
        WriteToStdError("\n");
    } catch (...) {
        WriteToStdError("toviconv: unexpected failure\n");
    }
    return kExitFailure;
}
