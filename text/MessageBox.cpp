#include "text/MessageBox.h"

#include <cstdio>

namespace {

/// The handler while none is installed.
class CDefaultMessageBox : public CMessageBoxHandler {
public:
    int Show(const std::string& strText, EMsgButtons eButtons) override
    {
        // Nowhere is left to report a failure to.
        (void)std::fwrite(strText.data(), 1, strText.size(), stderr);
        (void)std::fputc('\n', stderr);
        return eButtons == EMsgButtons::Ok ? DlgResult::Ok : DlgResult::No;
    }
};

CDefaultMessageBox g_stderrBox;
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
