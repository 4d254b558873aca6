#include "platform/MessageBox.h"

#include "platform/StdStreams.h"

namespace {

CStreamMessageBox g_stderrBox;
CMessageBoxHandler* g_pHandler = &g_stderrBox;

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
    WriteToStdError(strText + '\n');
    return eButtons == EMsgButtons::Ok ? DlgResult::Ok : DlgResult::No;
}
