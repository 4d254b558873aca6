#include "app/BatchConvert.h"

#include "formats/ToviFileformDoc.h"
#include "system/Backup.h"
#include "system/StdStreams.h"
#include "text/MessageBox.h"

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
    if (doc.ReplaceVersion5File(strOutput) == 0)
        return 1;
    // Silent on success, as scripts expect: the exit status says it. Only a
    // replaced file is named, so that the user knows where the old one went.
    if (!doc.GetBackupPath().empty())
        WriteToStdError(BackupMadeLine(doc.GetBackupPath()) + "\n");
    return 0;
}
