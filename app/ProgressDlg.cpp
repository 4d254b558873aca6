#include "app/ProgressDlg.h"

#include "text/Numbers.h"

#include <algorithm>
#include <cstdint>

std::string LoadResourceString(int nID)
{
    switch (nID) {
    case 104:
        return "検索中";
    default:
        return std::string();
    }
}

CProgressDlg::CProgressDlg(std::unique_ptr<CProgressView> pView, int nCaptionID)
    : m_nCaptionID(nCaptionID != 0 ? nCaptionID : 104), m_pView(std::move(pView))
{
}

CProgressDlg::~CProgressDlg()
{
    DestroyWindow();
}

bool CProgressDlg::Create()
{
    if (m_bCreated)
        return true;
    if (!m_pView || !m_pView->Create(*this))
        return false;
    m_bCreated = true;
    m_pView->SetRange(m_nLower, m_nUpper);
    m_nPos = m_nLower;
    m_pView->SetPos(m_nPos);
    m_pView->SetPercentText(m_strPercent);
    m_pView->SetTitle(LoadResourceString(m_nCaptionID));
    return true;
}

void CProgressDlg::DestroyWindow()
{
    if (!m_bCreated)
        return;
    m_bCreated = false;
    m_pView->Destroy();
}

void CProgressDlg::SetTitle(const std::string& strTitle)
{
    if (m_bCreated)
        m_pView->SetTitle(strTitle);
}

void CProgressDlg::SetStatus(std::string_view strText)
{
    if (m_bCreated)
        m_pView->SetStatus(strText);
}

void CProgressDlg::SetRange(int nLower, int nUpper)
{
    m_nLower = nLower;
    m_nUpper = nUpper;
    if (m_bCreated)
        m_pView->SetRange(nLower, nUpper);
}

void CProgressDlg::SetStep(int nStep)
{
    m_nStep = nStep;
}

int CProgressDlg::StepIt()
{
    PumpMessages();
    const int nPrevious = m_nPos;
    // 64-bit sums: no bound or step makes these overflow.
    const std::int64_t nNext = static_cast<std::int64_t>(nPrevious) + m_nStep;
    m_nPos = nNext > m_nUpper ? m_nLower : static_cast<int>(nNext);
    if (m_bCreated)
        m_pView->SetPos(m_nPos);
    UpdatePercent(static_cast<int>(std::min<std::int64_t>(nNext, INT32_MAX)));
    return nPrevious;
}

int CProgressDlg::CheckCancelButton()
{
    PumpMessages();
    return m_bCancel;
}

void CProgressDlg::PumpMessages()
{
    if (m_bCreated)
        m_pView->PumpMessages();
}

void CProgressDlg::UpdatePercent(int nPos)
{
    const std::int64_t nSpan = static_cast<std::int64_t>(m_nUpper) - m_nLower;
    // An empty range has no share to show.
    std::int64_t nPercent = nSpan == 0 ? 0 : (static_cast<std::int64_t>(nPos) - m_nLower) * 100 / nSpan;
    if (nPercent != 100)
        nPercent %= 100;
    std::string strText = FormatInt(static_cast<int>(nPercent));
    strText += '%';
    if (strText == m_strPercent)
        return;
    m_strPercent = std::move(strText);
    if (m_bCreated)
        m_pView->SetPercentText(m_strPercent);
}
