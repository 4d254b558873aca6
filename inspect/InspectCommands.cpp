#include "inspect/InspectCommands.h"

#include "inspect/PreviewCommand.h"
#include "inspect/ShowCommand.h"
#include "system/Process.h"

CInspectCommands::CInspectCommands(CLI::App& cli, const std::string& strGroup)
    : m_pShow(cli.add_subcommand(
          "show", ByUserLanguage("ユーザシート情報ファイル (バージョン 2、3/4、5) のシートを一覧にします",
                                 "List the sheets of a user-sheet file of any version (2, 3/4 or 5)"))),
      m_pPreview(cli.add_subcommand(
          "preview", ByUserLanguage("ユーザシート情報ファイルのシートごとに SVG と index.html を描きます",
                                    "Draw each sheet of a user-sheet file as an SVG, with an index.html")))
{
    const char* pFile = ByUserLanguage("USER.FDF、またはバージョン 3、4、5 の USER.YLI",
                                       "A USER.FDF, or a USER.YLI of version 3, 4 or 5");
    m_pShow->group(strGroup);
    m_pPreview->group(strGroup);
    m_pShow->add_option("FILE", m_strFile, pFile)->required();
    m_pShow->add_flag("--json", m_bJson,
                      ByUserLanguage("テキストの代わりに JSON (UTF-8) を 1 つ出力します",
                                     "Print one JSON document (UTF-8) instead of text"));
    m_pPreview->add_option("FILE", m_strFile, pFile)->required();
    m_pPreview
        ->add_option("DIR", m_strFolder,
                     ByUserLanguage("絵と index.html を書き込むフォルダ (なければ作ります)",
                                    "The folder for the pictures and index.html (made when missing)"))
        ->required();
}

bool CInspectCommands::Parsed() const
{
    return m_pShow->parsed() || m_pPreview->parsed();
}

int CInspectCommands::Run() const
{
    return m_pShow->parsed() ? RunShow(m_strFile, m_bJson) : RunPreview(m_strFile, m_strFolder);
}
