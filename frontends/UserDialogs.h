#pragma once
// The dialogue with the user, free of any toolkit.
//
// The conversion run and its two dialogs keep their state and rules in app/
// (CProgressDlg, CConfirmDlg); a front end (console, GUI, a test double)
// only renders them and reports the user's actions back through the event
// interfaces below. The run and its dialogs show their message boxes through
// the front end they are given; the run also installs it as the handler of
// ShowMessageBox (text/MessageBox.h) for the model and the file formats.

#include "text/MessageBox.h"

#include <memory>
#include <string>
#include <string_view>

/// Options of a file dialog.
enum EFileDialogFlags : unsigned {
    kFileHideReadOnly = 0x0004,
    kFileMustExist = 0x1000,
};

/// One request for the system's open-file or save-file dialog.
struct SFileDialogSpec {
    bool bOpen = true;             ///< open-file dialog; false: save-file dialog
    std::string strDefaultName;    ///< proposed file name, "" for none
    unsigned nFlags = 0;           ///< EFileDialogFlags
    std::string strFilter;         ///< "description|pattern|description|pattern||"
    std::string strTitle;          ///< "" for the system's plain title
    std::string strInitialFolder;  ///< "" for the system's choice
};

/// Where a file dialog opens.
struct SFileDialogStart {
    std::string strFolder;  ///< "" for the system's choice
    std::string strName;    ///< proposed file name, "" for none
};

class CFileSystem;

/// The folder and file name a file dialog starts with: the initial folder
/// when it is a folder (relative paths taken from the current directory);
/// when it names anything else, its folder; otherwise the system's choice.
/// The file name is the default name alone: a file named by the initial
/// folder is not offered in its place.
SFileDialogStart ResolveFileDialogStart(CFileSystem& fileSystem, const SFileDialogSpec& fileDialog);

/// The system's plain title of a file dialog, for a request without one.
inline const char* PlainFileDialogTitle(bool bOpen)
{
    return bOpen ? "開く" : "名前を付けて保存";
}

/// What the searching-progress window reports to its dialog.
class CProgressEvents {
public:
    virtual ~CProgressEvents() = default;
    /// The Cancel button, the Escape key, closing the window, Ctrl-C.
    virtual void OnCancel() = 0;
    /// The Enter key.
    virtual void OnOK() = 0;
};

/// The modeless searching-progress window: a bar, a percent text, a status
/// line and a Cancel button.
class CProgressView {
public:
    virtual ~CProgressView() = default;
    /// Creates and shows the window; its actions go to events until Destroy.
    /// false when it cannot be created.
    virtual bool Create(CProgressEvents& events) = 0;
    virtual void Destroy() = 0;
    virtual void SetTitle(const std::string& strTitle) = 0;
    /// Called for every file the search looks at: keep it cheap.
    virtual void SetStatus(std::string_view strText) = 0;
    virtual void SetRange(int nLower, int nUpper) = 0;
    virtual void SetPos(int nPos) = 0;
    virtual void SetPercentText(const std::string& strText) = 0;
    /// Handles every pending user action (reporting it to the events), then
    /// returns. Called at every folder entry: keep it cheap.
    virtual void PumpMessages() = 0;
};

/// What the confirm window reports to its dialog while it is shown.
class CConfirmEvents {
public:
    virtual ~CConfirmEvents() = default;
    /// OK pressed with the field's text; true closes the window with OK,
    /// false keeps it open (the dialog has told the user why).
    virtual bool OnOK(const std::string& strField) = 0;
    /// The file button ("ファイル指定...").
    virtual void OnFileButton() = 0;
};

/// The modal confirm window: a static text, an edit field, OK, Cancel and a
/// file button.
class CConfirmView {
public:
    virtual ~CConfirmView() = default;
    /// Shows the window until OK is accepted (DlgResult::Ok) or Cancel (DlgResult::Cancel).
    virtual int DoModal(const std::string& strTitle, const std::string& strText, const std::string& strField,
                        CConfirmEvents& events) = 0;
    /// Replaces the field's text while the window is shown.
    virtual void SetFieldText(const std::string& strField) = 0;
};

/// What came of having the output written with administrator rights.
enum class EElevatedWrite {
    Unavailable,  ///< this front end cannot ask for them
    Written,
    Declined,  ///< the user did not allow it (the system's prompt answered No)
    Failed,    ///< the program did not start, or it could not write either
};

/// A front end: everything through which the run meets the user. Show()
/// (from CMessageBoxHandler) shows a message box.
class CUserDialogs : public CMessageBoxHandler {
public:
    // Defined out of line, with ResolveFileDialogStart beside it: every
    // program that makes a front end then links both, and the windows
    // module, which takes them from the program, finds them there.
    ~CUserDialogs() override;
    virtual std::unique_ptr<CProgressView> CreateProgressView() = 0;
    virtual std::unique_ptr<CConfirmView> CreateConfirmView() = 0;
    /// Shows a file dialog; true with the chosen full path on OK.
    virtual bool ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath) = 0;

    /// Whether WriteElevated can be asked: only where the system has
    /// administrator rights to ask for and a window to ask from.
    virtual bool CanWriteElevated() const { return false; }
    /// Has the same program, started with administrator rights, convert the
    /// legacy file strOld into strNew and nothing else, and waits for it
    /// while the windows stay responsive. The user may decline the system's
    /// prompt.
    virtual EElevatedWrite WriteElevated(const std::string& /*strOld*/, const std::string& /*strNew*/)
    {
        return EElevatedWrite::Unavailable;
    }

    /// A line the program adds to what the run says (such as where a
    /// replaced file was kept). Where a line of its own would cost the user
    /// one more box to close, as in windows, it is not shown.
    virtual void ShowNote(const std::string& /*strText*/) {}
};
