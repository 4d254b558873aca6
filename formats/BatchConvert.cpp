#include "formats/BatchConvert.h"

#include "formats/ToviFileformDoc.h"
#include "platform/MessageBox.h"

int RunBatchConvert(const std::string& strLegacy, const std::string& strOutput)
{
    CStreamMessageBox box;
    CMessageBoxScope scope(&box);

    CToviFileformDoc doc;
    if (doc.ReadLegacyFile(strLegacy) == 0)
        return 1;
    if (doc.GetSheetNum() == 0) {
        ShowMessageBox("ユーザシートの情報がありません。終了します");
        return 1;
    }
    if (doc.WriteVersion5File(strOutput) == 0)
        return 1;
    // Silent on success, as scripts expect: the exit status says it.
    return 0;
}
