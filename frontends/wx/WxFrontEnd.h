#pragma once
// The windowing front end: message boxes, the system's file dialogs, the
// searching-progress window and the confirm window, drawn with the GUI
// toolkit. No main loop runs: the run is driven by modal windows and by the
// progress window's pump. This header needs no toolkit header.

#include "frontends/UserDialogs.h"
#include "system/FileSystem.h"
#include "text/MessageBox.h"

#include <string>

class wxWindow;

/// The toolkit, started for the lifetime of the object.
class CWxSession {
public:
    CWxSession() = default;
    ~CWxSession();
    CWxSession(const CWxSession&) = delete;
    CWxSession& operator=(const CWxSession&) = delete;

    /// Takes the locale from the environment (LC_NUMERIC stays "C") and
    /// starts the toolkit; false, silently, when it cannot (no usable
    /// display).
    bool Start();
    bool IsStarted() const { return m_bStarted; }

private:
    bool m_bStarted = false;
};

class CWxFrontEnd : public CUserDialogs {
public:
    /// The toolkit must have been started (CWxSession).
    explicit CWxFrontEnd(CFileSystem& fileSystem) : m_fileSystem(fileSystem) {}

    int Show(const std::string& strText, EMsgButtons eButtons) override;
    std::unique_ptr<CProgressView> CreateProgressView() override;
    std::unique_ptr<CConfirmView> CreateConfirmView() override;
    bool ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath) override;

    /// The window that boxes and file dialogs belong to (the confirm window
    /// while it is shown); nullptr lets the toolkit choose.
    wxWindow* GetModalParent() const { return m_pModalParent; }
    wxWindow* SetModalParent(wxWindow* pParent)
    {
        wxWindow* pPrevious = m_pModalParent;
        m_pModalParent = pParent;
        return pPrevious;
    }

private:
    CFileSystem& m_fileSystem;
    wxWindow* m_pModalParent = nullptr;
};
