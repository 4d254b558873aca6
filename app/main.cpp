// toviconv: converts the user-sheet file of an old installation into the
// version-5 file of the new one.
//
//   toviconv [--console] [--root DIR]...   search, ask, convert
//   toviconv convert LEGACY OUTPUT          convert one file, ask nothing

#include "app/ConverterApp.h"
#include "app/FileformDocAdapter.h"
#include "formats/BatchConvert.h"
#include "platform/ConsoleFrontEnd.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#ifdef TOVICONV_HAVE_GUI
#include "platform/wx/WxFrontEnd.h"
#endif

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitUsage = 2;

int RunInteractive(const std::vector<std::string>& arRoots, [[maybe_unused]] bool bConsole)
{
    CPosixFileSystem fileSystem(arRoots);
#ifdef TOVICONV_HAVE_GUI
    // Windows where a display is at hand; the console where none is, or
    // where the toolkit cannot reach it.
    if (!bConsole && IsDisplayAvailable()) {
        CWxSession gui;
        if (gui.Start()) {
            CWxFrontEnd frontEnd(fileSystem);
            CMessageBoxScope boxes(&frontEnd);
            CConverterApp app(fileSystem, frontEnd, MakeFileformDoc);
            app.RunConversion();
            return app.GetExitCode();
        }
    }
#endif
    CConsoleFrontEnd console(fileSystem);
    CMessageBoxScope boxes(&console);
    CConverterApp app(fileSystem, console, MakeFileformDoc);
    app.RunConversion();
    return app.GetExitCode();
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App cli("Converts the user-defined label sheets of an old installation (USER.FDF or version-3/4\n"
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
    cli.require_subcommand(0, 1);
    cli.footer("Usage of the subcommand:\n"
               "  toviconv convert LEGACY OUTPUT\n"
               "      Reads LEGACY (a USER.FDF, or any other name for a version-3/4 USER.YLI) and\n"
               "      writes OUTPUT as a version-5 USER.YLI; messages go to standard error.\n\n"
               "Exit status: 0 when the output file was written, 1 when it was not, 2 for a\n"
               "command line that cannot be understood.\n");

    try {
        cli.parse(argc, argv);
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
    return RunInteractive(arRoots, bConsole);
}
