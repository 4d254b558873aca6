#include "inspect/InspectCommands.h"

#include "inspect/ShowCommand.h"

CInspectCommands::CInspectCommands(CLI::App& cli)
    : m_pShow(cli.add_subcommand("show", "List the sheets of a user-sheet file of any version (2, 3/4 or 5)")),
      m_pPreview(nullptr)
{
    m_pShow->add_option("FILE", m_strFile, "A USER.FDF, or a USER.YLI of version 3, 4 or 5")->required();
    m_pShow->add_flag("--json", m_bJson, "Print one JSON document (UTF-8) instead of text");
}

bool CInspectCommands::Parsed() const
{
    return m_pShow->parsed() || (m_pPreview != nullptr && m_pPreview->parsed());
}

int CInspectCommands::Run() const
{
    return RunShow(m_strFile, m_bJson);
}
