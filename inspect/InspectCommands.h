#pragma once
// The subcommands that look into a user-sheet file without converting it,
// added to the program's command line in one piece.

#include <CLI/CLI.hpp>

#include <string>

class CInspectCommands {
public:
    /// Adds "show" and "preview" to the command line, in the help's group
    /// of subcommands.
    CInspectCommands(CLI::App& cli, const std::string& strGroup);

    /// True when the command line named one of them.
    bool Parsed() const;
    /// Runs the one named; its exit status.
    int Run() const;

private:
    CLI::App* m_pShow;
    CLI::App* m_pPreview;
    std::string m_strFile;
    std::string m_strFolder;
    bool m_bJson = false;
};
