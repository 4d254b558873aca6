// The windows, message boxes and file dialogs of the windowing front end,
// driven with simulated events. Modal windows are answered from inside their
// own loop (CallAfter) or, for the toolkit's own dialogs, by a modal hook.

#include "frontends/wx/WxViews.h"
#include "system/posix/FileSystem.h"
#include "tests/frontends/wx/GuiTestSupport.h"
#include "tests/support/ScriptedFrontEnd.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>

#include <chrono>
#include <clocale>
#include <functional>
#include <libintl.h>
#include <locale.h>
#include <string>
#include <thread>
#include <vector>

namespace {

void PressKey(wxWindow* pWindow, int nKey)
{
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.m_keyCode = nKey;
    event.SetEventObject(pWindow);
    pWindow->GetEventHandler()->ProcessEvent(event);
}

wxRect RectOf(wxWindow* pWindow)
{
    return wxRect(pWindow->GetPosition(), pWindow->GetSize());
}

// A control shows its whole text: a button at least its natural width, a
// label the extent of its text; both at least a line high.
void ExpectTextFits(wxControl* pControl)
{
    ASSERT_NE(pControl, nullptr);
    const wxString strText = pControl->GetLabelText();
    const wxSize sizeText = pControl->GetTextExtent(strText);
    const int nNeeded = dynamic_cast<wxButton*>(pControl) ? pControl->GetBestSize().x : sizeText.x;
    EXPECT_GE(pControl->GetSize().x, nNeeded) << strText;
    EXPECT_GE(pControl->GetSize().y, sizeText.y) << strText;
}

// Answers every modal dialog of the toolkit (message boxes, file dialogs)
// without showing it.
class CModalAnswer : public wxModalDialogHook {
public:
    explicit CModalAnswer(std::function<int(wxDialog*)> answer) : m_answer(std::move(answer)) { Register(); }
    ~CModalAnswer() override { Unregister(); }

protected:
    int Enter(wxDialog* pDialog) override { return m_answer(pDialog); }
    void Exit(wxDialog*) override {}

private:
    std::function<int(wxDialog*)> m_answer;
};

}  // namespace

TEST(WxProgressViewTest, ShowsTheSearchAndReportsOnlyCancelAndOK)
{
    SKIP_WITHOUT_GUI();
    CCountingProgressEvents events;
    CWxProgressView view;
    ASSERT_TRUE(view.Create(events));
    wxDialog* pDialog = view.GetDialog();
    ASSERT_NE(pDialog, nullptr);
    EXPECT_TRUE(pDialog->IsShown());
    EXPECT_EQ(view.GetPercentLabel()->GetLabelText(), " 0 %");
    EXPECT_EQ(pDialog->GetDefaultItem(), view.GetCancelButton());
    EXPECT_EQ(view.GetCancelButton()->GetLabelText(), wxString(L"ｷｬﾝｾﾙ"));
    // Laid out as the template: status, percent, bar and button from top to
    // bottom, all inside the window.
    const wxRect client(wxPoint(0, 0), pDialog->GetClientSize());
    EXPECT_LT(RectOf(view.GetStatusLabel()).GetBottom(), RectOf(view.GetGauge()).GetTop());
    EXPECT_LT(RectOf(view.GetPercentLabel()).GetTop(), RectOf(view.GetGauge()).GetTop());
    EXPECT_LT(RectOf(view.GetGauge()).GetBottom(), RectOf(view.GetCancelButton()).GetTop());
    for (wxWindow* pControl : {static_cast<wxWindow*>(view.GetStatusLabel()), static_cast<wxWindow*>(view.GetGauge())})
        EXPECT_TRUE(client.Contains(RectOf(pControl)));
    ExpectTextFits(view.GetCancelButton());

    view.SetTitle("検索しています");
    EXPECT_EQ(pDialog->GetTitle(), wxString(L"検索しています"));
    view.SetPercentText("37%");
    EXPECT_EQ(view.GetPercentLabel()->GetLabelText(), "37%");
    view.SetRange(0, 100);
    view.SetPos(37);
    EXPECT_EQ(view.GetGauge()->GetValue(), 37);
    view.SetPos(250);
    EXPECT_EQ(view.GetGauge()->GetValue(), view.GetGauge()->GetRange());
    view.SetRange(50, 50);
    view.SetPos(-5);
    EXPECT_EQ(view.GetGauge()->GetValue(), 0);

    // Cancel button, close box and Escape report Cancel; the window stays.
    Click(view.GetCancelButton());
    EXPECT_FALSE(pDialog->Close());  // vetoed
    PressKey(pDialog, WXK_ESCAPE);
    view.PumpMessages();
    EXPECT_EQ(events.m_nCancels, 3);
    EXPECT_EQ(view.GetDialog(), pDialog);
    EXPECT_TRUE(pDialog->IsShown());
    // Enter is OK, which the run ignores; it is no Cancel.
    PressKey(pDialog, WXK_RETURN);
    EXPECT_EQ(events.m_nOKs, 1);
    EXPECT_EQ(events.m_nCancels, 3);

    view.Destroy();
    EXPECT_EQ(view.GetDialog(), nullptr);
    view.Destroy();
    view.SetStatus("after");
    view.PumpMessages();
}

TEST(WxProgressViewTest, FullBarFillsItsCell)
{
    SKIP_WITHOUT_GUI();
    CCountingProgressEvents events;
    CWxProgressView view;
    ASSERT_TRUE(view.Create(events));
    view.SetRange(0, 100);
    view.SetPos(100);
    wxGauge* pGauge = view.GetGauge();
    // What the screen shows of the bar: down its middle column, how many
    // rows show the bar (not the window's background). The
    // window may be mapped, drawn or uncovered late on a busy display: look
    // again until it shows, for a bounded time.
    const wxColour background = view.GetDialog()->GetBackgroundColour();
    wxRect rcBar;
    int nFilledRows = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    for (int nTry = 0; nTry < 5 || (nFilledRows * 2 < rcBar.height && std::chrono::steady_clock::now() < deadline);
         ++nTry) {
        view.GetDialog()->Raise();
        view.GetDialog()->Update();
        wxTheApp->Yield(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        rcBar = wxRect(pGauge->GetScreenPosition(), pGauge->GetSize());
        wxBitmap bitmap(rcBar.GetSize());
        {
            wxMemoryDC memory(bitmap);
            wxScreenDC screen;
            memory.Blit(0, 0, rcBar.width, rcBar.height, &screen, rcBar.x, rcBar.y);
        }
        const wxImage image = bitmap.ConvertToImage();
        nFilledRows = 0;
        for (int y = 0; y < image.GetHeight(); ++y) {
            const int x = image.GetWidth() / 2;
            const int nDistance = std::abs(image.GetRed(x, y) - background.Red()) +
                                  std::abs(image.GetGreen(x, y) - background.Green()) +
                                  std::abs(image.GetBlue(x, y) - background.Blue());
            // The bar's trough and fill both stand apart from the window's
            // background; the fill's own colour depends on whether the
            // window has the focus, so the trough is what is measured.
            nFilledRows += nDistance > 40 ? 1 : 0;
        }
    }
    EXPECT_GE(nFilledRows * 2, rcBar.height) << nFilledRows << " of " << rcBar.height << " rows";
}

TEST(WxProgressViewTest, StatusLineFollowsWithoutRedrawingPerFile)
{
    SKIP_WITHOUT_GUI();
    CCountingProgressEvents events;
    CWxProgressView view;
    ASSERT_TRUE(view.Create(events));
    // The first file shows at once; "&" is no mnemonic, a line break no break.
    view.SetStatus("/mnt/R&D/a\nb");
    EXPECT_EQ(view.GetStatusLabel()->GetLabelText(), "/mnt/R&D/a?b");

    const long nDrawsBefore = view.GetStatusDraws();
    std::string strLast;
    for (int i = 0; i < 20000; ++i) {
        strLast = "/usr/share/doc/file" + std::to_string(i);
        view.SetStatus(strLast);
        if (i % 100 == 0)
            view.PumpMessages();
    }
    EXPECT_LT(view.GetStatusDraws() - nDrawsBefore, 2000);
    // The last file looked at shows once the pump comes round.
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    view.PumpMessages();
    EXPECT_EQ(view.GetStatusLabel()->GetLabelText(), wxString(strLast));
}

namespace {

// Refuses the first OK, then accepts; the file button puts a chosen path
// into the field.
class CScriptedConfirmEvents : public CConfirmEvents {
public:
    bool OnOK(const std::string& strField) override
    {
        m_arFields.push_back(strField);
        return m_arFields.size() > 1;
    }
    void OnFileButton() override
    {
        ++m_nFileButtons;
        if (m_pView)
            m_pView->SetFieldText("/chosen/\xe3\x83\xa6/USER.YLI");
    }
    std::vector<std::string> m_arFields;
    int m_nFileButtons = 0;
    CConfirmView* m_pView = nullptr;
};

}  // namespace

TEST(WxConfirmViewTest, OkClosesOnlyWhenAccepted)
{
    SKIP_WITHOUT_GUI();
    CPosixFileSystem fileSystem;
    CWxFrontEnd frontEnd(fileSystem);
    CWxConfirmView view(frontEnd);
    CScriptedConfirmEvents events;
    events.m_pView = &view;
    wxString strInitialField;
    wxString strTitle;
    bool bStillOpenAfterRefusal = false;
    bool bParentWhileShown = false;

    wxTheApp->CallAfter([&] {
        wxDialog* pDialog = view.GetDialog();
        ASSERT_NE(pDialog, nullptr);
        strTitle = pDialog->GetTitle();
        strInitialField = view.GetField()->GetValue();
        for (wxWindow* pChild : pDialog->GetChildren()) {
            if (pChild != view.GetField())
                ExpectTextFits(dynamic_cast<wxControl*>(pChild));
        }
        bParentWhileShown = frontEnd.GetModalParent() == pDialog;
        view.GetField()->SetValue("typed/notes.txt");
        Click(pDialog->FindWindow(wxID_OK));
        bStillOpenAfterRefusal = view.GetDialog() == pDialog && pDialog->IsModal();
        Click(view.GetFileButton());
        wxTheApp->CallAfter([&] { Click(view.GetDialog()->FindWindow(wxID_OK)); });
    });
    const int nResult = view.DoModal("確認", "以下のファイルをTovi５用に変換します", "/old/User.FDF", events);

    EXPECT_EQ(nResult, DlgResult::Ok);
    EXPECT_EQ(strTitle, wxString(L"確認"));
    EXPECT_EQ(strInitialField, "/old/User.FDF");
    EXPECT_TRUE(bParentWhileShown);
    EXPECT_TRUE(bStillOpenAfterRefusal);
    EXPECT_EQ(events.m_nFileButtons, 1);
    EXPECT_EQ(events.m_arFields, (std::vector<std::string>{"typed/notes.txt", "/chosen/\xe3\x83\xa6/USER.YLI"}));
    EXPECT_EQ(view.GetDialog(), nullptr);
    EXPECT_EQ(frontEnd.GetModalParent(), nullptr);
}

TEST(WxConfirmViewTest, CancelEscapeAndCloseBoxAskNothing)
{
    SKIP_WITHOUT_GUI();
    CPosixFileSystem fileSystem;
    CWxFrontEnd frontEnd(fileSystem);
    CWxConfirmView view(frontEnd);
    CScriptedConfirmEvents events;
    const std::vector<std::function<void(wxDialog*)>> arWays = {
        [](wxDialog* pDialog) { Click(pDialog->FindWindow(wxID_CANCEL)); },
        [](wxDialog* pDialog) { PressKey(pDialog, WXK_ESCAPE); },
        [](wxDialog* pDialog) { pDialog->Close(); },
    };
    for (const auto& way : arWays) {
        wxTheApp->CallAfter([&] { way(view.GetDialog()); });
        EXPECT_EQ(view.DoModal("ﾕｰｻﾞｼｰﾄﾌｧｲﾙ指定", "以下のファイルをTovi５用に変換します", "", events),
                  DlgResult::Cancel);
    }
    EXPECT_TRUE(events.m_arFields.empty());
}

TEST(WxFrontEndTest, MessageBoxesAnswerOkYesOrNo)
{
    SKIP_WITHOUT_GUI();
    CPosixFileSystem fileSystem;
    CWxFrontEnd frontEnd(fileSystem);
    std::vector<wxString> arMessages;
    std::vector<std::vector<int>> arButtons;
    int nAnswer = wxID_OK;
    CModalAnswer answer([&](wxDialog* pDialog) {
        auto* pBox = dynamic_cast<CWxMessageBox*>(pDialog);
        if (!pBox)
            return static_cast<int>(wxID_CANCEL);
        arMessages.push_back(pBox->GetText()->GetLabelText());
        std::vector<int> arIds;
        for (int nId : {wxID_OK, wxID_YES, wxID_NO}) {
            if (pBox->FindWindow(nId))
                arIds.push_back(nId);
        }
        arButtons.push_back(arIds);
        EXPECT_EQ(pBox->GetTitle(), "ToviConv");
        EXPECT_TRUE(pBox->GetIcon()->GetBitmap().IsOk());
        EXPECT_FALSE(pBox->GetIcons().IsEmpty()) << "no program icon";
        // Long texts wrap: the box stays on the screen.
        EXPECT_LE(pBox->GetSize().x, wxGetDisplaySize().x);
        // Room for the caption beside the title bar's buttons.
        EXPECT_GT(pBox->GetClientSize().x, pBox->GetTextExtent(pBox->GetTitle()).x * 3);
        ExpectTextFits(pBox->GetText());
        return nAnswer;
    });

    EXPECT_EQ(frontEnd.Show("終了します", EMsgButtons::Ok), DlgResult::Ok);
    nAnswer = wxID_YES;
    EXPECT_EQ(frontEnd.Show("検索を中止しますか？", EMsgButtons::YesNo), DlgResult::Yes);
    nAnswer = wxID_NO;
    EXPECT_EQ(frontEnd.Show("R&D を上書きしますか？", EMsgButtons::YesNo), DlgResult::No);
    // Closed without an answer.
    nAnswer = wxID_CANCEL;
    EXPECT_EQ(
        frontEnd.Show("旧バージョンのToviがインストールされていません\nフォルダを指定しますか？", EMsgButtons::YesNo),
        DlgResult::No);
    // A path without blanks, and a report of many failures.
    nAnswer = wxID_OK;
    const std::string strLongPath = "ﾌｧｲﾙ /" + std::string(400, 'x') + " に書き込みができません";
    EXPECT_EQ(frontEnd.Show(strLongPath, EMsgButtons::Ok), DlgResult::Ok);
    std::string strReport;
    for (int i = 0; i < 10; ++i)
        strReport += "また";
    EXPECT_EQ(
        frontEnd.Show(strReport + strReport + strReport + "バグみたいです。\n\nCSheet::GetFixed", EMsgButtons::Ok),
        DlgResult::Ok);

    ASSERT_EQ(arMessages.size(), 6u);
    EXPECT_GT(arMessages[4].Freq('\n'), 0) << "the long path was not wrapped";
    EXPECT_EQ(arMessages[0], wxString(L"終了します"));
    EXPECT_EQ(arMessages[2], wxString(L"R&D を上書きしますか？"));
    EXPECT_EQ(arMessages[3], wxString(L"旧バージョンのToviがインストールされていません\nフォルダを指定しますか？"));
    EXPECT_EQ(arButtons[0], (std::vector<int>{wxID_OK}));
    EXPECT_EQ(arButtons[1], (std::vector<int>{wxID_YES, wxID_NO}));
}

TEST(WxSessionTest, WindowsSpeakTheDesktopsLanguageButNumbersStayC)
{
    SKIP_WITHOUT_GUI();
    // The test program runs with LC_ALL=ja_JP.UTF-8 (where that locale exists).
    const char* pAll = std::getenv("LC_ALL");
    const locale_t japanese = ::newlocale(LC_ALL_MASK, "ja_JP.UTF-8", locale_t());
    if (!japanese || !pAll || std::string(pAll) != "ja_JP.UTF-8")
        GTEST_SKIP() << "no ja_JP.UTF-8 locale";
    ::freelocale(japanese);
    EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), "ja_JP.UTF-8");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "ja_JP.UTF-8");
    // The toolkit's own buttons and dialogs take its translations.
    EXPECT_STREQ(dgettext("gtk30", "_Yes"), "はい(_Y)");
    EXPECT_STREQ(dgettext("gtk30", "_Cancel"), "キャンセル(_C)");
}

TEST(WxFrontEndTest, FileDialogsGetTheRunsRequest)
{
    SKIP_WITHOUT_GUI();
    CPosixFileSystem fileSystem;
    CWxFrontEnd frontEnd(fileSystem);
    std::vector<long> arStyles;
    std::vector<wxString> arTitles;
    std::vector<wxString> arWildcards;
    CModalAnswer answer([&](wxDialog* pDialog) {
        if (auto* pFileDialog = dynamic_cast<wxFileDialog*>(pDialog)) {
            arStyles.push_back(pFileDialog->GetWindowStyle());
            arTitles.push_back(pFileDialog->GetMessage());
            arWildcards.push_back(pFileDialog->GetWildcard());
        }
        return static_cast<int>(wxID_CANCEL);
    });

    SFileDialogSpec openDialog;
    openDialog.nFlags = kFileMustExist | kFileHideReadOnly;
    openDialog.strFilter = "Tovi2～4形式(USER.FDF; USER.YLI)|USER.FDF; USER.YLI||";
    SFileDialogSpec saveDialog;
    saveDialog.bOpen = false;
    saveDialog.strDefaultName = "USER.YLI";
    saveDialog.strTitle = "Tovi５のユーザシート情報ファイルを指定してください";
    std::string strPath = "unchanged";
    EXPECT_FALSE(frontEnd.ShowFileDialog(openDialog, strPath));
    EXPECT_FALSE(frontEnd.ShowFileDialog(saveDialog, strPath));
    EXPECT_EQ(strPath, "unchanged");

    ASSERT_EQ(arStyles.size(), 2u);
    EXPECT_EQ(arStyles[0] & (wxFD_OPEN | wxFD_FILE_MUST_EXIST), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    EXPECT_EQ(arTitles[0], wxString::FromUTF8("開く"));
    EXPECT_EQ(
        arWildcards[0],
        wxString(L"Tovi2～4形式(USER.FDF; USER.YLI)|[Uu][Ss][Ee][Rr].[Ff][Dd][Ff];[Uu][Ss][Ee][Rr].[Yy][Ll][Ii]"));
    EXPECT_TRUE(arStyles[1] & wxFD_SAVE);
    EXPECT_FALSE(arStyles[1] & wxFD_OVERWRITE_PROMPT);
    EXPECT_EQ(arTitles[1], wxString(L"Tovi５のユーザシート情報ファイルを指定してください"));
}
