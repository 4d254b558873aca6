#include "frontends/wx/WxFrontEnd.h"

#include "frontends/wx/WxFileFilter.h"
#include "frontends/wx/WxViews.h"
#include "system/StdStreams.h"
#include "text/Path.h"
#include "text/TerminalText.h"

#include "ProgramIcon.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/bmpbndl.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/iconbndl.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/strconv.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

long long NowMilliseconds()
{
    timespec now;
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

constexpr long long kStatusMilliseconds = 50;  ///< the status line at most 20 times a second
constexpr long long kYieldMilliseconds = 30;   ///< the toolkit's events at most every 30 ms

// No main window and no command line of the toolkit's own: the run is the
// program.
class CToviWxApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// A failed check inside the toolkit is reported on standard error instead
// of a dialog that would wait for somebody.
void ReportToolkitAssert(const wxString& strFile, int nLine, const wxString& strFunction, const wxString& strCond,
                         const wxString& strMessage)
{
    WriteToStdError("toviconv: toolkit check failed: " + strFile.utf8_string() + ":" + std::to_string(nLine) + " " +
                    strFunction.utf8_string() + ": " + strCond.utf8_string() + " " + strMessage.utf8_string() + "\n");
}

/// The program's icon in the sizes a desktop asks for, for every window.
const wxIconBundle& ProgramIcons()
{
    static const wxIconBundle icons = [] {
        wxIconBundle bundle;
        const wxBitmapBundle svg = wxBitmapBundle::FromSVG(kProgramIconSvg, wxSize(64, 64));
        for (const int nSize : {16, 24, 32, 48, 64, 128}) {
            const wxBitmap bitmap = svg.IsOk() ? svg.GetBitmap(wxSize(nSize, nSize)) : wxBitmap();
            if (!bitmap.IsOk())
                continue;
            wxIcon icon;
            icon.CopyFromBitmap(bitmap);
            bundle.AddIcon(icon);
        }
        return bundle;
    }();
    return icons;
}

/// The text with line breaks added wherever a line would be wider than
/// nWidth pixels in the window's font: after the last blank that fits,
/// or else after the last character that fits (a long path, a run of
/// "また"), as the system's message boxes break lines.
wxString WrapToWidth(const wxWindow& window, const wxString& strText, int nWidth)
{
    wxClientDC dc(const_cast<wxWindow*>(&window));
    dc.SetFont(window.GetFont());
    wxString strOut;
    wxString strRest = strText;
    for (;;) {
        const int nEnd = strRest.Find('\n');
        wxString strLine = nEnd == wxNOT_FOUND ? strRest : strRest.Left(static_cast<size_t>(nEnd));
        for (;;) {
            wxArrayInt arWidths;
            if (strLine.empty() || !dc.GetPartialTextExtents(strLine, arWidths) || arWidths.back() <= nWidth)
                break;
            size_t nFit = 0;
            while (nFit + 1 < arWidths.size() && arWidths[nFit + 1] <= nWidth)
                ++nFit;
            size_t nBreak = nFit + 1;  // characters on this line, at least one
            const size_t nBlank = strLine.find_last_of(' ', nFit + 1);
            if (nBlank != wxString::npos && nBlank > 0)
                nBreak = nBlank + 1;
            strOut += strLine.Left(nBreak);
            strOut += '\n';
            strLine = strLine.Mid(nBreak);
        }
        strOut += strLine;
        if (nEnd == wxNOT_FOUND)
            return strOut;
        strOut += '\n';
        strRest = strRest.Mid(static_cast<size_t>(nEnd) + 1);
    }
}

const wxMBConv& PathConv()
{
    static const wxMBConvUTF8 conv(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
    return conv;
}

// A dialog template: controls at rectangles in dialog units, which follow
// the window's font. Where a control's text would not fit its cell with the
// fonts at hand (a Japanese font is wider than the one the template was
// drawn for), the units grow, across and down apart, so that the whole
// window keeps the template's proportions and nothing is clipped.
class CDialogTemplate {
public:
    explicit CDialogTemplate(wxWindow* pDialog) : m_pDialog(pDialog) {}

    /// Places a control at x, y, cx, cy dialog units. strWidest is the
    /// widest text it will show; "" for a control whose text may be cut
    /// (an edit field, an ellipsized path).
    template <class TControl>
    TControl* Add(TControl* pControl, int x, int y, int cx, int cy, const wxString& strWidest = wxString())
    {
        m_arCells.push_back({pControl, wxRect(x, y, cx, cy), strWidest});
        return pControl;
    }

    /// Sizes and places every control and the client area (cx, cy units).
    void Apply(int cx, int cy)
    {
        double dScaleX = 1.0;
        double dScaleY = 1.0;
        for (const SCell& cell : m_arCells) {
            if (cell.strWidest.empty())
                continue;
            const wxSize sizeCell = m_pDialog->ConvertDialogToPixels(cell.rcUnits.GetSize());
            const wxSize sizeNeeded = NeededSize(cell.pControl, cell.strWidest);
            dScaleX = std::max(dScaleX, static_cast<double>(sizeNeeded.x) / std::max(1, sizeCell.x));
            dScaleY = std::max(dScaleY, static_cast<double>(sizeNeeded.y) / std::max(1, sizeCell.y));
        }
        const auto toPixels = [&](int x, int y) {
            const wxPoint pt = m_pDialog->ConvertDialogToPixels(wxPoint(x, y));
            return wxPoint(static_cast<int>(std::ceil(pt.x * dScaleX)), static_cast<int>(std::ceil(pt.y * dScaleY)));
        };
        for (const SCell& cell : m_arCells) {
            const wxPoint ptStart = toPixels(cell.rcUnits.x, cell.rcUnits.y);
            const wxPoint ptEnd = toPixels(cell.rcUnits.GetRight() + 1, cell.rcUnits.GetBottom() + 1);
            cell.pControl->SetSize(wxRect(ptStart, wxSize(ptEnd.x - ptStart.x, ptEnd.y - ptStart.y)));
        }
        const wxPoint ptClient = toPixels(cx, cy);
        m_pDialog->SetClientSize(ptClient.x, ptClient.y);
    }

private:
    struct SCell {
        wxWindow* pControl;
        wxRect rcUnits;
        wxString strWidest;
    };

    /// The text's extent in the control's font, plus what a button draws
    /// around its label.
    static wxSize NeededSize(wxWindow* pControl, const wxString& strText)
    {
        wxSize size = pControl->GetTextExtent(strText);
        if (auto* pButton = dynamic_cast<wxButton*>(pControl)) {
            const wxSize sizeLabel = pButton->GetTextExtent(pButton->GetLabelText());
            size.x += std::max(0, pButton->GetBestSize().x - sizeLabel.x);
        }
        return size;
    }

    wxWindow* m_pDialog;
    std::vector<SCell> m_arCells;
};

// A bar that fills its cell: GTK 3's themes draw the bar as a thin line at
// the foot of whatever height it is given.
class CWxCellGauge : public wxGauge {
public:
    using wxGauge::wxGauge;

    /// Makes the bar as high as the control; call once it has its size.
    void FillCell()
    {
#ifdef __WXGTK3__
        const int nHeight = std::max(1, GetSize().y - 2);
        const std::string strCss =
            "progressbar trough, progressbar progress { min-height: " + std::to_string(nHeight) + "px; }";
        GTKApplyCssStyle(strCss.c_str());
#endif
    }
};

}  // namespace

wxString TextToWx(std::string_view strText, bool bOneLine)
{
    std::wstring strWide;
    strWide.reserve(strText.size());
    while (!strText.empty()) {
        char32_t c = 0;
        size_t nLength = DecodeUtf8(strText, c);
        if (nLength == 0) {
            c = 0xFFFD;
            nLength = 1;
        } else if (bOneLine && (c < 0x20 || c == 0x7F)) {
            c = '?';
        }
        strWide += static_cast<wchar_t>(c);
        strText.remove_prefix(nLength);
    }
    return wxString(strWide);
}

wxString PathToWx(std::string_view strPath)
{
    if (strPath.empty())
        return wxString();
    const wxString strOut(strPath.data(), PathConv(), strPath.size());
    return strOut.empty() ? TextToWx(strPath, true) : strOut;
}

std::string PathFromWx(const wxString& strPath)
{
    if (strPath.empty())
        return std::string();
    const wxCharBuffer buffer = strPath.mb_str(PathConv());
    if (buffer.length() == 0) {
        const wxScopedCharBuffer utf8 = strPath.utf8_str();
        return std::string(utf8.data(), utf8.length());
    }
    return std::string(buffer.data(), buffer.length());
}

bool CWxSession::Start()
{
    if (m_bStarted)
        return true;
    // The windows speak the desktop's language: the toolkit keeps its hands
    // off the locale, so it is taken from the environment here, before the
    // toolkit starts, for everything but numbers, which stay "C".
    // An environment naming a locale that is not installed leaves "C".
    static_cast<void>(std::setlocale(LC_ALL, ""));
    static_cast<void>(std::setlocale(LC_NUMERIC, "C"));

    // The program's own options are not the toolkit's business.
    static char szName[] = "toviconv";
    static char* arArgs[] = {szName, nullptr};
    int nArgs = 1;
    wxApp::SetInstance(new CToviWxApp);
    bool bStarted;
    {
        wxLogNull noLog;
        bStarted = wxEntryStart(nArgs, arArgs);
    }
    if (bStarted) {
        wxSetAssertHandler(ReportToolkitAssert);
        bStarted = wxTheApp && wxTheApp->CallOnInit();
        if (!bStarted)
            wxEntryCleanup();
    }
    // "C" always exists; numbers in files do not depend on it anyway.
    static_cast<void>(std::setlocale(LC_NUMERIC, "C"));
    m_bStarted = bStarted;
    return bStarted;
}

CWxSession::~CWxSession()
{
    if (m_bStarted)
        wxEntryCleanup();
}

int CWxFrontEnd::Show(const std::string& strText, EMsgButtons eButtons)
{
    if (!wxTheApp) {
        CStreamMessageBox fallback;
        return fallback.Show(strText, eButtons);
    }
    CWxMessageBox box(m_pModalParent, TextToWx(strText, false), eButtons);
    const int nAnswer = box.ShowModal();
    if (eButtons == EMsgButtons::Ok)
        return DlgResult::Ok;
    // Closing the box without an answer is No.
    return nAnswer == wxID_YES ? DlgResult::Yes : DlgResult::No;
}

CWxMessageBox::CWxMessageBox(wxWindow* pParent, const wxString& strText, EMsgButtons eButtons)
    : wxDialog(pParent, wxID_ANY, wxString::FromUTF8(kAppTitle), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX)
{
    const bool bQuestion = eButtons == EMsgButtons::YesNo;
    m_pIcon = new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmapBundle(wxART_WARNING, wxART_MESSAGE_BOX));
    SetIcons(ProgramIcons());
    m_pText = new wxStaticText(this, wxID_ANY, wxString());
    // Lines no wider than five eighths of the screen: a long path or a
    // long report stays readable.
    const int nDisplay = wxDisplay(pParent != nullptr ? wxDisplay::GetFromWindow(pParent) : 0u).GetClientArea().width;
    m_pText->SetLabelText(WrapToWidth(*m_pText, strText, std::max(nDisplay * 5 / 8, 200)));  // "&" is no mnemonic
    const int nMargin = GetCharHeight();
    auto* pMessage = new wxBoxSizer(wxHORIZONTAL);
    pMessage->Add(m_pIcon, 0, wxALIGN_CENTRE_VERTICAL | wxRIGHT, nMargin);
    pMessage->Add(m_pText, 1, wxALIGN_CENTRE_VERTICAL);
    auto* pWhole = new wxBoxSizer(wxVERTICAL);
    pWhole->Add(pMessage, 1, wxEXPAND | wxALL, nMargin);
    // Stock buttons: the toolkit labels them in the desktop's language.
    pWhole->Add(CreateStdDialogButtonSizer(bQuestion ? wxYES_NO : wxOK), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM,
                nMargin);
    // The caption, beside the title bar's own buttons, stays readable.
    pWhole->SetMinSize(wxSize(GetTextExtent(GetTitle()).x + 10 * nMargin, -1));
    SetSizerAndFit(pWhole);
    // Escape and the close box answer OK to a notice and No to a question.
    SetAffirmativeId(bQuestion ? wxID_YES : wxID_OK);
    SetEscapeId(bQuestion ? wxID_NO : wxID_OK);
    if (wxWindow* pDefault = FindWindow(GetAffirmativeId()))
        pDefault->SetFocus();
    CentreOnParent();
}

std::unique_ptr<CProgressView> CWxFrontEnd::CreateProgressView()
{
    return std::make_unique<CWxProgressView>();
}

std::unique_ptr<CConfirmView> CWxFrontEnd::CreateConfirmView()
{
    return std::make_unique<CWxConfirmView>(*this);
}

bool CWxFrontEnd::ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath)
{
    if (!wxTheApp)
        return false;
    const SFileDialogStart start = ResolveFileDialogStart(m_fileSystem, fileDialog);
    long nStyle = wxFD_SAVE;
    if (fileDialog.bOpen)
        nStyle = wxFD_OPEN | ((fileDialog.nFlags & kFileMustExist) != 0 ? wxFD_FILE_MUST_EXIST : 0);
    const std::string strWildcard = MakeWxWildcard(fileDialog.strFilter);
    const wxString strTitle =
        TextToWx(fileDialog.strTitle.empty() ? PlainFileDialogTitle(fileDialog.bOpen) : fileDialog.strTitle, true);
    wxFileDialog dialog(m_pModalParent, strTitle, PathToWx(start.strFolder), PathToWx(start.strName),
                        strWildcard.empty() ? wxString(wxFileSelectorDefaultWildcardStr) : TextToWx(strWildcard, true),
                        nStyle);
    dialog.SetIcons(ProgramIcons());
    if (dialog.ShowModal() != wxID_OK)
        return false;
    std::string strChosen = PathFromWx(dialog.GetPath());
    if (strChosen.empty())
        return false;
    strPath = std::move(strChosen);
    return true;
}

// ---------------------------------------------------------------------------
// The searching-progress window

CWxProgressView::~CWxProgressView()
{
    Destroy();
}

bool CWxProgressView::Create(CProgressEvents& events)
{
    if (m_pDialog)
        return true;
    if (!wxTheApp)
        return false;
    auto* pDialog = new wxDialog();
    if (!pDialog->Create(nullptr, wxID_ANY, TextToWx("検索中", true), wxDefaultPosition, wxDefaultSize,
                         wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX)) {
        delete pDialog;
        return false;
    }
    pDialog->SetIcons(ProgramIcons());
    m_pEvents = &events;
    m_pDialog = pDialog;
    CDialogTemplate layout(pDialog);
    m_pCancel = layout.Add(new wxButton(pDialog, wxID_CANCEL, TextToWx("ｷｬﾝｾﾙ", true)), 67, 58, 50, 14,
                           TextToWx("ｷｬﾝｾﾙ", true));
    m_pCancel->SetDefault();
    auto* pGauge =
        new CWxCellGauge(pDialog, 1003, 100, wxDefaultPosition, wxDefaultSize, wxGA_HORIZONTAL | wxGA_SMOOTH);
    m_pGauge = layout.Add(pGauge, 15, 34, 154, 13);
    m_pPercent =
        layout.Add(new wxStaticText(pDialog, 1004, " 0 %", wxDefaultPosition, wxDefaultSize, wxST_NO_AUTORESIZE), 85,
                   23, 18, 8, "100%");
    m_pStatus = layout.Add(new wxStaticText(pDialog, 1005, wxString(), wxDefaultPosition, wxDefaultSize,
                                            wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE),
                           13, 7, 158, 8);
    layout.Apply(186, 79);
    pGauge->FillCell();
    ApplyPos();

    // Cancel, Escape and the close box only report Cancel: the window stays
    // until the run destroys it. Enter reports OK.
    pDialog->Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (m_pEvents)
                m_pEvents->OnCancel();
        },
        wxID_CANCEL);
    pDialog->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (event.CanVeto()) {
            event.Veto();
            if (m_pEvents)
                m_pEvents->OnCancel();
            return;
        }
        ForgetControls();
        event.Skip();
    });
    pDialog->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        const int nKey = event.GetKeyCode();
        if (nKey == WXK_ESCAPE) {
            if (m_pEvents)
                m_pEvents->OnCancel();
        } else if (nKey == WXK_RETURN || nKey == WXK_NUMPAD_ENTER) {
            if (m_pEvents)
                m_pEvents->OnOK();
        } else {
            event.Skip();
        }
    });

    pDialog->CentreOnScreen();
    pDialog->Show();
    m_nLastYield = NowMilliseconds();
    wxTheApp->Yield(true);
    return true;
}

void CWxProgressView::ForgetControls()
{
    m_pDialog = nullptr;
    m_pCancel = nullptr;
    m_pGauge = nullptr;
    m_pPercent = nullptr;
    m_pStatus = nullptr;
    m_pEvents = nullptr;
}

void CWxProgressView::Destroy()
{
    wxDialog* pDialog = m_pDialog;
    ForgetControls();
    if (!pDialog)
        return;
    pDialog->Hide();
    // Not inside one of its own handlers (they only report to the events):
    // deleted at once, so that no later event can reach this view.
    delete pDialog;
}

void CWxProgressView::SetTitle(const std::string& strTitle)
{
    if (m_pDialog)
        m_pDialog->SetTitle(TextToWx(strTitle, true));
}

void CWxProgressView::SetStatus(std::string_view strText)
{
    if (!m_pStatus)
        return;
    m_strStatus.assign(strText);
    m_bStatusPending = true;
    const long long nNow = NowMilliseconds();
    if (nNow - m_nLastStatusDraw >= kStatusMilliseconds)
        DrawStatus(nNow);
}

void CWxProgressView::DrawStatus(long long nNow)
{
    m_nLastStatusDraw = nNow;
    m_bStatusPending = false;
    ++m_nStatusDraws;
    // Label text: an "&" in a file name is no mnemonic.
    m_pStatus->SetLabelText(TextToWx(m_strStatus, true));
}

void CWxProgressView::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
    ApplyPos();
}

void CWxProgressView::SetPos(int nPos)
{
    m_nPos = nPos;
    ApplyPos();
}

void CWxProgressView::ApplyPos()
{
    if (!m_pGauge)
        return;
    // The bar runs from 0 to the span; a position outside the bounds shows
    // as the nearer end, an empty or reversed range as an empty bar.
    const long long nSpan = std::max(1LL, static_cast<long long>(m_nUpper) - m_nLower);
    const long long nValue = std::clamp(static_cast<long long>(m_nPos) - m_nLower, 0LL, nSpan);
    const int nRange = static_cast<int>(std::min<long long>(nSpan, INT32_MAX));
    const int nShown = static_cast<int>(std::min<long long>(nValue, nRange));
    if (m_pGauge->GetRange() != nRange)
        m_pGauge->SetRange(nRange);
    if (m_pGauge->GetValue() != nShown)
        m_pGauge->SetValue(nShown);
}

void CWxProgressView::SetPercentText(const std::string& strText)
{
    if (!m_pPercent)
        return;
    const wxString strNew = TextToWx(strText, true);
    if (m_pPercent->GetLabelText() != strNew)
        m_pPercent->SetLabelText(strNew);
}

void CWxProgressView::PumpMessages()
{
    if (!m_pDialog)
        return;
    const long long nNow = NowMilliseconds();
    if (nNow - m_nLastYield < kYieldMilliseconds)
        return;
    m_nLastYield = nNow;
    // The last file looked at shows even when no other one follows soon.
    if (m_bStatusPending && nNow - m_nLastStatusDraw >= kStatusMilliseconds)
        DrawStatus(nNow);
    wxTheApp->Yield(true);
}

// ---------------------------------------------------------------------------
// The confirm window

int CWxConfirmView::DoModal(const std::string& strTitle, const std::string& strText, const std::string& strField,
                            CConfirmEvents& events)
{
    if (!wxTheApp || m_pDialog)
        return DlgResult::Cancel;
    wxDialog dialog(m_frontEnd.GetModalParent(), wxID_ANY, TextToWx(strTitle, true), wxDefaultPosition, wxDefaultSize,
                    wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
    wxDialog* pDialog = &dialog;
    pDialog->SetIcons(ProgramIcons());
    CDialogTemplate layout(pDialog);
    // Created in the template's order, which is the tab order: OK first.
    auto* pOK = layout.Add(new wxButton(pDialog, wxID_OK, "OK"), 77, 44, 50, 14, "OK");
    pOK->SetDefault();
    const wxString strCancel = TextToWx("ｷｬﾝｾﾙ", true);
    layout.Add(new wxButton(pDialog, wxID_CANCEL, strCancel), 129, 44, 50, 14, strCancel);
    const wxString strPrompt = TextToWx(strText, true);
    layout.Add(new wxStaticText(pDialog, wxID_ANY, strPrompt, wxDefaultPosition, wxDefaultSize,
                                wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_END),
               7, 7, 158, 11, strPrompt);
    const wxString strFileButton = TextToWx("ファイル指定...", true);
    m_pFileButton = layout.Add(new wxButton(pDialog, wxID_ANY, strFileButton), 181, 44, 50, 14, strFileButton);
    m_pField = layout.Add(new wxTextCtrl(pDialog, 1001, PathToWx(strField)), 14, 21, 218, 13);
    layout.Apply(239, 65);
    dialog.Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); }, wxID_OK);
    dialog.Bind(
        wxEVT_BUTTON, [&dialog](wxCommandEvent&) { dialog.EndModal(wxID_CANCEL); }, wxID_CANCEL);
    m_pFileButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (m_pEvents)
            m_pEvents->OnFileButton();
    });
    dialog.Bind(wxEVT_CLOSE_WINDOW, [&dialog](wxCloseEvent&) { dialog.EndModal(wxID_CANCEL); });

    m_pEvents = &events;
    m_pDialog = &dialog;
    wxWindow* pPreviousParent = m_frontEnd.SetModalParent(&dialog);
    dialog.CentreOnScreen();
    pOK->SetFocus();
    const int nResult = dialog.ShowModal();
    m_frontEnd.SetModalParent(pPreviousParent);
    m_pDialog = nullptr;
    m_pField = nullptr;
    m_pFileButton = nullptr;
    m_pEvents = nullptr;
    return nResult == wxID_OK ? DlgResult::Ok : DlgResult::Cancel;
}

void CWxConfirmView::OnOK()
{
    // A second press while the first one's message is up is the same press.
    if (!m_pEvents || !m_pField || m_bInOK)
        return;
    m_bInOK = true;
    const bool bAccepted = m_pEvents->OnOK(PathFromWx(m_pField->GetValue()));
    m_bInOK = false;
    if (bAccepted && m_pDialog)
        m_pDialog->EndModal(wxID_OK);
}

void CWxConfirmView::SetFieldText(const std::string& strField)
{
    if (!m_pField)
        return;
    m_pField->ChangeValue(PathToWx(strField));
    m_pField->SetInsertionPointEnd();
    m_pDialog->Raise();
    m_pDialog->SetFocus();
    m_pDialog->Update();
}
