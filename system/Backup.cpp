// The portable part of the backups: names, the comparison with earlier
// backups, the order of the folders tried.

#include "system/Backup.h"

#include "system/FileIo.h"
#include "system/Process.h"
#include "text/Path.h"

namespace {

/// More backups of one file than anyone keeps: beyond this the folder counts
/// as one that takes no new backup.
constexpr int kMaxBackupNum = 9999;

std::string BackupName(std::string_view strName, int nNumber)
{
    std::string strBackup(strName);
    if (nNumber > 1)
        strBackup += "." + std::to_string(nNumber);
    return strBackup + ".bak";
}

/// Keeps the bytes in the folder under the first backup name that is free,
/// or names an earlier backup of the same bytes met on the way.
bool KeepIn(const std::string& strFolder, std::string_view strName, const std::string& strBytes, std::string& strBackup,
            EOutputFailure& eFailure)
{
    std::string strEarlier;
    for (int nNumber = 1; nNumber <= kMaxBackupNum; ++nNumber) {
        // A file named without a folder gets a backup named without one.
        const std::string strPath =
            strFolder.empty() ? BackupName(strName, nNumber) : JoinPath(strFolder, BackupName(strName, nNumber));
        if (PathExists(strPath)) {
            if (IsRegularFile(strPath) && ReadFileBytes(strPath, strEarlier) && strEarlier == strBytes) {
                strBackup = strPath;
                return true;
            }
            continue;
        }
        CAtomicOutputFile file;
        if (file.Create(strPath) && file.Write(strBytes) && file.Commit()) {
            strBackup = strPath;
            return true;
        }
        eFailure = file.GetFailure() == EOutputFailure::None ? EOutputFailure::Other : file.GetFailure();
        return false;
    }
    eFailure = EOutputFailure::Other;
    return false;
}

}  // namespace

bool BackUpFile(const std::string& strTarget, std::string& strBackup, EOutputFailure& eFailure)
{
    return BackUpFileInto(strTarget, {"", UserBackupFolder()}, strBackup, eFailure);
}

bool BackUpFileInto(const std::string& strTarget, const std::vector<std::string>& arFolders, std::string& strBackup,
                    EOutputFailure& eFailure)
{
    strBackup.clear();
    eFailure = EOutputFailure::None;
    if (!IsRegularFile(strTarget))
        return true;  // nothing there that replacing could lose
    std::string strBytes;
    if (!ReadFileBytes(strTarget, strBytes)) {
        // What cannot be read cannot be kept, so it is not replaced either.
        eFailure = EOutputFailure::Other;
        return false;
    }
    const std::string_view strFileFolder = FolderOfPath(strTarget);
    const std::string_view strName = std::string_view(strTarget).substr(strFileFolder.size());
    for (const std::string& strFolder : arFolders) {
        const bool bOwnFolder = strFolder.empty();
        if (!bOwnFolder && !CreateFolderPath(strFolder))
            continue;
        EOutputFailure eHere = EOutputFailure::None;
        if (KeepIn(bOwnFolder ? std::string(strFileFolder.empty() ? "." : strFileFolder) : strFolder, strName, strBytes,
                   strBackup, eHere))
            return true;
        // The first folder's reason is the one that tells the user most: it
        // is where the file itself lives.
        if (eFailure == EOutputFailure::None)
            eFailure = eHere;
    }
    if (eFailure == EOutputFailure::None)
        eFailure = EOutputFailure::Other;
    return false;
}

std::string BackupMadeLine(const std::string& strBackup)
{
    return ByUserLanguage("上書き前のファイルは ", "The file as it was before is kept as ") + strBackup +
           ByUserLanguage(" に保存しました。", ".");
}

std::string BackupFailedLine()
{
    return ByUserLanguage("上書き前のファイルのバックアップを作れないため、ファイルは変更していません。",
                          "The file was left as it was: no backup of it could be made.");
}

std::string BackupHelpText()
{
    const std::string strFolder = NativePathStyle() == EPathStyle::Windows ? "%LOCALAPPDATA%\\ToviConv\\Backups"
                                                                           : "~/.local/share/toviconv/backups";
    return ByUserLanguage(
               "既存の USER.YLI を置き換える前に、その内容を同じフォルダに USER.YLI.bak\n"
               "（次からは USER.YLI.2.bak、USER.YLI.3.bak ...。上書きはしません）として保存します。\n"
               "フォルダに新しいファイルを作れないときは ",
               "Before an existing USER.YLI is replaced, its bytes are kept beside it as\n"
               "USER.YLI.bak (then USER.YLI.2.bak, USER.YLI.3.bak ...: never overwritten), or in\n") +
           strFolder +
           ByUserLanguage(
               " に保存します。\n保存先は変換後に表示します。元に戻すには、バックアップを USER.YLI "
               "に上書きコピーしてください。\n",
               " when its folder takes no new file; the run names\nthe backup. To go back, copy the "
               "backup over USER.YLI.\n");
}
