#include "platform/MessageBox.h"

#include <cerrno>
#include <unistd.h>

namespace {

CStreamMessageBox g_stderrBox(STDERR_FILENO);
CMessageBoxHandler* g_pHandler = &g_stderrBox;

void WriteAll(int nFd, const char* pData, size_t nSize)
{
    while (nSize > 0) {
        ssize_t nDone = ::write(nFd, pData, nSize);
        if (nDone < 0) {
            if (errno == EINTR)
                continue;
            return;  // nowhere left to tell it
        }
        pData += nDone;
        nSize -= static_cast<size_t>(nDone);
    }
}

}  // namespace

CMessageBoxHandler* SetMessageBoxHandler(CMessageBoxHandler* pHandler)
{
    CMessageBoxHandler* pPrevious = g_pHandler == &g_stderrBox ? nullptr : g_pHandler;
    g_pHandler = pHandler ? pHandler : &g_stderrBox;
    return pPrevious;
}

int ShowMessageBox(const std::string& strText, EMsgButtons eButtons)
{
    return g_pHandler->Show(strText, eButtons);
}

int CStreamMessageBox::Show(const std::string& strText, EMsgButtons eButtons)
{
    std::string strLine = strText;
    strLine += '\n';
    WriteAll(m_nFd, strLine.data(), strLine.size());
    return eButtons == EMsgButtons::Ok ? IDOK : IDNO;
}
