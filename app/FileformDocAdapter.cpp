#include "app/FileformDocAdapter.h"

#include "formats/ToviFileformDoc.h"

namespace {

class CFileformDocAdapter : public CConversionDoc {
public:
    int ReadLegacyFile(std::string strPath) override { return m_doc.ReadLegacyFile(strPath); }
    // The run replaces the user's file only with a backup of it kept.
    int WriteVersion5File(std::string strPath) override { return m_doc.ReplaceVersion5File(strPath); }
    int GetSheetNum() const override { return m_doc.GetSheetNum(); }
    std::string GetBackupPath() const override { return m_doc.GetBackupPath(); }

private:
    CToviFileformDoc m_doc;
};

}  // namespace

std::unique_ptr<CConversionDoc> MakeFileformDoc()
{
    return std::make_unique<CFileformDocAdapter>();
}
