#include "formats/LineSyntax.h"

#include "text/CodePage.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
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

/// A key upper-cased and padded with zero bytes to kMaxKeyLength, as two
/// words. Keys hold no zero byte, so equal words are equal keys.
struct SKeyWords {
    std::uint64_t nLow = 0;
    std::uint64_t nHigh = 0;

    constexpr bool operator==(const SKeyWords&) const = default;
};

constexpr SKeyWords MakeKeyWords(const std::array<char, kMaxKeyLength>& arKey)
{
    const auto arHalves = std::bit_cast<std::array<std::array<char, 8>, 2>>(arKey);
    return {std::bit_cast<std::uint64_t>(arHalves[0]), std::bit_cast<std::uint64_t>(arHalves[1])};
}

/// Open addressing over kKeywords: each slot holds an index into kKeywords
/// or -1. Less than half full, so a look-up probes a slot or two.
constexpr std::size_t kKeywordSlots = 128;

constexpr std::size_t HashKey(const SKeyWords& key)
{
    return static_cast<std::size_t>(((key.nLow * 0x9E3779B97F4A7C15u) ^ (key.nHigh * 0xC2B2AE3D27D4EB4Fu)) >> 57);
}

struct SKeywordTable {
    std::array<signed char, kKeywordSlots> arSlot{};
    std::array<SKeyWords, std::size(kKeywords)> arWords{};
};

constexpr SKeywordTable kKeywordTable = [] {
    SKeywordTable table;
    table.arSlot.fill(-1);
    for (std::size_t nKeyword = 0; nKeyword < std::size(kKeywords); ++nKeyword) {
        std::array<char, kMaxKeyLength> arKey{};
        const std::string_view strKeyword = kKeywords[nKeyword].strKeyword;
        for (std::size_t i = 0; i < strKeyword.size(); ++i)
            arKey.at(i) = ToUpperAscii(strKeyword[i]);
        table.arWords[nKeyword] = MakeKeyWords(arKey);
        std::size_t nSlot = HashKey(table.arWords[nKeyword]);
        while (table.arSlot[nSlot] >= 0)
            nSlot = (nSlot + 1) % kKeywordSlots;
        table.arSlot[nSlot] = static_cast<signed char>(nKeyword);
    }
    return table;
}();

/// The keyword of a key given as MakeKeyWords gives it, or nullptr.
const SKeyword* FindKeyword(const SKeyWords& key)
{
    for (std::size_t nSlot = HashKey(key); kKeywordTable.arSlot[nSlot] >= 0; nSlot = (nSlot + 1) % kKeywordSlots) {
        const auto nKeyword = static_cast<std::size_t>(static_cast<unsigned char>(kKeywordTable.arSlot[nSlot]));
        if (kKeywordTable.arWords[nKeyword] == key)
            return &kKeywords[nKeyword];
    }
    return nullptr;
}

/// What a byte is to a key: kKeySkip for bytes the key leaves out,
/// kKeyLeadByte for the lead byte of a double-byte character (its trail byte
/// goes with it), else the upper-case letter or the digit it adds.
constexpr char kKeySkip = 0;
constexpr char kKeyLeadByte = 1;
constexpr auto kKeyByteClass = [] {
    std::array<char, 256> arClass{};
    arClass.fill(kKeySkip);
    for (int c = 0; c < 256; ++c) {
        if (IsCp932LeadByte(static_cast<unsigned char>(c)))
            arClass[static_cast<std::size_t>(c)] = kKeyLeadByte;
        else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))
            arClass[static_cast<std::size_t>(c)] = static_cast<char>(c);
        else if (c >= 'a' && c <= 'z')
            arClass[static_cast<std::size_t>(c)] = ToUpperAscii(static_cast<char>(c));
    }
    return arClass;
}();

/// The first CR or LF in [p, pEnd), or pEnd. Eight bytes at a time: a word
/// holds a CR or an LF exactly when its XOR with eight of them has a zero
/// byte, which (w - 0x01...) & ~w & 0x80... tells; the lowest bit of that
/// mask marks the first such byte (a borrow only reaches bytes above it).
const char* FindLineEnd(const char* p, const char* pEnd)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    while (pEnd - p >= 8) {
        std::uint64_t nWord = 0;
        std::memcpy(&nWord, p, sizeof nWord);
        const std::uint64_t nCr = nWord ^ (kOnes * '\r');
        const std::uint64_t nLf = nWord ^ (kOnes * '\n');
        const std::uint64_t nMask = (((nCr - kOnes) & ~nCr) | ((nLf - kOnes) & ~nLf)) & kHighBits;
        if (nMask != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return p + std::countr_zero(nMask) / 8;
            break;
        }
        p += 8;
    }
    while (p != pEnd && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

/// The run of ASCII letters at the start of a key, eight at a time, as far
/// as kMaxKeyLength: upper-cased into pKey, p moved past them, their count
/// returned. What follows them is left to the byte-wise gathering. A
/// byte's letterness: OR 0x20 folds the upper case onto the lower, and the
/// high bit of (b + 0x80 - 'a') & ~(b + 0x80 - 'z' - 1) tells 'a' <= b <= 'z'
/// for every byte below 0x80 without a carry into its neighbour.
std::size_t GatherLetters(const char*& p, const char* pEnd, char* pKey)
{
    if constexpr (std::endian::native != std::endian::little)
        return 0;
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    constexpr std::uint64_t kCaseBits = kOnes * 0x20;
    std::size_t nCount = 0;
    while (pEnd - p >= 8 && nCount + 8 <= kMaxKeyLength) {
        std::uint64_t nWord = 0;
        std::memcpy(&nWord, p, sizeof nWord);
        if ((nWord & kHighBits) != 0)
            break;  // a byte beyond ASCII: a double-byte character may start here
        const std::uint64_t nFolded = nWord | kCaseBits;
        const std::uint64_t nLetters =
            (nFolded + kOnes * (0x80 - 'a')) & ~(nFolded + kOnes * (0x80 - 'z' - 1)) & kHighBits;
        std::uint64_t nUpper = nWord & ~kCaseBits;
        if (nLetters == kHighBits) {
            std::memcpy(pKey + nCount, &nUpper, sizeof nUpper);
            nCount += 8;
            p += 8;
            continue;
        }
        const auto nTaken = static_cast<std::size_t>(std::countr_zero(~nLetters & kHighBits) / 8);
        nUpper &= (std::uint64_t{1} << (8 * nTaken)) - 1;  // zero bytes after the letters: the key's padding
        std::memcpy(pKey + nCount, &nUpper, sizeof nUpper);
        nCount += nTaken;
        p += nTaken;
        break;
    }
    return nCount;
}

}  // namespace

// ------------------------------------------------------------ CLineSplitter

void CLineSplitter::Feed(std::string_view chunk)
{
    const char* p = chunk.data();
    const char* const pEnd = p + chunk.size();
    while (p != pEnd) {
        const char* const pLineEnd = FindLineEnd(p, pEnd);
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
    // "=" byte is the separator. The key is gathered on the way to it.
    const char* p = line.data();
    const char* const pEnd = p + line.size();
    std::array<char, kMaxKeyLength + 1> arKey{};  // the last one takes the bytes of a too long key
    std::size_t nKeyLength = GatherLetters(p, pEnd, arKey.data());
    // counts on past kMaxKeyLength: such a key is no keyword
    for (; p != pEnd && *p != '='; ++p) {
        const char cKey = kKeyByteClass[static_cast<unsigned char>(*p)];
        if (cKey > kKeyLeadByte) {
            arKey[nKeyLength < kMaxKeyLength ? nKeyLength : kMaxKeyLength] = cKey;
            ++nKeyLength;
        } else if (cKey == kKeyLeadByte && p + 1 != pEnd && p[1] != '=') {
            ++p;  // its trail byte may look like a letter: skip the character whole
        }
    }

    if (p != pEnd) {
        value = std::string_view(p + 1, static_cast<std::size_t>(pEnd - p - 1));
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
            value.remove_prefix(1);
    }

    if (nKeyLength == 0)
        return kLineNoKey;
    if (nKeyLength > kMaxKeyLength)
        return kLineUnknown;
    // The words as MakeKeyWords makes them, from the first kMaxKeyLength bytes.
    SKeyWords key;
    std::memcpy(&key.nLow, arKey.data(), sizeof key.nLow);
    std::memcpy(&key.nHigh, arKey.data() + sizeof key.nLow, sizeof key.nHigh);
    const SKeyword* pKeyword = FindKeyword(key);
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
