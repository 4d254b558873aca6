#include "app/FileformDocAdapter.h"

#include "formats/ToviFileformDoc.h"

namespace {

class CFileformDocAdapter : public CConversionDoc {
public:
    int ReadLegacyFile(std::string strPath) override { return m_doc.ReadLegacyFile(strPath); }
    int WriteVersion5File(std::string strPath) override { return m_doc.WriteVersion5File(strPath); }
    int GetSheetNum() const override { return m_doc.GetSheetNum(); }

private:
    CToviFileformDoc m_doc;
};

}  // namespace

std::unique_ptr<CConversionDoc> MakeFileformDoc()
{
    return std::make_unique<CFileformDocAdapter>();
}
