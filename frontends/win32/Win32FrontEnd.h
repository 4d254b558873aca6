#pragma once
// The Windows front end: message boxes, the system's file dialogs, and the
// progress and confirm windows from the dialog templates 103 and 133 of
// toviconv.rc. No message loop of its own runs: the confirm window and the
// boxes are modal, and the progress window lives on the pump of the search.

#include "frontends/UserDialogs.h"
#include "system/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CWin32FrontEnd : public CUserDialogs {
public:
    explicit CWin32FrontEnd(CFileSystem& fileSystem);

    int Show(const std::string& strText, EMsgButtons eButtons) override;
    std::unique_ptr<CProgressView> CreateProgressView() override;
    std::unique_ptr<CConfirmView> CreateConfirmView() override;
    bool ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath) override;
    /// The windowed program can ask for administrator rights.
    bool CanWriteElevated() const override { return true; }
    /// Starts this program with the verb "runas" (the system's prompt of
    /// User Account Control) and the command line of
    /// MakeElevatedParameters, and waits for it with the windows' messages
    /// still handled.
    EElevatedWrite WriteElevated(const std::string& strOld, const std::string& strNew) override;

    /// The window that boxes and file dialogs belong to (the confirm window
    /// while it is shown); nullptr for none. A window handle as an integer.
    std::intptr_t SetModalParent(std::intptr_t hParent)
    {
        const std::intptr_t hPrevious = m_hModalParent;
        m_hModalParent = hParent;
        return hPrevious;
    }

private:
    CFileSystem& m_fileSystem;
    std::intptr_t m_hModalParent = 0;
};

/// One argument quoted so that the system's reading of a command line
/// (CommandLineToArgvW, the C runtime) gives it back exactly: spaces,
/// quotes, backslashes before a quote and at the end, any character.
std::wstring QuoteArgument(std::wstring_view strArg);

/// The parameters of the program started with administrator rights: the
/// conversion of one file into another, and nothing else.
std::wstring MakeElevatedParameters(const std::string& strOld, const std::string& strNew);

/// The double-NUL-terminated filter of the system's file dialogs made from
/// "description|pattern|...||" (L"" for none).
std::wstring MakeWin32Filter(std::string_view strFilter);

/// The modeless searching-progress window from template 103.
class CWin32ProgressView : public CProgressView {
public:
    /// While the window exists, the boxes of pFrontEnd (the question whether
    /// to stop the search) belong to it.
    explicit CWin32ProgressView(CWin32FrontEnd* pFrontEnd = nullptr) : m_pFrontEnd(pFrontEnd) {}
    ~CWin32ProgressView() override;
    CWin32ProgressView(const CWin32ProgressView&) = delete;
    CWin32ProgressView& operator=(const CWin32ProgressView&) = delete;

    bool Create(CProgressEvents& events) override;
    void Destroy() override;
    void SetTitle(const std::string& strTitle) override;
    void SetStatus(std::string_view strText) override;
    void SetRange(int nLower, int nUpper) override;
    void SetPos(int nPos) override;
    void SetPercentText(const std::string& strText) override;
    /// Takes every pending message of the thread off the queue: keys and
    /// clicks meant for this window go through the dialog manager, the rest
    /// is translated and dispatched. Enter reports OK and nothing else.
    void PumpMessages() override;

    /// The window (an HWND), 0 when there is none.
    std::intptr_t GetWindow() const { return m_hDialog; }
    /// Reports a command of the window to the events (for the window procedure).
    void OnCommand(int nId);

private:
    CWin32FrontEnd* m_pFrontEnd;
    std::intptr_t m_hPreviousParent = 0;
    std::intptr_t m_hDialog = 0;
    CProgressEvents* m_pEvents = nullptr;
    std::wstring m_strWide;  ///< reused for the status line
};

/// The modal confirm window from template 133.
class CWin32ConfirmView : public CConfirmView {
public:
    explicit CWin32ConfirmView(CWin32FrontEnd& frontEnd) : m_frontEnd(frontEnd) {}

    int DoModal(const std::string& strTitle, const std::string& strText, const std::string& strField,
                CConfirmEvents& events) override;
    void SetFieldText(const std::string& strField) override;

    /// The window (an HWND) while it is shown, else 0.
    std::intptr_t GetWindow() const { return m_hDialog; }
    /// For the window procedure: initialisation and commands; true when the
    /// window is to close with nResult.
    void OnInit(std::intptr_t hDialog);
    bool OnCommand(int nId, int& nResult);

private:
    CWin32FrontEnd& m_frontEnd;
    std::intptr_t m_hDialog = 0;
    std::intptr_t m_hPreviousParent = 0;
    CConfirmEvents* m_pEvents = nullptr;
    std::string m_strTitle;
    std::string m_strField;
};
