#include "app/ConfirmDlg.h"

#include "text/CodePage.h"
#include "text/Path.h"

std::string UpperExtension(const std::string& strPath)
{
    const size_t nStart = strPath.size() > 3 ? strPath.size() - 3 : 0;
    return MakeUpperAscii(std::string_view(strPath).substr(nStart));
}

bool HasUserSheetExtension(const std::string& strPath)
{
    const std::string strExt = UpperExtension(strPath);
    return strExt == "FDF" || strExt == "YLI";
}

CConfirmDlg::CConfirmDlg(CFileSystem& fileSystem, CUserDialogs& dialogs, std::string strPath, int bSpecify)
    : m_strPath(std::move(strPath)), m_bSpecify(bSpecify), m_fileSystem(fileSystem), m_dialogs(dialogs)
{
}

std::string CConfirmDlg::GetTitle() const
{
    return m_bSpecify == 1 ? "ﾕｰｻﾞｼｰﾄﾌｧｲﾙ指定" : "確認";
}

int CConfirmDlg::DoModal()
{
    std::unique_ptr<CConfirmView> pView = m_dialogs.CreateConfirmView();
    if (!pView)
        return DlgResult::Cancel;
    m_pView = pView.get();
    const int nResult = pView->DoModal(GetTitle(), "以下のファイルをTovi５用に変換します", m_strPath, *this);
    m_pView = nullptr;
    return nResult == DlgResult::Ok ? DlgResult::Ok : DlgResult::Cancel;
}

bool CConfirmDlg::OnOK(const std::string& strField)
{
    m_strPath = strField;
    // A path pasted with its quotes ("copy as path") means the path inside
    // them; a name that really has them is taken as it is.
    if (const std::string_view strUnquoted = WithoutPastedQuotes(strField);
        strUnquoted.size() != strField.size() && !m_fileSystem.FileExists(m_strPath) &&
        m_fileSystem.FileExists(std::string(strUnquoted)))
        m_strPath = strUnquoted;
    if (!m_fileSystem.FileExists(m_strPath)) {
        m_dialogs.Show("指定したﾌｧｲﾙが存在しません。", EMsgButtons::Ok);
        return false;
    }
    if (!HasUserSheetExtension(m_strPath)) {
        m_dialogs.Show("指定したﾌｧｲﾙはﾕｰｻﾞｼｰﾄ情報ﾌｧｲﾙでありません。", EMsgButtons::Ok);
        return false;
    }
    return true;
}

void CConfirmDlg::OnFileButton()
{
    SFileDialogSpec fileDialog;
    fileDialog.bOpen = true;
    fileDialog.nFlags = kFileMustExist | kFileHideReadOnly;
    fileDialog.strFilter = kLegacyFilter;
    fileDialog.strTitle = "Tovi２～４のユーザシート情報ファイルを指定してください";
    fileDialog.strInitialFolder = m_strPath;
    std::string strChosen;
    if (!m_dialogs.ShowFileDialog(fileDialog, strChosen))
        return;
    m_strPath = strChosen;
    if (m_pView)
        m_pView->SetFieldText(m_strPath);
}
