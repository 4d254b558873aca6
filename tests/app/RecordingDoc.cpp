#include "tests/app/RecordingDoc.h"

namespace {
class CRecordingDoc : public CConversionDoc {
public:
    explicit CRecordingDoc(SDocLog& log) : m_log(log) {}
    int ReadLegacyFile(std::string strPath) override
    {
        m_log.arRead.push_back(strPath);
        return m_log.nReadResult;
    }
    int WriteVersion5File(std::string strPath) override
    {
        m_log.arWritten.push_back(strPath);
        return m_log.nWriteResult;
    }
    int GetSheetNum() const override { return m_log.nSheets; }

private:
    SDocLog& m_log;
};

}  // namespace

DocFactory MakeRecordingDoc(SDocLog& log)
{
    return [&log] { return std::unique_ptr<CConversionDoc>(std::make_unique<CRecordingDoc>(log)); };
}
