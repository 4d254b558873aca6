#pragma once
// The message box of the whole program.
//
// Every box carries the caption kAppTitle and the exclamation icon and has
// either one OK button or Yes and No. The model, the file formats and the run
// call ShowMessageBox(); the front end in use (GUI, console, batch, a test
// double) installs the handler that actually shows the box and returns the
// button.

#include <string>

/// Button codes returned by a message box or a modal dialog. They live in a
/// scope of their own: the Windows headers define IDOK, IDYES and the like as
/// macros.
namespace DlgResult {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace DlgResult

/// Caption of every message box.
inline constexpr const char* kAppTitle = "ToviConv";

/// Buttons of a message box.
enum class EMsgButtons { Ok, YesNo };

/// What shows a message box. The text is UTF-8; "\n" is a line break.
class CMessageBoxHandler {
public:
    virtual ~CMessageBoxHandler() = default;
    /// Shows the box modally and returns DlgResult::Ok (Ok boxes) or DlgResult::Yes / DlgResult::No.
    virtual int Show(const std::string& strText, EMsgButtons eButtons) = 0;
};

/// Installs the handler that shows every later box of the model and the file
/// formats; returns the previous one. nullptr restores the default handler,
/// which writes the text to standard error as it is and answers OK, or No to
/// a question: what a library used on its own (a tool, a test) gets. Every
/// run of the program installs its own: the front end (CConverterApp), or
/// CStreamMessageBox (system/StdStreams.h) for the commands that ask nothing.
CMessageBoxHandler* SetMessageBoxHandler(CMessageBoxHandler* pHandler);

/// Shows a box through the installed handler and returns its button.
int ShowMessageBox(const std::string& strText, EMsgButtons eButtons = EMsgButtons::Ok);

/// Installs a handler for the lifetime of the guard and restores the previous one.
class CMessageBoxScope {
public:
    explicit CMessageBoxScope(CMessageBoxHandler* pHandler) : m_pPrevious(SetMessageBoxHandler(pHandler)) {}
    ~CMessageBoxScope() { SetMessageBoxHandler(m_pPrevious); }
    CMessageBoxScope(const CMessageBoxScope&) = delete;
    CMessageBoxScope& operator=(const CMessageBoxScope&) = delete;

private:
    CMessageBoxHandler* m_pPrevious;
};
