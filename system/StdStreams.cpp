#include "system/StdStreams.h"

int CStreamMessageBox::Show(const std::string& strText, EMsgButtons eButtons)
{
    WriteToStdError(strText + '\n');
    return eButtons == EMsgButtons::Ok ? DlgResult::Ok : DlgResult::No;
}
