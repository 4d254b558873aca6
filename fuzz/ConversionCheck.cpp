#include "fuzz/ConversionCheck.h"

#include "formats/ToviFileformDoc.h"
#include "formats/Version5Writer.h"
#include "model/MethodFailure.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

constexpr std::string_view kTrailerLine = "END\r\n";

/// The keys a version-5 line may start with.
constexpr std::string_view kVersion5Keys[] = {
    "GroupName", "CompanyName",  "ProductName",  "SheetUse",  "SheetSurfaces", "SheetType", "SheetSize", "SheetDeco",
    "Fixed",     "FixedHorzPos", "FixedVertPos", "FixedDeco", "CDCaliber",     "Free",      "FreePos",   "FreeDeco",
};

/// The names the converted bytes are stored under: the path picks the version.
constexpr const char* kInputNames[] = {"USER.FDF", "USER.YLI"};
constexpr const char* kOutputName = "OUTPUT.YLI";
constexpr const char* kAgainName = "AGAIN.YLI";

bool IsVersion5Line(std::string_view line)
{
    if (line.empty())
        return true;
    for (const std::string_view key : kVersion5Keys) {
        if (line.starts_with(key) && line.substr(key.size()).starts_with(" = "))
            return true;
    }
    return false;
}

bool WriteFileBytes(const std::string& strPath, std::string_view bytes)
{
    std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

std::string ReadFileBytes(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// A new folder of a random name under the system's temporary folder.
std::string MakePrivateFolder()
{
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device device;
    for (;;) {
        const std::filesystem::path folder = base / ("toviconv-check-" + std::to_string(device()));
        if (std::filesystem::create_directory(folder))
            return folder.string();
    }
}

}  // namespace

std::string CheckVersion5Text(std::string_view text)
{
    std::string strFaults;
    for (std::size_t i = text.find_first_of("\r\n"); i != std::string_view::npos;
         i = text.find_first_of("\r\n", i + 2)) {
        if (text.substr(i, 2) != "\r\n") {
            strFaults += "a line end other than CR LF at byte " + std::to_string(i) + "\n";
            break;
        }
    }
    if (!text.starts_with(kVersion5Header))
        strFaults += "the header is missing\n";
    if (!text.ends_with(std::string("\r\n\r\n").append(kTrailerLine)))
        strFaults += "the text does not end in an empty line and \"END\"\n";
    if (!strFaults.empty())
        return strFaults;

    std::string_view body = text.substr(kVersion5Header.size());
    body.remove_suffix(kTrailerLine.size());
    while (!body.empty()) {
        const std::size_t nEnd = body.find("\r\n");
        const std::string_view line = body.substr(0, nEnd);
        if (!IsVersion5Line(line))
            return "a line without a version-5 key: \"" + std::string(line) + "\"\n";
        body.remove_prefix(nEnd + 2);
    }
    return strFaults;
}

CConversionCheck::CConversionCheck()
    : m_strFolder(MakePrivateFolder()),
      m_strOutput(m_strFolder + "/" + kOutputName),
      m_pPrevious(SetMessageBoxHandler(this))
{
}

CConversionCheck::~CConversionCheck()
{
    SetMessageBoxHandler(m_pPrevious);
    std::error_code ec;
    std::filesystem::remove_all(m_strFolder, ec);
}

int CConversionCheck::Show(const std::string& /*strText*/, EMsgButtons eButtons)
{
    ++m_nShown;
    return eButtons == EMsgButtons::Ok ? DlgResult::Ok : DlgResult::No;
}

std::string CConversionCheck::CheckBytes(std::string_view bytes)
{
    for (const char* pszName : kInputNames) {
        if (!WriteFileBytes(m_strFolder + "/" + pszName, bytes))
            return "cannot write into " + m_strFolder + "\n";
    }
    std::string strFaults;
    for (const char* pszName : kInputNames) {
        const std::string strFault = ConvertFile(m_strFolder + "/" + pszName);
        if (!strFault.empty())
            strFaults += std::string(pszName) + ": " + strFault;
    }
    return strFaults;
}

std::string CConversionCheck::ConvertFile(const std::string& strInput)
{
    std::error_code ec;
    std::filesystem::remove(m_strOutput, ec);

    // Every input starts at the first failure level, whatever came before:
    // a finding must replay alone, and the reports must not grow without end.
    ResetFailureCountsForTesting();
    CToviFileformDoc doc;
    if (doc.ReadLegacyFile(strInput) != 1)
        return "the file was not read\n";
    const int nSheetNum = doc.GetSheetNum();
    if (doc.WriteVersion5File(m_strOutput) != 1)
        return "the output was not written\n";

    // The inputs and the output, and no temporary file left behind.
    const auto entries = std::filesystem::directory_iterator(m_strFolder);
    const auto nEntryNum = std::distance(begin(entries), end(entries));
    const bool bWritten = std::filesystem::exists(m_strOutput);
    if (nEntryNum != std::ssize(kInputNames) + (bWritten ? 1 : 0))
        return "the folder holds another file\n";
    if (bWritten != (nSheetNum > 0))
        return bWritten ? "an output without sheets\n" : "no output for " + std::to_string(nSheetNum) + " sheets\n";
    if (!bWritten)
        return {};
    const std::string strText = ReadFileBytes(m_strOutput);
    std::string strFaults = CheckVersion5Text(strText);
    if (!strFaults.empty())
        return strFaults;

    // Read back, the output gives the same sheets, and so the same bytes.
    if (!HoldsVersion5Id(strText))
        return "the output is not taken for a version-5 file\n";
    CToviFileformDoc again;
    again.ReadVersion5Bytes(strText);
    if (again.GetSheetNum() == 0) {
        // Version-2 sheets without a group name give no block; with none
        // left, writing the sheets read back writes nothing at all.
        return strText == std::string(kVersion5Header).append("\r\n").append(kTrailerLine)
                   ? std::string()
                   : "the output holds blocks but no sheet is read back\n";
    }
    const std::string strAgain = m_strFolder + "/" + kAgainName;
    if (again.WriteVersion5File(strAgain) != 1)
        return "the output read back was not written\n";
    const std::string strTextAgain = ReadFileBytes(strAgain);
    std::filesystem::remove(strAgain, ec);
    if (strTextAgain != strText)
        return "the output read back and written again differs from byte " +
               std::to_string(
                   std::mismatch(strText.begin(), strText.end(), strTextAgain.begin(), strTextAgain.end()).first -
                   strText.begin()) +
               "\n";
    return {};
}
