// The dialogue contract over the windowing front end on the display: a
// timer answers each modal window from inside its own loop, pressing its
// buttons as a click does; the progress window's Cancel is a click queued
// for the view's pump.
//
// The system's file chooser (GTK's) takes a path only through its own
// widgets, which the toolkit does not reach: its dialogs are only
// cancelled here, and the refusal of a missing file is the chooser's own.

#include "frontends/wx/WxViews.h"
#include "system/posix/FileSystem.h"
#include "tests/frontends/DialogsContract.h"
#include "tests/frontends/wx/GuiTestSupport.h"

#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/timer.h>

#include <algorithm>
#include <deque>
#include <vector>

namespace {

/// The user's hand: every few milliseconds, inside whatever modal loop
/// runs, it presses the next button in the innermost modal window of the
/// kind that button belongs to.
class CWxHand : public wxTimer, private wxModalDialogHook {
public:
    enum class EKind { Box, File, Confirm };

    CWxHand()
    {
        Register();
        Start(20);
    }
    ~CWxHand() override
    {
        Stop();
        Unregister();
        EXPECT_TRUE(m_presses.empty()) << "windows the hand waited for never came";
    }
    CWxHand(const CWxHand&) = delete;
    CWxHand& operator=(const CWxHand&) = delete;

    void Add(EKind eKind, int nId) { m_presses.push_back({eKind, nId}); }

    void Notify() override
    {
        const auto itShown =
            std::find_if(m_arShown.rbegin(), m_arShown.rend(), [](wxDialog* p) { return p->IsModal(); });
        if (m_presses.empty() || itShown == m_arShown.rend())
            return;
        wxDialog& dialog = **itShown;
        const SPress press = m_presses.front();
        m_presses.pop_front();
        const EKind eShown = dynamic_cast<CWxMessageBox*>(&dialog)  ? EKind::Box
                             : dynamic_cast<wxFileDialog*>(&dialog) ? EKind::File
                                                                    : EKind::Confirm;
        if (eShown != press.eKind) {
            ADD_FAILURE() << "another window than the one awaited: " << dialog.GetTitle();
            dialog.EndModal(wxID_CANCEL);
            return;
        }
        wxWindow* pButton = dialog.FindWindow(press.nId);
        Click(pButton != nullptr ? pButton : &dialog, press.nId);
    }

private:
    struct SPress {
        EKind eKind;
        int nId;
    };

    int Enter(wxDialog* pDialog) override
    {
        m_arShown.push_back(pDialog);
        return wxID_NONE;  // shown as it is
    }
    void Exit(wxDialog* pDialog) override
    {
        const auto it = std::find(m_arShown.rbegin(), m_arShown.rend(), pDialog);
        if (it != m_arShown.rend())
            m_arShown.erase(std::next(it).base());
    }

    std::vector<wxDialog*> m_arShown;  ///< the modal windows shown, innermost last
    std::deque<SPress> m_presses;
};

class CWxDriver : public CDialogsDriver {
public:
    CUserDialogs& Dialogs() override { return m_frontEnd; }
    void AnswerBox(int nButton) override
    {
        m_hand.Add(CWxHand::EKind::Box, nButton == DlgResult::Ok    ? wxID_OK
                                        : nButton == DlgResult::Yes ? wxID_YES
                                                                    : wxID_NO);
    }
    void AnswerFile(std::optional<std::string> strPath) override
    {
        EXPECT_FALSE(strPath) << "the file chooser is only cancelled";
        m_hand.Add(CWxHand::EKind::File, wxID_CANCEL);
    }
    void PressConfirm(bool bOK) override { m_hand.Add(CWxHand::EKind::Confirm, bOK ? wxID_OK : wxID_CANCEL); }
    void PressProgressCancel(CProgressView& view) override
    {
        wxButton* pCancel = dynamic_cast<CWxProgressView&>(view).GetCancelButton();
        ASSERT_NE(pCancel, nullptr);
        wxCommandEvent event(wxEVT_BUTTON, wxID_CANCEL);
        event.SetEventObject(pCancel);
        wxPostEvent(pCancel, event);
    }
    bool CanChooseFiles() const override { return false; }

private:
    CPosixFileSystem m_fileSystem;
    CWxFrontEnd m_frontEnd{m_fileSystem};
    CWxHand m_hand;
};

std::unique_ptr<CDialogsDriver> MakeWxDriver()
{
    if (!IsGuiRunning())
        return nullptr;
    return std::make_unique<CWxDriver>();
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(FrontEnd, DialogsContractTest, ::testing::Values(SFrontEndUnderTest{"Wx", &MakeWxDriver}));
