#include "formats/LineSyntax.h"

#include "platform/CodePage.h"

#include <climits>

namespace {

struct SKeyword {
    int nCode;
    const char* pszKeyword;
    bool bVersion2;
    bool bVersion34;
};

constexpr SKeyword kKeywords[] = {
    {kLineGroupName, "GroupName", true, true},
    {kLineCompanyName, "CompanyName", true, true},
    {kLineProductName, "ProductName", true, true},
    {kLineSheetUse, "SheetUse", true, true},
    {kLineSheetSurfaces, "SheetSurfaces", true, true},
    {kLineSheetName, "SheetName", true, false},
    {kLineSheetType, "SheetType", true, true},
    {kLineSheetIndex, "SheetIndex", true, false},
    {kLineSheetSize, "SheetSize", true, true},
    {kLineSheetWidth, "SheetWidth", true, false},
    {kLineSheetHeight, "SheetHeight", true, false},
    {kLineSheetOrientation, "SheetOrientation", true, false},
    {kLineSheetDeco, "SheetDeco", true, true},
    {kLineSheetDecoType, "SheetDecoType", true, false},
    {kLineSheetDecoStartX, "SheetDecoStartX", true, false},
    {kLineSheetDecoStartY, "SheetDecoStartY", true, false},
    {kLineSheetDecoEndX, "SheetDecoEndX", true, false},
    {kLineSheetDecoEndY, "SheetDecoEndY", true, false},
    {kLineLabelNumber, "LabelNumber", true, false},
    {kLineFixed, "Fixed", true, true},
    {kLineFixedNo, "FixedNo", true, false},
    {kLineFixedWidth, "FixedWidth", true, false},
    {kLineFixedHeight, "FixedHeight", true, false},
    {kLineFixedHorNum, "FixedHorNum", true, false},
    {kLineFixedHorPos, "FixedHorPos", true, false},
    {kLineFixedHorPos, "FixedHorzPos", true, true},
    {kLineFixedVerNum, "FixedVerNum", true, false},
    {kLineFixedVerPos, "FixedVerPos", true, false},
    {kLineFixedVerPos, "FixedVertPos", true, true},
    {kLineFixedDeco, "FixedDeco", true, true},
    {kLineFixedDecoType, "FixedDecoType", true, false},
    {kLineFixedDecoStartX, "FixedDecoStartX", true, false},
    {kLineFixedDecoStartY, "FixedDecoStartY", true, false},
    {kLineFixedDecoEndX, "FixedDecoEndX", true, false},
    {kLineFixedDecoEndY, "FixedDecoEndY", true, false},
    {kLineFree, "Free", true, true},
    {kLineFreeNo, "FreeNo", true, false},
    {kLineFreeWidth, "FreeWidth", true, false},
    {kLineFreeHeight, "FreeHeight", true, false},
    {kLineFreePos, "FreePos", true, true},
    {kLineFreeHorPos, "FreeHorPos", true, false},
    {kLineFreeVerPos, "FreeVerPos", true, false},
    {kLineFreeDeco, "FreeDeco", true, true},
    {kLineFreeDecoType, "FreeDecoType", true, false},
    {kLineFreeDecoStartX, "FreeDecoStartX", true, false},
    {kLineFreeDecoStartY, "FreeDecoStartY", true, false},
    {kLineFreeDecoEndX, "FreeDecoEndX", true, false},
    {kLineFreeDecoEndY, "FreeDecoEndY", true, false},
    {kLineId, "ID", true, true},
};

bool IsAsciiAlnum(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

// ------------------------------------------------------------ CLineSplitter

void CLineSplitter::Feed(std::string_view chunk)
{
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        const char c = chunk[i];
        if (c == '\r' || c == '\n') {
            EndLine();
            if (c == '\r' && i + 1 < chunk.size() && chunk[i + 1] == '\n')
                ++i;
        } else if (m_nFill < kMaxLineLength) {
            m_arLine[m_nFill++] = c;
        }
    }
}

void CLineSplitter::Finish()
{
    if (m_nFill > 0)
        EndLine();
}

void CLineSplitter::EndLine()
{
    const std::size_t nFill = m_nFill;
    m_nFill = 0;
    m_handler(std::string_view(m_arLine, nFill));
}

// ------------------------------------------------------------- recognition

int RecognizeLine(std::string_view line, EFileVersion eVersion, std::string& strValue)
{
    strValue.clear();
    if (line.empty())
        return kLineUnknown;
    if (line[0] == ';')
        return kLineComment;

    // "=" is never the trail byte of a double-byte character, so the first
    // "=" byte is the separator.
    const std::string_view::size_type nEqual = line.find('=');
    const std::string_view keyPart = line.substr(0, nEqual);
    std::string strKey;
    for (std::size_t i = 0; i < keyPart.size(); ++i) {
        const auto c = static_cast<unsigned char>(keyPart[i]);
        if (IsCp932LeadByte(c)) {
            ++i;  // its trail byte may look like a letter: skip the character whole
            continue;
        }
        if (IsAsciiAlnum(c))
            strKey += static_cast<char>(c);
    }

    if (nEqual != std::string_view::npos) {
        std::string_view value = line.substr(nEqual + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
        strValue.assign(value);
    }

    if (strKey.empty())
        return kLineNoKey;
    for (const SKeyword& keyword : kKeywords) {
        const bool bKnown = eVersion == EFileVersion::Version2 ? keyword.bVersion2 : keyword.bVersion34;
        if (bKnown && EqualNoCaseAscii(strKey, keyword.pszKeyword))
            return keyword.nCode;
    }
    return kLineUnknown;
}

// ------------------------------------------------------- version-2 numbers

int ReadVersion2Number(std::string_view value)
{
    long long nNumber = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            break;
        nNumber = nNumber * 10 + (c - '0');
        if (nNumber > INT_MAX)
            nNumber = INT_MAX;  // saturate, however many digits follow
    }
    return static_cast<int>(nNumber);
}

double ReadVersion2Length(std::string_view value)
{
    return ReadVersion2Number(value) * 0.1;
}
