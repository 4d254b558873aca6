#include "formats/LineSyntax.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <array>
#include <climits>
#include <iterator>

namespace {

struct SKeyword {
    int nCode;
    std::string_view strKeyword;
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

/// The longest keyword; a longer key is no keyword.
constexpr std::size_t kMaxKeyLength = 16;

constexpr char ToUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

/// The hash of an upper-cased key.
constexpr std::size_t HashKey(std::string_view strKey)
{
    std::size_t nHash = strKey.size();
    for (const char c : strKey)
        nHash = nHash * 37 + static_cast<unsigned char>(c);
    return nHash;
}

/// Open addressing over kKeywords by HashKey: each slot holds an index into
/// kKeywords or -1. Less than half full, so a look-up probes a slot or two.
constexpr std::size_t kKeywordSlots = 128;
constexpr auto kKeywordTable = [] {
    std::array<signed char, kKeywordSlots> arSlots{};
    arSlots.fill(-1);
    for (std::size_t nKeyword = 0; nKeyword < std::size(kKeywords); ++nKeyword) {
        std::array<char, kMaxKeyLength> arUpper{};
        const std::string_view strKeyword = kKeywords[nKeyword].strKeyword;
        for (std::size_t i = 0; i < strKeyword.size(); ++i)
            arUpper.at(i) = ToUpperAscii(strKeyword[i]);
        std::size_t nSlot = HashKey(std::string_view(arUpper.data(), strKeyword.size())) % kKeywordSlots;
        while (arSlots[nSlot] >= 0)
            nSlot = (nSlot + 1) % kKeywordSlots;
        arSlots[nSlot] = static_cast<signed char>(nKeyword);
    }
    return arSlots;
}();

/// The keyword equal to an upper-cased key, or nullptr.
const SKeyword* FindKeyword(std::string_view strKey)
{
    for (std::size_t nSlot = HashKey(strKey) % kKeywordSlots; kKeywordTable[nSlot] >= 0;
         nSlot = (nSlot + 1) % kKeywordSlots) {
        const SKeyword& keyword = kKeywords[static_cast<std::size_t>(kKeywordTable[nSlot])];
        if (keyword.strKeyword.size() != strKey.size())
            continue;
        std::size_t i = 0;
        while (i < strKey.size() && ToUpperAscii(keyword.strKeyword[i]) == strKey[i])
            ++i;
        if (i == strKey.size())
            return &keyword;
    }
    return nullptr;
}

bool IsAsciiAlnum(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

// ------------------------------------------------------------ CLineSplitter

void CLineSplitter::Feed(std::string_view chunk)
{
    const char* p = chunk.data();
    const char* const pEnd = p + chunk.size();
    while (p != pEnd) {
        const char* pLineEnd = p;
        while (pLineEnd != pEnd && *pLineEnd != '\r' && *pLineEnd != '\n')
            ++pLineEnd;
        const std::size_t nBytes = static_cast<std::size_t>(pLineEnd - p);
        if (pLineEnd == pEnd) {
            Append(p, nBytes);  // the line goes on in the next chunk
            return;
        }
        if (m_nFill == 0) {
            // A line wholly inside the chunk is handed on where it stands.
            m_handler(std::string_view(p, nBytes < kMaxLineLength ? nBytes : kMaxLineLength));
        } else {
            Append(p, nBytes);
            EndLine();
        }
        p = pLineEnd + 1;
        if (*pLineEnd == '\r' && p != pEnd && *p == '\n')
            ++p;
    }
}

void CLineSplitter::Finish()
{
    if (m_nFill > 0)
        EndLine();
}

void CLineSplitter::Append(const char* pBytes, std::size_t nBytes)
{
    const std::size_t nRoom = kMaxLineLength - m_nFill;
    const std::size_t nTaken = nBytes < nRoom ? nBytes : nRoom;
    std::copy(pBytes, pBytes + nTaken, m_arLine + m_nFill);
    m_nFill += nTaken;
}

void CLineSplitter::EndLine()
{
    const std::size_t nFill = m_nFill;
    m_nFill = 0;
    m_handler(std::string_view(m_arLine, nFill));
}

// ------------------------------------------------------------- recognition

int RecognizeLine(std::string_view line, EFileVersion eVersion, std::string_view& value)
{
    value = std::string_view();
    if (line.empty())
        return kLineUnknown;
    if (line[0] == ';')
        return kLineComment;

    // "=" is never the trail byte of a double-byte character, so the first
    // "=" byte is the separator.
    const std::string_view::size_type nEqual = line.find('=');
    const std::string_view keyPart = line.substr(0, nEqual);
    char arKey[kMaxKeyLength];
    std::size_t nKeyLength = 0;  // counts on past kMaxKeyLength: such a key is no keyword
    for (std::size_t i = 0; i < keyPart.size(); ++i) {
        const auto c = static_cast<unsigned char>(keyPart[i]);
        if (IsCp932LeadByte(c)) {
            ++i;  // its trail byte may look like a letter: skip the character whole
            continue;
        }
        if (!IsAsciiAlnum(c))
            continue;
        if (nKeyLength < kMaxKeyLength)
            arKey[nKeyLength] = ToUpperAscii(static_cast<char>(c));
        ++nKeyLength;
    }

    if (nEqual != std::string_view::npos) {
        value = line.substr(nEqual + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
    }

    if (nKeyLength == 0)
        return kLineNoKey;
    if (nKeyLength > kMaxKeyLength)
        return kLineUnknown;
    const SKeyword* pKeyword = FindKeyword(std::string_view(arKey, nKeyLength));
    if (pKeyword == nullptr || !(eVersion == EFileVersion::Version2 ? pKeyword->bVersion2 : pKeyword->bVersion34))
        return kLineUnknown;
    return pKeyword->nCode;
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
