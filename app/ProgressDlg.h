#pragma once
// The searching-progress dialog: a modeless window with a progress bar, a
// percent text, a status line and a Cancel button that only raises a flag.
// The search polls it; a CProgressView renders it.

#include "frontends/UserDialogs.h"
#include "search/InstallationSearch.h"

#include <memory>
#include <string>
#include <string_view>

class CProgressDlg : public CProgressEvents, public CSearchProgress {
public:
    /// nCaptionID 0 selects the default caption (104).
    explicit CProgressDlg(std::unique_ptr<CProgressView> pView, int nCaptionID = 0);
    ~CProgressDlg() override;
    CProgressDlg(const CProgressDlg&) = delete;
    CProgressDlg& operator=(const CProgressDlg&) = delete;

    /// Creates and shows the window; false when it cannot be created.
    bool Create();
    void DestroyWindow();
    void SetTitle(const std::string& strTitle);
    void SetStatus(std::string_view strText) override;
    void SetRange(int nLower, int nUpper);
    void SetStep(int nStep);
    /// Pumps messages, advances the bar by its step (starting over from the
    /// lower bound once it passes the upper one), refreshes the percent text
    /// and returns the previous position.
    int StepIt() override;
    /// Pumps messages and returns the cancel flag without clearing it.
    int CheckCancelButton() override;
    void PumpMessages();
    /// Percent of the range, shown as "37%"; anything but exactly 100 is
    /// taken modulo 100. Rewritten only when it changes.
    void UpdatePercent(int nPos);

    void OnCancel() override { m_bCancel = 1; }
    void OnOK() override {}

    const std::string& GetPercentText() const { return m_strPercent; }
    int GetPos() const { return m_nPos; }

    int m_nCaptionID;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nStep = 10;
    int m_bCancel = 0;

private:
    std::unique_ptr<CProgressView> m_pView;
    bool m_bCreated = false;
    int m_nPos = 0;
    std::string m_strPercent = " 0 %";
};

/// Text of a string resource of the dialogs ("" for an unknown id).
std::string LoadResourceString(int nID);
