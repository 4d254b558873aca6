#pragma once
// The confirm dialog: shows the legacy user-sheet file about to be converted,
// lets the user type or choose another, and refuses OK until the file exists
// and ends in FDF or YLI. A CConfirmView renders it.

#include "frontends/UserDialogs.h"
#include "system/FileSystem.h"

#include <string>

class CConfirmDlg : public CConfirmEvents {
public:
    /// bSpecify 1 is the manual mode with its own title.
    CConfirmDlg(CFileSystem& fileSystem, CUserDialogs& dialogs, std::string strPath, int bSpecify);

    /// Shows the dialog modally; DlgResult::Ok (m_strPath holds the accepted file) or DlgResult::Cancel.
    int DoModal();
    std::string GetTitle() const;

    bool OnOK(const std::string& strField) override;
    void OnFileButton() override;

    std::string m_strPath;
    int m_bSpecify;

private:
    CFileSystem& m_fileSystem;
    CUserDialogs& m_dialogs;
    CConfirmView* m_pView = nullptr;
};

/// True when the last three characters of the path, upper-cased, are FDF or YLI.
bool HasUserSheetExtension(const std::string& strPath);
/// The last three characters of a path (all of it when shorter), upper-cased.
std::string UpperExtension(const std::string& strPath);

/// Filter of the legacy user-sheet files in the open-file dialogs.
inline constexpr const char* kLegacyFilter = "Tovi2～4形式(USER.FDF; USER.YLI)|USER.FDF; USER.YLI||";
