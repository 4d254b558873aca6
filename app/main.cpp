// toviconv: converts the user-sheet file of an old installation into the
// version-5 file of the new one.
//
//   toviconv [--console] [--root DIR]... [FILE]   search, ask, convert
//   toviconv convert LEGACY OUTPUT          convert one file, ask nothing

#include "app/BatchConvert.h"
#include "app/ConverterApp.h"
#include "app/FileformDocAdapter.h"
#include "frontends/FrontEnd.h"
#include "inspect/InspectCommands.h"
#include "system/Backup.h"
#include "system/Process.h"
#include "system/StdStreams.h"
#include "text/Path.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int RunInteractive(std::unique_ptr<CFileSystem> pFileSystem, bool bConsole, std::string strGivenOld)
{
    const std::unique_ptr<CUserDialogs> pFrontEnd = CreateFrontEnd(*pFileSystem, bConsole);
    CConverterApp app(*pFileSystem, *pFrontEnd, MakeFileformDoc);
    app.SetGivenOldFile(std::move(strGivenOld));
    app.RunConversion();
    return app.GetExitCode();
}

/// A command line that cannot be understood or served: said where the user
/// sees it, with the way to the help.
int UsageError(const std::string& strProblem)
{
    ShowCommandLineText(
        "toviconv: " + strProblem + "\n" +
            ByUserLanguage("使い方は 'toviconv --help' で表示されます。\n", "Run 'toviconv --help' for usage.\n"),
        true);
    return kExitUsage;
}

/// The help in the user's language (CLI11 writes its own headings in English).
void SetHelpLanguage(CLI::App& cli)
{
    if (!UserPrefersJapanese())
        return;
    const auto pFormatter = cli.get_formatter();
    pFormatter->label("Usage", "使い方");
    pFormatter->label("OPTIONS", "オプション");
    pFormatter->label("SUBCOMMAND", "サブコマンド");
    pFormatter->label("SUBCOMMANDS", "サブコマンド");
    pFormatter->label("Positionals", "引数");
    pFormatter->label("REQUIRED", "(必須)");
    pFormatter->label("TEXT", "テキスト");
}

int RunCommandLine(int argc, char** argv)
{
    ConnectStandardStreams();
    if (!PrepareProcess())
        return kExitFailure;
    const bool bJapanese = UserPrefersJapanese();
    CLI::App cli(
        ByUserLanguage("旧バージョンのユーザシート情報ファイル (USER.FDF、またはバージョン 3/4 の USER.YLI) を\n"
                       "Tovi５の USER.YLI に変換します。\n\n"
                       "サブコマンドを付けずに起動すると、ディスクから旧バージョンと Tovi５のインストール先を探し、\n"
                       "見つからなかったものを尋ねてから、Tovi５のフォルダに USER.YLI を書き込みます。\n"
                       "ファイル (USER.FDF または USER.YLI) を 1 つ渡すと (プログラムのアイコンへのドラッグ＆ドロップ\n"
                       "でも)、それを変換元として確認画面を開き、Tovi５だけを探します。",
                       "Converts the user-defined label sheets of an old installation (USER.FDF or version-3/4\n"
                       "USER.YLI) into the version-5 USER.YLI.\n\n"
                       "Without a subcommand it searches the disks for the old and the new installation, asks\n"
                       "what it could not find and writes USER.YLI into the new installation's folder.\n"
                       "Given one file (USER.FDF or USER.YLI; also a file dropped on the program), it takes\n"
                       "that file as the one to convert, opens the confirm window on it and searches only\n"
                       "for the new installation."),
        "toviconv");
    SetHelpLanguage(cli);
    cli.option_defaults()->group(bJapanese ? "オプション" : "Options");
    cli.set_help_flag("-h,--help",
                      ByUserLanguage("このヘルプを表示して終了します", "Print this help message and exit"));
    cli.set_version_flag(
        "--version", std::string("toviconv ") + TOVICONV_VERSION,
        ByUserLanguage("バージョンを表示して終了します", "Display program version information and exit"));
    bool bConsole = false;
    std::vector<std::string> arRoots;
    std::string strGivenOld;
    cli.add_flag("--console", bConsole,
                 ByUserLanguage("ウィンドウを使わず、標準入出力で対話します",
                                "Talk on standard input and output instead of in windows"));
    cli.add_option("--root", arRoots,
                   ByUserLanguage("ディスク全体の代わりにこのフォルダを探します (繰り返し指定可、指定順に探します)",
                                  "Search this folder instead of every disk (repeatable, searched in order)"))
        ->type_name(bJapanese ? "フォルダ" : "DIR")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->allow_extra_args(false);
    cli.add_option("FILE", strGivenOld,
                   ByUserLanguage("変換する旧バージョンの USER.FDF または USER.YLI (省略すると探します)",
                                  "The legacy USER.FDF or USER.YLI to convert (searched for when left out)"))
        ->type_name("");

    std::string strLegacy;
    std::string strOutput;
    CLI::App* pConvert =
        cli.add_subcommand("convert", ByUserLanguage("探さず、尋ねずに、ファイルを 1 つ変換します",
                                                     "Convert one legacy file without searching or asking"));
    pConvert->group(bJapanese ? "サブコマンド" : "Subcommands");
    pConvert
        ->add_option("LEGACY", strLegacy,
                     ByUserLanguage("旧バージョンの USER.FDF または USER.YLI", "The legacy USER.FDF or USER.YLI"))
        ->required();
    pConvert
        ->add_option("OUTPUT", strOutput, ByUserLanguage("書き込む Tovi５の USER.YLI", "The version-5 file to write"))
        ->required();
    const CInspectCommands inspect(cli, bJapanese ? "サブコマンド" : "Subcommands");
    cli.require_subcommand(0, 1);
    cli.footer(
        ByUserLanguage("サブコマンドの使い方:\n"
                       "  toviconv convert LEGACY OUTPUT\n"
                       "      LEGACY (USER.FDF、またはバージョン 3/4 の USER.YLI) を読み、OUTPUT に Tovi５の\n"
                       "      USER.YLI として書き込みます。メッセージは標準エラーに出ます。\n"
                       "  toviconv show [--json] FILE\n"
                       "      バージョン 2、3/4、5 のユーザシート情報ファイルのシートを一覧にします。\n"
                       "  toviconv preview FILE DIR\n"
                       "      シートごとに DIR/sheet-001.svg ... と、ブラウザで開く DIR/index.html を描きます。\n\n",
                       "Usage of the subcommands:\n"
                       "  toviconv convert LEGACY OUTPUT\n"
                       "      Reads LEGACY (a USER.FDF, or any other name for a version-3/4 USER.YLI) and\n"
                       "      writes OUTPUT as a version-5 USER.YLI; messages go to standard error.\n"
                       "  toviconv show [--json] FILE\n"
                       "      Lists the sheets of a user-sheet file of version 2, 3/4 or 5.\n"
                       "  toviconv preview FILE DIR\n"
                       "      Draws each sheet as DIR/sheet-001.svg ... and DIR/index.html for a browser.\n\n") +
        BackupHelpText() + "\n" +
        ByUserLanguage("Windows で書き込み先が保護されたフォルダ (Program Files など) のときは、ウィンドウで\n"
                       "起動した toviconv が管理者としての書き込みを Windows に求めます (ユーザー アカウント\n"
                       "制御の確認が表示されます)。convert とコンソールでの対話は、管理者の権限が必要だと\n"
                       "伝えて終了します。\n\n"
                       "終了ステータス: 出力ファイルを書き込んだとき 0、書き込まなかったとき 1、\n"
                       "コマンドラインが解釈できないとき 2。\n",
                       "On Windows, where the output folder is protected (Program Files and the like), the\n"
                       "windowed toviconv asks Windows to write it with administrator rights (the User\n"
                       "Account Control prompt appears); convert and the console dialogue say that\n"
                       "administrator rights are needed and end.\n\n"
                       "Exit status: 0 when the output file was written, 1 when it was not, 2 for a\n"
                       "command line that cannot be understood.\n"));

    std::vector<std::string> arArgs = GetCommandLineArguments(argc, argv);
    // "/?" asks for the help where Windows programs take it.
    if (NativePathStyle() == EPathStyle::Windows && arArgs.size() == 1 && arArgs[0] == "/?")
        arArgs[0] = "--help";
    try {
        // CLI11 takes the arguments last first.
        std::reverse(arArgs.begin(), arArgs.end());
        cli.parse(arArgs);
    } catch (const CLI::CallForHelp&) {
        ShowCommandLineText(cli.help(), false);
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        ShowCommandLineText(cli.help("", CLI::AppFormatMode::All), false);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        ShowCommandLineText(std::string(e.what()) + "\n", false);
        return 0;
    } catch (const CLI::ParseError& e) {
        return UsageError(e.what());
    }

    if (pConvert->parsed()) {
        if (bConsole || !arRoots.empty() || !strGivenOld.empty())
            return UsageError(ByUserLanguage("--console、--root とファイルは convert には使えません",
                                             "--console, --root and a file do not apply to convert"));
        return RunBatchConvert(strLegacy, strOutput);
    }
    if (inspect.Parsed()) {
        if (bConsole || !arRoots.empty() || !strGivenOld.empty())
            return UsageError(ByUserLanguage("--console、--root とファイルはサブコマンドには使えません",
                                             "--console, --root and a file apply to no subcommand"));
        return inspect.Run();
    }
    if (bConsole && !CanTalkOnConsole())
        return UsageError(
            ByUserLanguage("--console はコンソールで対話します。コマンド プロンプトから "
                           "toviconv.com --console を実行してください",
                           "--console talks on a console: run toviconv.com --console from a "
                           "command prompt"));
    std::unique_ptr<CFileSystem> pFileSystem = CreateFileSystem(arRoots);
    // A search root that does not exist is a mistyped command line, not an
    // empty drive.
    for (const std::string& strRoot : arRoots) {
        if (!pFileSystem->IsFolder(strRoot))
            return UsageError(ByUserLanguage("--root のフォルダがありません: ", "--root: no such folder: ") + strRoot);
    }
    return RunInteractive(std::move(pFileSystem), bConsole, std::move(strGivenOld));
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
