// Reading and writing a version-3/4 user-sheet file whose one sheet holds
// many fixed elements: both should grow linearly with the number of elements.

#include "formats/ToviFileformDoc.h"
#include "text/MessageBox.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

/// Swallows message boxes, so that nothing waits for an answer.
class CSilentMessageBox : public CMessageBoxHandler {
public:
    int Show(const std::string&, EMsgButtons eButtons) override
    {
        return eButtons == EMsgButtons::YesNo ? DlgResult::No : DlgResult::Ok;
    }
};

/// A private folder holding the legacy file of n elements and the output.
class CBenchFiles {
public:
    explicit CBenchFiles(std::int64_t nElements)
    {
        char szTemplate[] = "/tmp/toviconv-bench-XXXXXX";
        if (::mkdtemp(szTemplate) == nullptr)
            std::abort();
        m_strFolder = szTemplate;
        m_strLegacy = m_strFolder + "/USER.YLI";
        m_strOutput = m_strFolder + "/OUT.YLI";

        std::string strText =
            "ID = 4.0\r\nGroupName = Bench\r\nCompanyName = Bench\r\nProductName = Bench\r\n"
            "SheetUse = Bench\r\nSheetSurfaces = 1\r\nSheetType = 1,1,0,0\r\nSheetSize = 210,297\r\n";
        for (std::int64_t i = 0; i < nElements; ++i) {
            strText +=
                "Fixed = 1,90.5,55\r\nFixedHorzPos = 10.5,105\r\nFixedVertPos = 11,66,121,176\r\n"
                "FixedDeco = 2,1,1,89.5,54\r\n";
        }
        std::ofstream out(m_strLegacy, std::ios::binary);
        out.write(strText.data(), static_cast<std::streamsize>(strText.size()));
        m_nBytes = static_cast<std::int64_t>(strText.size());
    }

    ~CBenchFiles()
    {
        std::remove(m_strLegacy.c_str());
        std::remove(m_strOutput.c_str());
        ::rmdir(m_strFolder.c_str());
    }

    CBenchFiles(const CBenchFiles&) = delete;
    CBenchFiles& operator=(const CBenchFiles&) = delete;

    const std::string& Legacy() const { return m_strLegacy; }
    const std::string& Output() const { return m_strOutput; }
    std::int64_t Bytes() const { return m_nBytes; }

private:
    std::string m_strFolder;
    std::string m_strLegacy;
    std::string m_strOutput;
    std::int64_t m_nBytes = 0;
};

void BM_ReadVersion34(benchmark::State& state)
{
    CSilentMessageBox box;
    CMessageBoxScope scope(&box);
    CBenchFiles files(state.range(0));
    for (auto _ : state) {
        CToviFileformDoc doc;
        if (doc.ReadLegacyFile(files.Legacy()) != 1 || doc.GetSheetNum() != 1)
            state.SkipWithError("the legacy file was not read");
        benchmark::DoNotOptimize(doc.GetSheetNum());
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * files.Bytes());
}

void BM_WriteVersion5(benchmark::State& state)
{
    CSilentMessageBox box;
    CMessageBoxScope scope(&box);
    CBenchFiles files(state.range(0));
    CToviFileformDoc doc;
    if (doc.ReadLegacyFile(files.Legacy()) != 1)
        state.SkipWithError("the legacy file was not read");
    for (auto _ : state) {
        if (doc.WriteVersion5File(files.Output()) != 1)
            state.SkipWithError("the version-5 file was not written");
    }
    state.SetComplexityN(state.range(0));
}

void BM_ConvertVersion34(benchmark::State& state)
{
    CSilentMessageBox box;
    CMessageBoxScope scope(&box);
    CBenchFiles files(state.range(0));
    for (auto _ : state) {
        CToviFileformDoc doc;
        if (doc.ReadLegacyFile(files.Legacy()) != 1 || doc.WriteVersion5File(files.Output()) != 1)
            state.SkipWithError("the conversion failed");
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_ReadVersion34)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_WriteVersion5)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_ConvertVersion34)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
