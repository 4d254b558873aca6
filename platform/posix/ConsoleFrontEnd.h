#pragma once
// The console front end: the whole dialogue on standard output and standard
// input, the searching progress as one self-rewriting line on standard error.
//
// Protocol (scripts rely on it):
// - A message box prints its text and a line break. A question then prints
//   "[y/n] " and reads a line: y/yes is Yes, n/no is No (any case), anything
//   else asks again, end of input is No.
// - A file dialog prints its title and the filter's description, then "> ",
//   and reads a path (relative to the current directory); an empty line or
//   end of input is Cancel. The open dialog refuses a missing file and asks
//   again; a save answer naming a folder gets the default file name appended.
// - The confirm dialog prints its title, its text and the field, then "> ":
//   an empty line is OK with the field as it stands, another line replaces
//   the field and is OK, end of input is Cancel. A refusal prints its message
//   and the dialog asks again.
// - The progress line is drawn only when standard error is a terminal, at
//   most about 20 times a second. Ctrl-C while the search runs is its Cancel
//   button (unless SIGINT was ignored when the program started); while an
//   answer is awaited it ends the program as usual.

#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/UserDialogs.h"

#include <csignal>
#include <string>
#include <string_view>

class CConsoleFrontEnd : public CUserDialogs {
public:
    explicit CConsoleFrontEnd(CFileSystem& fileSystem, int nIn = 0, int nOut = 1, int nErr = 2);
    ~CConsoleFrontEnd() override;
    CConsoleFrontEnd(const CConsoleFrontEnd&) = delete;
    CConsoleFrontEnd& operator=(const CConsoleFrontEnd&) = delete;

    int Show(const std::string& strText, EMsgButtons eButtons) override;
    std::unique_ptr<CProgressView> CreateProgressView() override;
    std::unique_ptr<CConfirmView> CreateConfirmView() override;
    bool ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath) override;

    /// Reads one line without its line end; false at end of input. Ctrl-C
    /// is not caught while it waits.
    bool ReadLine(std::string& strLine);
    void Write(std::string_view strText);
    /// Writes the progress line (an empty text removes it).
    void DrawProgressLine(std::string_view strLine);

    int ErrFd() const { return m_nErr; }
    bool SigIntIgnoredAtStart() const { return m_bSigIntIgnored; }

    /// While the search runs, Ctrl-C is the progress window's Cancel: it is
    /// caught (unless SIGINT was ignored at start) and TakeInterrupt reports
    /// it once. EndSearchInterrupts restores the disposition it replaced.
    void BeginSearchInterrupts();
    void EndSearchInterrupts();
    bool TakeInterrupt();

private:
    bool ReadLineRaw(std::string& strLine);

    CFileSystem& m_fileSystem;
    int m_nIn;
    int m_nOut;
    int m_nErr;
    bool m_bSigIntIgnored;
    bool m_bEndOfInput = false;
    bool m_bProgressShown = false;
    bool m_bInterruptsCaught = false;
    struct sigaction m_previousAction = {};
    std::string m_strPending;  ///< bytes read beyond the last line
};

/// The text cut to at most nColumns terminal columns (wide characters take
/// two), control characters and bytes that are not UTF-8 shown as "?".
std::string FitToColumns(std::string_view strText, int nColumns);
