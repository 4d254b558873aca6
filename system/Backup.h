#pragma once
// A copy of a file about to be replaced, so that converting never loses what
// the user had: beside the file when its folder takes new files, otherwise
// in the user's own data folder.

#include "system/FileIo.h"

#include <string>
#include <vector>

/// Keeps the bytes of the regular file at strTarget before it is replaced.
/// The copy is named after the file with ".bak" added ("USER.YLI.bak",
/// then "USER.YLI.2.bak", "USER.YLI.3.bak" ...: an earlier backup is never
/// overwritten), a name version 5 never reads. A backup that already holds
/// the same bytes is kept and named instead of a new copy. The copy goes
/// beside the file, or into UserBackupFolder() when the file's folder takes
/// no new file. Every copy is made whole or not at all (CAtomicOutputFile).
///
/// True with strBackup "" when no regular file is there (nothing to keep),
/// true with the backup's path when the bytes are kept, false when they
/// could not be: then nothing has changed, and eFailure says why.
bool BackUpFile(const std::string& strTarget, std::string& strBackup, EOutputFailure& eFailure);

/// BackUpFile with the folders to try given, in order ("" stands for the
/// file's own folder). Test seam: every system's folders can be tried alike.
bool BackUpFileInto(const std::string& strTarget, const std::vector<std::string>& arFolders, std::string& strBackup,
                    EOutputFailure& eFailure);

/// The line that names a backup, in the user's language.
std::string BackupMadeLine(const std::string& strBackup);

/// The paragraph of the program's help on backups: where they go and how
/// to go back, in the user's language, ending in a line break.
std::string BackupHelpText();

/// The line that says a file was left as it was because no backup could be
/// made, in the user's language.
std::string BackupFailedLine();

// The system's part (system/posix, system/win32).

/// Where backups go that cannot go beside their file: on POSIX
/// $XDG_DATA_HOME/toviconv/backups (~/.local/share/toviconv/backups without
/// it), on Windows %LOCALAPPDATA%\ToviConv\Backups. "" when the system names
/// no such folder.
std::string UserBackupFolder();

/// Creates the folder and whatever parents it lacks; true when it exists
/// afterwards.
bool CreateFolderPath(const std::string& strFolder);

/// True for an existing regular file (a symbolic link counts as what it
/// names). A device or a FIFO is not one: reading it could wait forever.
bool IsRegularFile(const std::string& strPath);

/// True when anything at all is at the path, a dangling link included.
bool PathExists(const std::string& strPath);
