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
// - An answer line longer than kMaxAnswerBytes is refused whole (the rest of
//   it is read and dropped): the question or dialog asks again, as after any
//   answer it refuses.
// - Names go out as they are, so that a script reading standard output gets
//   every path byte for byte. Only where standard output is a terminal are
//   control characters (and bytes that are not UTF-8) in the texts shown as
//   "?", the line breaks excepted, as the progress line does; a folder named
//   with ESC [ 2 J then cannot clear the screen. (ls makes the same choice.)
//   The confirm dialog's path shows a line break as "?" as well.
// - The progress line is drawn only when standard error is a terminal, at
//   most about 20 times a second. Ctrl-C while the search runs is its Cancel
//   button (unless SIGINT was ignored when the program started); while an
//   answer is awaited it ends the program as usual.
//
// The protocol is the same on every system; only the terminal beneath it
// (CConsoleIo) is each system's own.

#include "frontends/UserDialogs.h"
#include "system/FileSystem.h"
#include "text/MessageBox.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

/// The terminal beneath the console front end: standard input, output and
/// error, the terminal's width, a clock and Ctrl-C.
class CConsoleIo {
public:
    virtual ~CConsoleIo() = default;
    /// Waits for input and reads what there is, at most nSize bytes of
    /// UTF-8; 0 at end of input or on failure.
    virtual std::size_t Read(char* pBuffer, std::size_t nSize) = 0;
    /// Writes the UTF-8 text whole to standard output.
    virtual void WriteOut(std::string_view strText) = 0;
    /// True when standard output is a terminal (control characters in
    /// texts are then shown as "?").
    virtual bool IsOutTerminal() = 0;
    /// Writes the UTF-8 text whole to standard error.
    virtual void WriteErr(std::string_view strText) = 0;
    /// True when standard error is a terminal that understands "\r" and the
    /// erase-line sequence "\x1b[K" (the progress line is drawn only there).
    virtual bool IsErrTerminal() = 0;
    /// The width of that terminal in columns; 0 when unknown.
    virtual int GetErrColumns() = 0;
    /// A clock that never goes back, in milliseconds.
    virtual long long NowMilliseconds() = 0;
    /// Between Begin and End, Ctrl-C is caught (unless the program started
    /// with it ignored) and TakeInterrupt reports it once; End restores what
    /// Begin replaced and forgets a Ctrl-C not taken.
    virtual void BeginInterrupts() = 0;
    virtual void EndInterrupts() = 0;
    virtual bool TakeInterrupt() = 0;
};

/// The process's own standard streams and Ctrl-C.
std::unique_ptr<CConsoleIo> CreateConsoleIo();

class CConsoleFrontEnd : public CUserDialogs {
public:
    CConsoleFrontEnd(CFileSystem& fileSystem, std::unique_ptr<CConsoleIo> pIo);
    ~CConsoleFrontEnd() override;
    CConsoleFrontEnd(const CConsoleFrontEnd&) = delete;
    CConsoleFrontEnd& operator=(const CConsoleFrontEnd&) = delete;

    int Show(const std::string& strText, EMsgButtons eButtons) override;
    std::unique_ptr<CProgressView> CreateProgressView() override;
    std::unique_ptr<CConfirmView> CreateConfirmView() override;
    bool ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath) override;
    void ShowNote(const std::string& strText) override;

    /// What ReadLine got.
    enum class ELine {
        Line,     ///< a line, without its line end
        TooLong,  ///< a line longer than kMaxAnswerBytes, skipped whole
        End,      ///< end of input
    };
    /// The longest answer line: ample for any path.
    static constexpr std::size_t kMaxAnswerBytes = std::size_t{64} * 1024;

    /// Reads one line. Ctrl-C is not caught while it waits.
    ELine ReadLine(std::string& strLine);
    /// Writes the text to standard output, made terminal-safe where that is
    /// a terminal.
    void Write(std::string_view strText);
    /// A name (a path) as Write should get it: where standard output is a
    /// terminal its line breaks become "?" too, so that the name stays on
    /// its line (Write shows every other control character so).
    std::string ShownName(std::string_view strName) const;
    /// Writes the progress line (an empty text removes it).
    void DrawProgressLine(std::string_view strLine);

    CConsoleIo& Io() { return *m_pIo; }

    /// Bytes of input searched for a line end so far (each once), and the
    /// most ever held for an unfinished line: bounded whatever the input.
    std::size_t GetScannedInputNum() const { return m_nScannedInputNum; }
    std::size_t GetPendingPeakNum() const { return m_nPendingPeakNum; }

    /// While the search runs, Ctrl-C is the progress window's Cancel: it is
    /// caught (unless it was ignored at start) and TakeInterrupt reports it
    /// once. EndSearchInterrupts restores what it replaced.
    void BeginSearchInterrupts();
    void EndSearchInterrupts();
    bool TakeInterrupt();

private:
    ELine ReadLineRaw(std::string& strLine);

    CFileSystem& m_fileSystem;
    std::unique_ptr<CConsoleIo> m_pIo;
    bool m_bOutTerminal;
    bool m_bEndOfInput = false;
    bool m_bProgressShown = false;
    bool m_bInterruptsCaught = false;
    std::string m_strPending;           ///< bytes read beyond the last line
    std::size_t m_nPendingScanned = 0;  ///< of them, searched for a line end
    std::size_t m_nScannedInputNum = 0;
    std::size_t m_nPendingPeakNum = 0;
};

/// The text cut to at most nColumns terminal columns (wide characters take
/// two), control characters and bytes that are not UTF-8 shown as "?".
std::string FitToColumns(std::string_view strText, int nColumns);
