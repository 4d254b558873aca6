#pragma once
// The windows of the windowing front end, open for the tests that drive them.

#include "frontends/UserDialogs.h"
#include "frontends/wx/WxFrontEnd.h"

#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/string.h>
#include <wx/textctrl.h>

#include <string>
#include <string_view>

/// A UTF-8 text for display: malformed bytes become U+FFFD; with bOneLine
/// control characters (line breaks included) become "?".
wxString TextToWx(std::string_view strText, bool bOneLine);
/// A path's bytes as the toolkit's string; bytes that are not UTF-8 survive
/// the way back through PathFromWx.
wxString PathToWx(std::string_view strPath);
std::string PathFromWx(const wxString& strPath);

/// A message box: the exclamation icon, the text and OK, or Yes and No,
/// with the system's own (translated) button labels; wide enough for its
/// caption to be read in the title bar.
class CWxMessageBox : public wxDialog {
public:
    CWxMessageBox(wxWindow* pParent, const wxString& strText, EMsgButtons eButtons);

    wxStaticBitmap* GetIcon() const { return m_pIcon; }
    wxStaticText* GetText() const { return m_pText; }

private:
    wxStaticBitmap* m_pIcon;
    wxStaticText* m_pText;
};

/// The modeless searching-progress window (template 103, 186 x 79 dialog units).
class CWxProgressView : public CProgressView {
public:
    CWxProgressView() = default;
    ~CWxProgressView() override;
    CWxProgressView(const CWxProgressView&) = delete;
    CWxProgressView& operator=(const CWxProgressView&) = delete;

    bool Create(CProgressEvents& events) override;
    void Destroy() override;
    void SetTitle(const std::string& strTitle) override;
    /// Stores the text; the control follows at most about 20 times a second.
    void SetStatus(std::string_view strText) override;
    void SetRange(int nLower, int nUpper) override;
    void SetPos(int nPos) override;
    void SetPercentText(const std::string& strText) override;
    /// Lets the toolkit handle pending events at most every 30 ms.
    void PumpMessages() override;

    wxDialog* GetDialog() const { return m_pDialog; }
    wxButton* GetCancelButton() const { return m_pCancel; }
    wxGauge* GetGauge() const { return m_pGauge; }
    wxStaticText* GetPercentLabel() const { return m_pPercent; }
    wxStaticText* GetStatusLabel() const { return m_pStatus; }
    /// How often the status control was rewritten.
    long GetStatusDraws() const { return m_nStatusDraws; }

private:
    void ForgetControls();
    void ApplyPos();
    void DrawStatus(long long nNow);

    CProgressEvents* m_pEvents = nullptr;
    wxDialog* m_pDialog = nullptr;
    wxButton* m_pCancel = nullptr;
    wxGauge* m_pGauge = nullptr;
    wxStaticText* m_pPercent = nullptr;
    wxStaticText* m_pStatus = nullptr;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
    std::string m_strStatus;
    bool m_bStatusPending = false;
    long long m_nLastStatusDraw = 0;
    long long m_nLastYield = 0;
    long m_nStatusDraws = 0;
};

/// The modal confirm window (template 133, 239 x 65 dialog units).
class CWxConfirmView : public CConfirmView {
public:
    explicit CWxConfirmView(CWxFrontEnd& frontEnd) : m_frontEnd(frontEnd) {}

    int DoModal(const std::string& strTitle, const std::string& strText, const std::string& strField,
                CConfirmEvents& events) override;
    void SetFieldText(const std::string& strField) override;

    /// The window and its controls while DoModal shows it, else nullptr.
    wxDialog* GetDialog() const { return m_pDialog; }
    wxTextCtrl* GetField() const { return m_pField; }
    wxButton* GetFileButton() const { return m_pFileButton; }

private:
    void OnOK();

    CWxFrontEnd& m_frontEnd;
    CConfirmEvents* m_pEvents = nullptr;
    wxDialog* m_pDialog = nullptr;
    wxTextCtrl* m_pField = nullptr;
    wxButton* m_pFileButton = nullptr;
    bool m_bInOK = false;
};
