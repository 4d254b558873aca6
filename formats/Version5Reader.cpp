// Reading back the version-5 file: the keywords of versions 3 and 4 and the
// two additions of version 5.

#include "formats/ToviFileformDoc.h"
#include "formats/Version5Writer.h"
#include "model/Sheet.h"
#include "text/CodePage.h"
#include "text/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

/// The key of a line as recognition builds it (ASCII letters and digits
/// before the first "=", upper-cased; double-byte characters skipped) is
/// "CDCALIBER": the one version-5 line that versions 3 and 4 do not know.
bool IsCaliberLine(std::string_view line)
{
    constexpr std::string_view kKey = "CDCALIBER";
    std::size_t nMatched = 0;
    for (std::size_t i = 0; i < line.size() && line[i] != '='; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (IsCp932LeadByte(c) && i + 1 < line.size() && line[i + 1] != '=') {
            ++i;
            continue;
        }
        const bool bLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!bLetter)
            continue;
        if (nMatched == kKey.size() || MakeUpperAscii(std::string_view(line.data() + i, 1))[0] != kKey[nMatched])
            return false;
        ++nMatched;
    }
    return nMatched == kKey.size();
}

/// The "Fixed" value without the constant field that version 5 appends:
/// type, width and height only (a fourth piece would be taken for the height).
std::string_view WithoutConstantField(std::string_view strValue)
{
    std::size_t nPos = 0;
    for (int nComma = 0; nComma < 3; ++nComma) {
        nPos = strValue.find(',', nPos);
        if (nPos == std::string_view::npos)
            return strValue;
        ++nPos;
    }
    return strValue.substr(0, nPos - 1);
}

/// The elements of the list the sheet's layout kind writes; nullptr for
/// other kinds.
const std::vector<std::unique_ptr<CFixedFree>>* WrittenElements(const CSheet& sheet)
{
    if (sheet.m_nSheetType == 1)
        return &sheet.GetFixedList();
    if (sheet.m_nSheetType == 2)
        return &sheet.GetFreeList();
    return nullptr;
}

/// An element the writer did not take for a disc label may pass for one once
/// its numbers are rounded to two decimals (a width of 117.004 is written
/// 117.00). Such an element is moved back out of the disc-label bounds by
/// less than the rounding hides, so that it is written as it was read.
void KeepNoDiscLabel(CSheet& sheet, int nElem, CFixedFree& elem)
{
    if (GetDiscLabelCaliber(sheet, nElem) == 0.0 || elem.GetDecoCount() != 1)
        return;
    CDeco& deco = *elem.m_lstDeco[0];
    const std::array<double*, 6> arValues = {&elem.m_dWidth,  &deco.m_dStartX, &deco.m_dEndX,
                                             &elem.m_dHeight, &deco.m_dStartY, &deco.m_dEndY};
    std::array<double, 6> arRead{};
    std::transform(arValues.begin(), arValues.end(), arRead.begin(), [](const double* p) { return *p; });
    // Every combination of moving each value down, not at all, or up by just
    // under half a hundredth: the first that fails a bound is kept.
    constexpr double kShift = 0.00499;
    constexpr int kCombinations = 729;  // 3^6
    for (int nCombination = 1; nCombination < kCombinations; ++nCombination) {
        int nDigits = nCombination;
        for (std::size_t i = 0; i < arValues.size(); ++i, nDigits /= 3) {
            const double dMoved = arRead[i] + (nDigits % 3 - 1) * kShift;
            *arValues[i] = FormatReal(dMoved, 2) == FormatReal(arRead[i], 2) ? dMoved : arRead[i];
        }
        if (GetDiscLabelCaliber(sheet, nElem) == 0.0)
            return;
    }
    for (std::size_t i = 0; i < arValues.size(); ++i)
        *arValues[i] = arRead[i];
}

}  // namespace

bool HoldsVersion5Id(std::string_view bytes)
{
    bool bDecided = false;
    bool bVersion5 = false;
    ForEachLine(bytes, [&](std::string_view line) {
        std::string_view value;
        if (!bDecided && RecognizeLine(line, EFileVersion::Version34, value) == kLineId) {
            bDecided = true;
            bVersion5 = TextToReal(value) >= 5.0;
        }
    });
    return bVersion5;
}

void CToviFileformDoc::ReadVersion5Bytes(std::string_view bytes)
{
    DeleteContents();
    // The elements given a centre hole by a "CDCaliber" line: disc labels.
    std::vector<const CFixedFree*> arDiscs;
    ForEachLine(bytes, [&](std::string_view line) { PerformVersion5Line(line, arDiscs); });
    m_pCurSheet = nullptr;

    std::sort(arDiscs.begin(), arDiscs.end());
    for (const SheetPtr& pSheet : m_lstSheet) {
        const std::vector<std::unique_ptr<CFixedFree>>* pElements = WrittenElements(*pSheet);
        for (std::size_t i = 0; pElements != nullptr && i < pElements->size(); ++i) {
            CFixedFree& elem = *(*pElements)[i];
            if (!std::binary_search(arDiscs.begin(), arDiscs.end(), &elem))
                KeepNoDiscLabel(*pSheet, static_cast<int>(i), elem);
        }
    }
}

void CToviFileformDoc::PerformVersion5Line(std::string_view line, std::vector<const CFixedFree*>& arDiscs)
{
    std::string_view value;
    int nCode = RecognizeLine(line, EFileVersion::Version34, value);
    if (nCode == kLineGroupName)
        BeginSheet(1);
    if (m_pCurSheet == nullptr)
        return;  // before the first sheet, or it could not be created
    if (nCode == kLineFixed)
        value = WithoutConstantField(value);
    if (nCode != kLineUnknown || !IsCaliberLine(line)) {
        PerformVersion34Line(nCode, value);
        return;
    }

    // The writer wrote a disc label as type 3 with its hole's diameter in
    // place of its decoration: type 1 and a hole of that diameter, centred
    // within the bounds, make it one again. The hole starts at the whole
    // millimetre nearest to centring it, so that its end minus its start is
    // the diameter exactly and its centre lies well inside the 1 mm allowed.
    CFixedFree* pElem = m_pCurSheet->GetCurElement();
    if (pElem == nullptr)
        return;
    const double dCaliber = TextToReal(value);
    const double dStartX = std::round((pElem->m_dWidth - dCaliber) / 2.0);
    const double dStartY = std::round((pElem->m_dHeight - dCaliber) / 2.0);
    pElem->m_nType = 1;
    const int nDeco = pElem->AddDeco(1);
    if (nDeco < 0)
        return;
    pElem->SetDecoStartX(nDeco, dStartX);
    pElem->SetDecoStartY(nDeco, dStartY);
    pElem->SetDecoEndX(nDeco, dStartX + dCaliber);
    pElem->SetDecoEndY(nDeco, dStartY + dCaliber);
    arDiscs.push_back(pElem);
}
