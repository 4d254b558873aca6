#include "inspect/InspectCommands.h"

#include "inspect/PreviewCommand.h"
#include "inspect/ShowCommand.h"

CInspectCommands::CInspectCommands(CLI::App& cli)
    : m_pShow(cli.add_subcommand("show", "List the sheets of a user-sheet file of any version (2, 3/4 or 5)")),
      m_pPreview(cli.add_subcommand("preview", "Draw each sheet of a user-sheet file as an SVG, with an index.html"))
{
    m_pShow->add_option("FILE", m_strFile, "A USER.FDF, or a USER.YLI of version 3, 4 or 5")->required();
    m_pShow->add_flag("--json", m_bJson, "Print one JSON document (UTF-8) instead of text");
    m_pPreview->add_option("FILE", m_strFile, "A USER.FDF, or a USER.YLI of version 3, 4 or 5")->required();
    m_pPreview->add_option("DIR", m_strFolder, "The folder for the pictures and index.html (made when missing)")
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
