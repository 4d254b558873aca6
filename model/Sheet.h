#pragma once
// One user-defined label sheet: paper, layout kind, layout content (sheet
// decorations, fixed elements or free elements) and support records.
// Failures are reported under the class name "CSheet".

#include "model/FixedFree.h"
#include "model/ToviSupportInfo.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// Cuts a value text at every comma and hands each piece, with its index, to
/// fnPiece. The piece before each comma counts even when empty; the piece
/// after the last comma only when it is not empty ("1,,2" -> 1, "", 2;
/// "1,2," -> 1, 2; "," -> ""; "" -> nothing). Blanks stay inside the pieces.
template <class TPieceHandler>
void ForEachValue(std::string_view strText, TPieceHandler fnPiece)
{
    // Pieces are a few bytes long: a plain loop finds their commas sooner
    // than a search routine would.
    const char* p = strText.data();
    const char* const pEnd = p + strText.size();
    const char* pPiece = p;
    std::size_t nIndex = 0;
    for (; p != pEnd; ++p) {
        if (*p == ',') {
            fnPiece(nIndex++, std::string_view(pPiece, static_cast<std::size_t>(p - pPiece)));
            pPiece = p + 1;
        }
    }
    if (pPiece != pEnd)
        fnPiece(nIndex, std::string_view(pPiece, static_cast<std::size_t>(pEnd - pPiece)));
}

/// The pieces of ForEachValue, appended to arPieces.
void SplitValues(std::string_view strText, std::vector<std::string>& arPieces);

/// Sheets come from a pool of their own: a file may hold a hundred thousand.
class CSheet : public CPooledObject<CSheet> {
public:
    /// bVersion34: 0 = built from a version-2 file, 1 = read from a version-3/4 file.
    explicit CSheet(int bVersion34);
    CSheet(const CSheet&) = delete;
    CSheet& operator=(const CSheet&) = delete;

    /// Releases every owned object and empties the lists; 0, or -99.
    int Free();

    // Plain accessors (no checks, no reports).
    void SetSheetName(std::string_view str) { m_strSheetName = str; }
    std::string GetSheetName() const { return m_strSheetName; }
    void SetGroupNameText(std::string_view str) { m_strGroupName = str; }
    std::string GetGroupNameText() const { return m_strGroupName; }
    void SetCompanyName(std::string_view str) { m_strCompanyName = str; }
    std::string GetCompanyName() const { return m_strCompanyName; }
    void SetProductName(std::string_view str) { m_strProductName = str; }
    std::string GetProductName() const { return m_strProductName; }
    void SetSheetUse(std::string_view str) { m_strSheetUse = str; }
    std::string GetSheetUse() const { return m_strSheetUse; }
    void SetSheetSurfaces(std::string_view str) { m_strSheetSurfaces = str; }
    std::string GetSheetSurfaces() const { return m_strSheetSurfaces; }
    void SetSheetSizeText(std::string_view str) { m_strSheetSize = str; }
    std::string GetSheetSizeText() const { return m_strSheetSize; }

    // Read-only views of the owned lists, whatever the layout kind.
    const std::vector<std::unique_ptr<CDeco>>& GetSheetDecoList() const { return m_lstSheetDeco; }
    const std::vector<std::unique_ptr<CFixedFree>>& GetFixedList() const { return m_lstFixed; }
    const std::vector<std::unique_ptr<CFixedFree>>& GetFreeList() const { return m_lstFree; }
    const std::vector<std::unique_ptr<CToviSupportInfo>>& GetSupportList() const { return m_lstSupport; }
    /// Elements created so far by ParseFixed and ParseFree together.
    int GetElementCount() const { return m_nElementCount; }
    /// The element of the latest ParseFixed / ParseFree, or nullptr.
    CFixedFree* GetCurElement() const { return m_pCurElement; }

    // Sheet decorations (layout kind 0).
    int AddSheetDeco(int nType);
    int SetSheetDecoStartX(int nDeco, double dValue);
    int SetSheetDecoStartY(int nDeco, double dValue);
    int SetSheetDecoEndX(int nDeco, double dValue);
    int SetSheetDecoEndY(int nDeco, double dValue);

    // Fixed elements (layout kind 1).
    int AddFixed(int nNo);
    int SetFixedType(int nElem, int nType);
    int SetFixedWidth(int nElem, double dValue);
    int SetFixedHeight(int nElem, double dValue);
    int AddFixedHorPos(int nElem, double dPos);
    int AddFixedVerPos(int nElem, double dPos);
    int AddFixedDeco(int nElem, int nType);
    int SetFixedDecoStartX(int nElem, int nDeco, double dValue);
    int SetFixedDecoStartY(int nElem, int nDeco, double dValue);
    int SetFixedDecoEndX(int nElem, int nDeco, double dValue);
    int SetFixedDecoEndY(int nElem, int nDeco, double dValue);

    // Free elements (layout kind 2).
    int AddFree(int nNo);
    int SetFreeType(int nElem, int nType);
    int SetFreeWidth(int nElem, double dValue);
    int SetFreeHeight(int nElem, double dValue);
    int SetFreeHorPos(int nElem, double dPos);
    int SetFreeVerPos(int nElem, double dPos);
    int AddFreeDeco(int nElem, int nType);
    int SetFreeDecoStartX(int nElem, int nDeco, double dValue);
    int SetFreeDecoStartY(int nElem, int nDeco, double dValue);
    int SetFreeDecoEndX(int nElem, int nDeco, double dValue);
    int SetFreeDecoEndY(int nElem, int nDeco, double dValue);

    // Support records.
    int AddSupportInfo();
    int SetToviType(int nSupport, int nType);
    int SetToviVersion(int nSupport, const std::string& strVersion);
    int AddGroupName(int nSupport, const std::string& strName);

    // Value parsers of version-3/4 lines: no checks, no reports, no result.
    void ParseSheetType(std::string_view strValue);
    void ParseSheetDeco(std::string_view strValue);
    void ParseFixed(std::string_view strValue);
    void ParseFree(std::string_view strValue);
    void ParseFixedHorzPos(std::string_view strValue);
    void ParseFixedVertPos(std::string_view strValue);
    void ParseFreePos(std::string_view strValue);
    void ParseFixedDeco(std::string_view strValue);
    void ParseFreeDeco(std::string_view strValue);

    // Counts.
    int GetSheetDecoNo();
    int GetElementNo() const;
    int GetFixedHorNum(int nElem);
    int GetFixedVerNum(int nElem);
    int GetFixedDecoNo(int nElem);
    int GetFreeDecoNo(int nElem);
    int GetGroupNameNo(int nSupport);
    int GetWizardGroupNameNo(int nSupport);
    int GetSupportInfoNo() const;

    // Sheet decorations (no layout-kind check).
    int GetSheetDecoType(int nDeco);
    double GetSheetDecoStartX(int nDeco);
    double GetSheetDecoStartY(int nDeco);
    double GetSheetDecoEndX(int nDeco);
    double GetSheetDecoEndY(int nDeco);

    // Fixed elements.
    int GetFixedType(int nElem);
    double GetFixedWidth(int nElem);
    double GetFixedHeight(int nElem);
    double GetFixedHorPos(int nElem, int nPos);
    double GetFixedVerPos(int nElem, int nPos);
    int GetFixedDecoType(int nElem, int nDeco);
    double GetFixedDecoStartX(int nElem, int nDeco);
    double GetFixedDecoStartY(int nElem, int nDeco);
    double GetFixedDecoEndX(int nElem, int nDeco);
    double GetFixedDecoEndY(int nElem, int nDeco);

    // Free elements.
    int GetFreeType(int nElem);
    double GetFreeWidth(int nElem);
    double GetFreeHeight(int nElem);
    double GetFreeHorPos(int nElem);
    double GetFreeVerPos(int nElem);
    int GetFreeDecoType(int nElem, int nDeco);
    double GetFreeDecoStartX(int nElem, int nDeco);
    double GetFreeDecoStartY(int nElem, int nDeco);
    double GetFreeDecoEndX(int nElem, int nDeco);
    double GetFreeDecoEndY(int nElem, int nDeco);

    // Group names.
    std::string GetGroupName(int nSupport, int nName);
    std::string GetWizardGroupName(int nSupport, int nName);

    int m_bVersion34;              ///< 0 = version-2 origin, 1 = version-3/4 origin
    int m_nSheetClass = 0;         ///< first number of the sheet type
    int m_nSheetIndex = -1;        ///< third number of the sheet type
    int m_nSheetType = -1;         ///< layout kind: -1 undecided, 0 decorations, 1 fixed, 2 free
    double m_dSheetWidth = -1.0;   ///< -1.0 = not set
    double m_dSheetHeight = -1.0;  ///< -1.0 = not set
    int m_nSheetOrientation = -1;  ///< fourth number of the sheet type

private:
    using ElementList = std::vector<std::unique_ptr<CFixedFree>>;

    CDeco* GetDeco(int nDeco);
    CFixedFree* GetFixed(int nElem);
    CFixedFree* GetFree(int nElem);
    CFixedFree* GetElement(ElementList& lst, int nKind, int nElem, const char* pszLookup);
    CToviSupportInfo* GetSupport(int nSupport, const char* pszMethod);
    int ConvertDecoType(int nType) const;
    int AddElement(ElementList& lst, int nKind, int nNo, const char* pszMethod);
    int SetSheetDecoField(int nDeco, double CDeco::*pField, double dValue, const char* pszMethod);
    double GetSheetDecoField(int nDeco, double CDeco::*pField, const char* pszMethod);
    int GetElementDecoType(CFixedFree& elem, int nDeco);
    int FreeElements(ElementList& lst);
    void ParseElement(ElementList& lst, std::string_view strValue, bool bEveryLaterPieceIsHeight);
    void ParseElementDeco(std::string_view strValue);
    void ParsePositions(std::string_view strValue, bool bHorizontal);

    std::string m_strSheetName;
    std::vector<std::unique_ptr<CDeco>> m_lstSheetDeco;
    ElementList m_lstFixed;
    ElementList m_lstFree;
    std::string m_strGroupName;
    std::string m_strCompanyName;
    std::string m_strProductName;
    std::string m_strSheetUse;
    std::string m_strSheetSurfaces;
    std::string m_strSheetSize;
    int m_nElementCount = 0;              ///< saturates at INT_MAX
    CFixedFree* m_pCurElement = nullptr;  ///< element of m_lstFixed or m_lstFree
    std::vector<std::unique_ptr<CToviSupportInfo>> m_lstSupport;
};
