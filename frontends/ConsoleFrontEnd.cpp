#include "frontends/ConsoleFrontEnd.h"

#include "text/CodePage.h"
#include "text/Path.h"
#include "text/TerminalText.h"

#include <algorithm>

namespace {

bool IsWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFD);
}

class CConsoleProgressView : public CProgressView {
public:
    explicit CConsoleProgressView(CConsoleFrontEnd& console)
        : m_console(console), m_bTerminal(console.Io().IsErrTerminal())
    {
    }
    ~CConsoleProgressView() override { Destroy(); }
    CConsoleProgressView(const CConsoleProgressView&) = delete;
    CConsoleProgressView& operator=(const CConsoleProgressView&) = delete;

    bool Create(CProgressEvents& events) override
    {
        m_pEvents = &events;
        m_console.BeginSearchInterrupts();
        // The first line is drawn once the run has given the window its title.
        m_nLastDraw = m_console.Io().NowMilliseconds();
        m_bPending = true;
        return true;
    }

    void Destroy() override
    {
        if (!m_pEvents)
            return;
        m_console.EndSearchInterrupts();
        if (m_bTerminal)
            m_console.DrawProgressLine(std::string_view());
        m_pEvents = nullptr;
    }

    void SetTitle(const std::string& strTitle) override
    {
        m_strTitle = strTitle;
        m_bPending = true;
    }
    void SetStatus(std::string_view strText) override
    {
        // Stored only when drawn: the status changes for every file.
        if (!m_bTerminal || !m_pEvents || !Due())
            return;
        m_strStatus.assign(strText);
        Draw();
    }
    void SetRange(int, int) override {}
    void SetPos(int) override {}
    void SetPercentText(const std::string& strText) override
    {
        m_strPercent = strText;
        m_bPending = true;
    }
    void PumpMessages() override
    {
        if (m_console.TakeInterrupt() && m_pEvents)
            m_pEvents->OnCancel();
        // A new title or percent shows at once only where no file comes
        // along to be drawn with it (SetStatus); the file must win, or the
        // status would stand still while the percent runs.
        if (m_bPending && m_bTerminal && m_pEvents &&
            m_console.Io().NowMilliseconds() - m_nLastDraw >= 2 * kRedrawMilliseconds)
            Draw();
    }

private:
    static constexpr long long kRedrawMilliseconds = 50;

    bool Due() const { return m_console.Io().NowMilliseconds() - m_nLastDraw >= kRedrawMilliseconds; }

    void Draw()
    {
        m_nLastDraw = m_console.Io().NowMilliseconds();
        m_bPending = false;
        const int nWidth = m_console.Io().GetErrColumns();
        const int nColumns = nWidth > 0 ? nWidth : 80;
        std::string strLine = m_strTitle + "  " + m_strPercent + "  " + m_strStatus;
        // Three columns stay free so that neither the cursor nor the
        // terminal's echo of Ctrl-C ("^C") wraps to a new line, which the
        // next redraw could not take back.
        m_console.DrawProgressLine(FitToColumns(strLine, nColumns - 3));
    }

    CConsoleFrontEnd& m_console;
    bool m_bTerminal;
    CProgressEvents* m_pEvents = nullptr;
    bool m_bPending = false;  ///< title or percent changed since the last draw
    long long m_nLastDraw = 0;
    std::string m_strTitle;
    std::string m_strPercent;
    std::string m_strStatus;
};

class CConsoleConfirmView : public CConfirmView {
public:
    explicit CConsoleConfirmView(CConsoleFrontEnd& console) : m_console(console) {}

    int DoModal(const std::string& strTitle, const std::string& strText, const std::string& strField,
                CConfirmEvents& events) override
    {
        m_strField = strField;
        for (;;) {
            // One prompt per line typed: the temporaries do not matter.
            // NOLINTNEXTLINE(performance-inefficient-string-concatenation)
            m_console.Write(strTitle + "\n" + strText + "\n" + m_console.ShownName(m_strField) + "\n> ");
            std::string strLine;
            const CConsoleFrontEnd::ELine eRead = m_console.ReadLine(strLine);
            if (eRead == CConsoleFrontEnd::ELine::End)
                return DlgResult::Cancel;
            if (eRead == CConsoleFrontEnd::ELine::TooLong)
                continue;
            if (!strLine.empty())
                m_strField = strLine;
            if (events.OnOK(m_strField))
                return DlgResult::Ok;
        }
    }
    void SetFieldText(const std::string& strField) override { m_strField = strField; }

private:
    CConsoleFrontEnd& m_console;
    std::string m_strField;
};

}  // namespace

std::string FitToColumns(std::string_view strText, int nColumns)
{
    std::string strOut;
    int nUsed = 0;
    while (!strText.empty()) {
        char32_t c = 0;
        size_t nLength = DecodeUtf8(strText, c);
        int nWidth = 1;
        std::string_view strChar = strText.substr(0, nLength);
        if (nLength == 0 || IsControlCode(c)) {
            nLength = nLength == 0 ? 1 : nLength;
            strChar = "?";
        } else if (IsWide(c)) {
            nWidth = 2;
        }
        if (nUsed + nWidth > nColumns)
            break;
        strOut.append(strChar);
        nUsed += nWidth;
        strText.remove_prefix(nLength);
    }
    return strOut;
}

CConsoleFrontEnd::CConsoleFrontEnd(CFileSystem& fileSystem, std::unique_ptr<CConsoleIo> pIo)
    : m_fileSystem(fileSystem), m_pIo(std::move(pIo)), m_bOutTerminal(m_pIo->IsOutTerminal())
{
}

CConsoleFrontEnd::~CConsoleFrontEnd()
{
    EndSearchInterrupts();
}

void CConsoleFrontEnd::BeginSearchInterrupts()
{
    m_pIo->BeginInterrupts();
    m_bInterruptsCaught = true;
}

void CConsoleFrontEnd::EndSearchInterrupts()
{
    if (m_bInterruptsCaught)
        m_pIo->EndInterrupts();
    m_bInterruptsCaught = false;
}

bool CConsoleFrontEnd::TakeInterrupt()
{
    return m_pIo->TakeInterrupt();
}

void CConsoleFrontEnd::Write(std::string_view strText)
{
    if (m_bProgressShown)
        DrawProgressLine(std::string_view());
    std::string strSafe;
    if (m_bOutTerminal) {
        strSafe = MakeTerminalSafe(strText);
        strText = strSafe;
    }
    m_pIo->WriteOut(strText);
}

std::string CConsoleFrontEnd::ShownName(std::string_view strName) const
{
    std::string strShown(strName);
    if (m_bOutTerminal)
        std::replace(strShown.begin(), strShown.end(), '\n', '?');
    return strShown;
}

void CConsoleFrontEnd::DrawProgressLine(std::string_view strLine)
{
    std::string strOut = "\r";
    strOut.append(strLine);
    strOut += "\x1b[K";
    if (strLine.empty())
        strOut = "\r\x1b[K";
    m_pIo->WriteErr(strOut);
    m_bProgressShown = !strLine.empty();
}

CConsoleFrontEnd::ELine CConsoleFrontEnd::ReadLine(std::string& strLine)
{
    // Waiting for an answer is no part of the search: Ctrl-C ends the
    // program as usual meanwhile, and none is left over for the walk.
    const bool bCaught = m_bInterruptsCaught;
    if (bCaught)
        EndSearchInterrupts();
    const ELine eRead = ReadLineRaw(strLine);
    if (bCaught)
        BeginSearchInterrupts();
    return eRead;
}

CConsoleFrontEnd::ELine CConsoleFrontEnd::ReadLineRaw(std::string& strLine)
{
    bool bTooLong = false;
    for (;;) {
        // Only bytes not searched before are searched for the line end.
        const size_t nEnd = m_strPending.find('\n', m_nPendingScanned);
        const size_t nSearched = nEnd == std::string::npos ? m_strPending.size() : nEnd + 1;
        m_nScannedInputNum += nSearched - m_nPendingScanned;
        m_nPendingScanned = nSearched;
        if (nEnd != std::string::npos) {
            bTooLong = bTooLong || nEnd > kMaxAnswerBytes;
            if (!bTooLong)
                strLine.assign(m_strPending, 0, nEnd);
            m_strPending.erase(0, nEnd + 1);
            m_nPendingScanned = 0;
            break;
        }
        if (m_strPending.size() > kMaxAnswerBytes || (bTooLong && m_bEndOfInput)) {
            // No answer is this long: what came of the line is dropped, and
            // so is the rest of it as it comes, up to its end.
            bTooLong = true;
            m_strPending.clear();
            m_nPendingScanned = 0;
        }
        if (m_bEndOfInput) {
            if (bTooLong)
                break;
            if (m_strPending.empty())
                return ELine::End;
            strLine = std::move(m_strPending);
            m_strPending.clear();
            m_nPendingScanned = 0;
            break;
        }
        char buffer[16 * 1024];
        const std::size_t nRead = m_pIo->Read(buffer, sizeof buffer);
        if (nRead == 0)
            m_bEndOfInput = true;
        else
            m_strPending.append(buffer, nRead);
        m_nPendingPeakNum = std::max(m_nPendingPeakNum, m_strPending.size());
    }
    if (bTooLong) {
        strLine.clear();
        return ELine::TooLong;
    }
    if (!strLine.empty() && strLine.back() == '\r')
        strLine.pop_back();
    return ELine::Line;
}

int CConsoleFrontEnd::Show(const std::string& strText, EMsgButtons eButtons)
{
    Write(strText + "\n");
    if (eButtons == EMsgButtons::Ok)
        return DlgResult::Ok;
    for (;;) {
        Write("[y/n] ");
        std::string strLine;
        const ELine eRead = ReadLine(strLine);
        if (eRead == ELine::End)
            return DlgResult::No;
        // Exactly "y", "yes", "n" or "no" in any case; anything else asks again.
        const std::string strAnswer = MakeUpperAscii(strLine);
        if (strAnswer == "Y" || strAnswer == "YES")
            return DlgResult::Yes;
        if (strAnswer == "N" || strAnswer == "NO")
            return DlgResult::No;
    }
}

void CConsoleFrontEnd::ShowNote(const std::string& strText)
{
    Write(strText + "\n");
}

std::unique_ptr<CProgressView> CConsoleFrontEnd::CreateProgressView()
{
    return std::make_unique<CConsoleProgressView>(*this);
}

std::unique_ptr<CConfirmView> CConsoleFrontEnd::CreateConfirmView()
{
    return std::make_unique<CConsoleConfirmView>(*this);
}

bool CConsoleFrontEnd::ShowFileDialog(const SFileDialogSpec& fileDialog, std::string& strPath)
{
    std::string strHeader = fileDialog.strTitle.empty() ? PlainFileDialogTitle(fileDialog.bOpen) : fileDialog.strTitle;
    strHeader += '\n';
    // "description|pattern|description|pattern||": every description on a line.
    std::string_view strFilter = fileDialog.strFilter;
    for (bool bDescription = true; !strFilter.empty(); bDescription = !bDescription) {
        const size_t nBar = std::min(strFilter.find('|'), strFilter.size());
        if (bDescription && nBar > 0) {
            strHeader.append(strFilter.substr(0, nBar));
            strHeader += '\n';
        }
        strFilter.remove_prefix(std::min(nBar + 1, strFilter.size()));
    }
    Write(strHeader);
    for (;;) {
        Write("> ");
        std::string strLine;
        const ELine eRead = ReadLine(strLine);
        if (eRead == ELine::TooLong)
            continue;
        if (eRead == ELine::End || strLine.empty())
            return false;
        // A full path, as the system's dialog gives it; a path pasted with
        // its quotes means the path inside them.
        strLine = std::string(WithoutPastedQuotes(strLine));
        const EPathStyle eStyle = m_fileSystem.GetPathStyle();
        const std::string strCurrent = m_fileSystem.GetCurrentDir();
        std::string strChosen = strCurrent.empty() && PathRootLength(strLine, eStyle) == 0
                                    ? strLine
                                    : MakeAbsolutePath(strCurrent, strLine, eStyle);
        if (fileDialog.bOpen) {
            if ((fileDialog.nFlags & kFileMustExist) && !m_fileSystem.FileExists(strChosen)) {
                Write(strLine + "\nファイルが見つかりません。\n");
                continue;
            }
        } else if (!fileDialog.strDefaultName.empty() && m_fileSystem.IsFolder(strChosen)) {
            strChosen = JoinPath(strChosen, fileDialog.strDefaultName, eStyle);
        }
        strPath = std::move(strChosen);
        return true;
    }
}
