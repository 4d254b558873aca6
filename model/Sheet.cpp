#include "model/Sheet.h"

#include "model/Allocation.h"
#include "model/ListSize.h"
#include "model/MethodFailure.h"
#include "text/Numbers.h"

#include <climits>
#include <iterator>

namespace {

enum : int { kKindSheetDeco = 0, kKindFixed = 1, kKindFree = 2 };

/// Room an element list takes at its first element: most sheets hold a few
/// to a few dozen elements, which then need one or two blocks instead of five.
constexpr std::size_t kFirstElementRoom = 8;
/// From this room on a full list grows fourfold instead of twofold: a sheet
/// of a million elements then moves and touches a third of the memory it
/// would otherwise (room beyond the last element is never touched).
constexpr std::size_t kFourfoldElementRoom = 4096;

template <class TList>
void PushElement(TList& lst, typename TList::value_type item)
{
    const std::size_t nRoom = lst.capacity();
    if (lst.size() == nRoom) {
        if (nRoom == 0)
            lst.reserve(kFirstElementRoom);
        else if (nRoom >= kFourfoldElementRoom && nRoom <= lst.max_size() / 4)
            lst.reserve(nRoom * 4);
    }
    lst.push_back(std::move(item));
}

void Report(const char* pszMethod)
{
    ReportMethodFailure(EFailureClass::Sheet, "CSheet", pszMethod);
}

// Runs fnWork on the element a look-up found; when the look-up found none
// (it has reported already) reports under pszMethod and returns failValue.
template <class TResult, class TWork>
TResult WithElement(CFixedFree* pElem, TResult failValue, const char* pszMethod, TWork fnWork)
{
    if (pElem == nullptr) {
        Report(pszMethod);
        return failValue;
    }
    return fnWork(*pElem);
}

// Fills a decoration from the pieces type, start X, start Y, end X, end Y;
// every piece beyond the fourth lands in end Y in turn (the last one stays).
void FillDeco(CDeco& deco, std::string_view strValue)
{
    ForEachValue(strValue, [&deco](std::size_t i, std::string_view strPiece) {
        switch (i) {
        case 0:
            deco.m_nType = TextToInt(strPiece);
            break;
        case 1:
            deco.m_dStartX = TextToReal(strPiece);
            break;
        case 2:
            deco.m_dStartY = TextToReal(strPiece);
            break;
        case 3:
            deco.m_dEndX = TextToReal(strPiece);
            break;
        default:
            deco.m_dEndY = TextToReal(strPiece);
            break;
        }
    });
}

template <class TList>
void EraseFirst(TList& lst, std::size_t nCount)
{
    lst.erase(lst.begin(), lst.begin() + static_cast<std::ptrdiff_t>(nCount));
}

}  // namespace

void SplitValues(std::string_view strText, std::vector<std::string>& arPieces)
{
    ForEachValue(strText, [&arPieces](std::size_t, std::string_view strPiece) { arPieces.emplace_back(strPiece); });
}

CSheet::CSheet(int bVersion34) : m_bVersion34(bVersion34) {}

// ---------------------------------------------------------------- release

int CSheet::FreeElements(ElementList& lst)
{
    const std::size_t n = lst.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!lst[i]) {
            Report("Free");
            EraseFirst(lst, i);
            return kFailInt;
        }
        if (lst[i]->Free() != 0) {
            EraseFirst(lst, i);  // the element has reported; the released ones leave the list
            return kFailInt;
        }
        if (lst[i].get() == m_pCurElement)
            m_pCurElement = nullptr;
        lst[i].reset();
    }
    lst.clear();
    return 0;
}

int CSheet::Free()
{
    if (FreeElements(m_lstFixed) != 0 || FreeElements(m_lstFree) != 0)
        return kFailInt;
    for (std::size_t i = 0; i < m_lstSheetDeco.size(); ++i) {
        if (!m_lstSheetDeco[i]) {
            Report("Free");
            EraseFirst(m_lstSheetDeco, i);
            return kFailInt;
        }
        m_lstSheetDeco[i].reset();
    }
    m_lstSheetDeco.clear();
    for (std::size_t i = 0; i < m_lstSupport.size(); ++i) {
        if (!m_lstSupport[i]) {
            Report("Free");
            EraseFirst(m_lstSupport, i);
            return kFailInt;
        }
        m_lstSupport[i]->Free();  // its result does not stop the release
        m_lstSupport[i].reset();
    }
    m_lstSupport.clear();
    return 0;
}

// ---------------------------------------------------------------- look-ups

// The look-ups report a bad index (and GetFixed / GetFree a wrong layout kind).
// A node without a record yields none without a report; the caller reports.
CDeco* CSheet::GetDeco(int nDeco)
{
    if (nDeco >= ListSize(m_lstSheetDeco) || nDeco < 0) {
        Report("GetDeco");
        return nullptr;
    }
    return m_lstSheetDeco[static_cast<std::size_t>(nDeco)].get();
}

CFixedFree* CSheet::GetElement(ElementList& lst, int nKind, int nElem, const char* pszLookup)
{
    if (m_nSheetType != nKind || nElem >= ListSize(lst) || nElem < 0) {
        Report(pszLookup);
        return nullptr;
    }
    return lst[static_cast<std::size_t>(nElem)].get();
}

CFixedFree* CSheet::GetFixed(int nElem)
{
    return GetElement(m_lstFixed, kKindFixed, nElem, "GetFixed");
}
CFixedFree* CSheet::GetFree(int nElem)
{
    return GetElement(m_lstFree, kKindFree, nElem, "GetFree");
}

CToviSupportInfo* CSheet::GetSupport(int nSupport, const char* pszMethod)
{
    if (nSupport >= ListSize(m_lstSupport) || nSupport < 0 || !m_lstSupport[static_cast<std::size_t>(nSupport)]) {
        Report(pszMethod);
        return nullptr;
    }
    return m_lstSupport[static_cast<std::size_t>(nSupport)].get();
}

// Version-2 decoration codes in the version-5 coding: 1 -> 2, 2 -> 0, any other -> 1.
int CSheet::ConvertDecoType(int nType) const
{
    if (m_bVersion34 != 0)
        return nType;
    if (nType == 1)
        return 2;
    if (nType == 2)
        return 0;
    return 1;
}

// ---------------------------------------------------------------- sheet decorations

int CSheet::AddSheetDeco(int nType)
{
    if (m_nSheetType == -1)
        m_nSheetType = kKindSheetDeco;  // stays decided even when the creation fails
    if (m_nSheetType != kKindSheetDeco) {
        Report("AddSheetDeco");
        return kFailInt;
    }
    CDeco* pDeco = IsListFull(m_lstSheetDeco) ? nullptr : NewModelObject<CDeco>(nType);
    if (pDeco == nullptr) {
        ReportMemoryExhausted();
        return kFailInt;
    }
    std::unique_ptr<CDeco> owned(pDeco);
    m_lstSheetDeco.push_back(std::move(owned));
    return ListSize(m_lstSheetDeco) - 1;
}

int CSheet::SetSheetDecoField(int nDeco, double CDeco::*pField, double dValue, const char* pszMethod)
{
    if (m_nSheetType != kKindSheetDeco) {
        Report(pszMethod);
        return kFailInt;
    }
    CDeco* pDeco = GetDeco(nDeco);
    if (pDeco == nullptr) {
        Report(pszMethod);
        return kFailInt;
    }
    pDeco->*pField = dValue;
    return 0;
}

int CSheet::SetSheetDecoStartX(int nDeco, double dValue)
{
    return SetSheetDecoField(nDeco, &CDeco::m_dStartX, dValue, "SetSheetDecoStartX");
}
int CSheet::SetSheetDecoStartY(int nDeco, double dValue)
{
    return SetSheetDecoField(nDeco, &CDeco::m_dStartY, dValue, "SetSheetDecoStartY");
}
int CSheet::SetSheetDecoEndX(int nDeco, double dValue)
{
    return SetSheetDecoField(nDeco, &CDeco::m_dEndX, dValue, "SetSheetDecoEndX");
}
int CSheet::SetSheetDecoEndY(int nDeco, double dValue)
{
    return SetSheetDecoField(nDeco, &CDeco::m_dEndY, dValue, "SetSheetDecoEndY");
}

// ---------------------------------------------------------------- elements

int CSheet::AddElement(ElementList& lst, int nKind, int nNo, const char* pszMethod)
{
    if (m_nSheetType == -1)
        m_nSheetType = nKind;  // stays decided even when the creation fails
    if (m_nSheetType != nKind) {
        Report(pszMethod);
        return kFailInt;
    }
    CFixedFree* pElem = IsListFull(lst) ? nullptr : NewModelObject<CFixedFree>();
    if (pElem == nullptr) {
        ReportMemoryExhausted();
        return kFailInt;
    }
    std::unique_ptr<CFixedFree> owned(pElem);
    owned->m_nNo = nNo;
    PushElement(lst, std::move(owned));
    return ListSize(lst) - 1;
}

int CSheet::AddFixed(int nNo)
{
    return AddElement(m_lstFixed, kKindFixed, nNo, "AddFixed");
}
int CSheet::AddFree(int nNo)
{
    return AddElement(m_lstFree, kKindFree, nNo, "AddFree");
}

int CSheet::SetFixedType(int nElem, int nType)
{
    return WithElement(GetFixed(nElem), kFailInt, "SetFixedType", [&](CFixedFree& e) {
        e.m_nType = nType;
        return 0;
    });
}
int CSheet::SetFixedWidth(int nElem, double dValue)
{
    return WithElement(GetFixed(nElem), kFailInt, "SetFixedWidth", [&](CFixedFree& e) {
        e.m_dWidth = dValue;
        return 0;
    });
}
int CSheet::SetFixedHeight(int nElem, double dValue)
{
    return WithElement(GetFixed(nElem), kFailInt, "SetFixedHeight", [&](CFixedFree& e) {
        e.m_dHeight = dValue;
        return 0;
    });
}
int CSheet::AddFixedHorPos(int nElem, double dPos)
{
    return WithElement(GetFixed(nElem), kFailInt, "AddFixedHorPos", [&](CFixedFree& e) { return e.AddHorPos(dPos); });
}
int CSheet::AddFixedVerPos(int nElem, double dPos)
{
    return WithElement(GetFixed(nElem), kFailInt, "AddFixedVerPos", [&](CFixedFree& e) { return e.AddVerPos(dPos); });
}
int CSheet::AddFixedDeco(int nElem, int nType)
{
    return WithElement(GetFixed(nElem), kFailInt, "AddFixedDeco", [&](CFixedFree& e) { return e.AddDeco(nType); });
}
int CSheet::SetFixedDecoStartX(int nElem, int nDeco, double dValue)
{
    return WithElement(GetFixed(nElem), kFailInt, "SetFixedDecoStartX",
                       [&](CFixedFree& e) { return e.SetDecoStartX(nDeco, dValue); });
}
int CSheet::SetFixedDecoStartY(int nElem, int nDeco, double dValue)
{
    return WithElement(GetFixed(nElem), kFailInt, "SetFixedDecoStartY",
                       [&](CFixedFree& e) { return e.SetDecoStartY(nDeco, dValue); });
}
int CSheet::SetFixedDecoEndX(int nElem, int nDeco, double dValue)
{
    return WithElement(GetFixed(nElem), kFailInt, "SetFixedDecoEndX",
                       [&](CFixedFree& e) { return e.SetDecoEndX(nDeco, dValue); });
}
int CSheet::SetFixedDecoEndY(int nElem, int nDeco, double dValue)
{
    return WithElement(GetFixed(nElem), kFailInt, "SetFixedDecoEndY",
                       [&](CFixedFree& e) { return e.SetDecoEndY(nDeco, dValue); });
}

int CSheet::SetFreeType(int nElem, int nType)
{
    return WithElement(GetFree(nElem), kFailInt, "SetFreeType", [&](CFixedFree& e) {
        e.m_nType = nType;
        return 0;
    });
}
int CSheet::SetFreeWidth(int nElem, double dValue)
{
    return WithElement(GetFree(nElem), kFailInt, "SetFreeWidth", [&](CFixedFree& e) {
        e.m_dWidth = dValue;
        return 0;
    });
}
int CSheet::SetFreeHeight(int nElem, double dValue)
{
    return WithElement(GetFree(nElem), kFailInt, "SetFreeHeight", [&](CFixedFree& e) {
        e.m_dHeight = dValue;
        return 0;
    });
}
// A free element has one position: the first is replaced, or added when there is none.
int CSheet::SetFreeHorPos(int nElem, double dPos)
{
    return WithElement(GetFree(nElem), kFailInt, "SetFreeHorPos", [&](CFixedFree& e) {
        return e.GetHorPosCount() > 0 ? e.SetHorPos(0, dPos) : e.AddHorPos(dPos);
    });
}
int CSheet::SetFreeVerPos(int nElem, double dPos)
{
    return WithElement(GetFree(nElem), kFailInt, "SetFreeVerPos", [&](CFixedFree& e) {
        return e.GetVerPosCount() > 0 ? e.SetVerPos(0, dPos) : e.AddVerPos(dPos);
    });
}
int CSheet::AddFreeDeco(int nElem, int nType)
{
    return WithElement(GetFree(nElem), kFailInt, "AddFreeDeco", [&](CFixedFree& e) { return e.AddDeco(nType); });
}
int CSheet::SetFreeDecoStartX(int nElem, int nDeco, double dValue)
{
    return WithElement(GetFree(nElem), kFailInt, "SetFreeDecoStartX",
                       [&](CFixedFree& e) { return e.SetDecoStartX(nDeco, dValue); });
}
int CSheet::SetFreeDecoStartY(int nElem, int nDeco, double dValue)
{
    return WithElement(GetFree(nElem), kFailInt, "SetFreeDecoStartY",
                       [&](CFixedFree& e) { return e.SetDecoStartY(nDeco, dValue); });
}
int CSheet::SetFreeDecoEndX(int nElem, int nDeco, double dValue)
{
    return WithElement(GetFree(nElem), kFailInt, "SetFreeDecoEndX",
                       [&](CFixedFree& e) { return e.SetDecoEndX(nDeco, dValue); });
}
int CSheet::SetFreeDecoEndY(int nElem, int nDeco, double dValue)
{
    return WithElement(GetFree(nElem), kFailInt, "SetFreeDecoEndY",
                       [&](CFixedFree& e) { return e.SetDecoEndY(nDeco, dValue); });
}

// ---------------------------------------------------------------- support records

int CSheet::AddSupportInfo()
{
    CToviSupportInfo* pSupport = IsListFull(m_lstSupport) ? nullptr : NewModelObject<CToviSupportInfo>();
    if (pSupport == nullptr) {
        ReportMemoryExhausted();
        return kFailInt;
    }
    std::unique_ptr<CToviSupportInfo> owned(pSupport);
    m_lstSupport.push_back(std::move(owned));
    return ListSize(m_lstSupport) - 1;
}

int CSheet::SetToviType(int nSupport, int nType)
{
    CToviSupportInfo* pSupport = GetSupport(nSupport, "SetToviType");
    if (pSupport == nullptr)
        return kFailInt;
    pSupport->m_nToviType = nType;
    return 0;
}

int CSheet::SetToviVersion(int nSupport, const std::string& strVersion)
{
    CToviSupportInfo* pSupport = GetSupport(nSupport, "SetToviVersion");
    if (pSupport == nullptr)
        return kFailInt;
    pSupport->m_strToviVersion = strVersion;
    return 0;
}

int CSheet::AddGroupName(int nSupport, const std::string& strName)
{
    CToviSupportInfo* pSupport = GetSupport(nSupport, "AddGroupName");
    if (pSupport == nullptr)
        return kFailInt;
    return pSupport->AddNormalGroup(strName);
}

// ---------------------------------------------------------------- value parsers

void CSheet::ParseSheetType(std::string_view strValue)
{
    int* const arFields[] = {&m_nSheetClass, &m_nSheetType, &m_nSheetIndex, &m_nSheetOrientation};
    ForEachValue(strValue, [&arFields](std::size_t i, std::string_view strPiece) {
        if (i < std::size(arFields))
            *arFields[i] = TextToInt(strPiece);
    });
}

void CSheet::ParseSheetDeco(std::string_view strValue)
{
    CDeco* pDeco = NewModelObject<CDeco>();
    if (pDeco == nullptr)
        return;
    std::unique_ptr<CDeco> owned(pDeco);
    FillDeco(*owned, strValue);
    m_lstSheetDeco.push_back(std::move(owned));
}

void CSheet::ParseElement(ElementList& lst, std::string_view strValue, bool bEveryLaterPieceIsHeight)
{
    CFixedFree* pElem = NewModelObject<CFixedFree>();
    if (pElem == nullptr) {
        // The lines that follow belong to the element that could not be
        // created: they must not land in the previous one.
        m_pCurElement = nullptr;
        return;
    }
    std::unique_ptr<CFixedFree> owned(pElem);
    if (m_nElementCount < INT_MAX)  // saturates; later elements share the last number
        ++m_nElementCount;
    owned->m_nNo = m_nElementCount;
    ForEachValue(strValue, [&owned, bEveryLaterPieceIsHeight](std::size_t i, std::string_view strPiece) {
        if (i == 0)
            owned->m_nType = TextToInt(strPiece);
        else if (i == 1)
            owned->m_dWidth = TextToReal(strPiece);
        else if (i == 2 || bEveryLaterPieceIsHeight)
            owned->m_dHeight = TextToReal(strPiece);
    });
    m_pCurElement = owned.get();
    PushElement(lst, std::move(owned));
}

void CSheet::ParseFixed(std::string_view strValue)
{
    ParseElement(m_lstFixed, strValue, true);
}
void CSheet::ParseFree(std::string_view strValue)
{
    ParseElement(m_lstFree, strValue, false);
}

void CSheet::ParsePositions(std::string_view strValue, bool bHorizontal)
{
    if (m_pCurElement == nullptr)
        return;
    CFixedFree::PosList& arPos = bHorizontal ? m_pCurElement->m_arHorPos : m_pCurElement->m_arVerPos;
    ForEachValue(strValue, [&arPos](std::size_t, std::string_view strPiece) {
        arPos.push_back(TextToReal(strPiece));  // stored as read, negative values included
    });
}

void CSheet::ParseFixedHorzPos(std::string_view strValue)
{
    ParsePositions(strValue, true);
}
void CSheet::ParseFixedVertPos(std::string_view strValue)
{
    ParsePositions(strValue, false);
}

void CSheet::ParseFreePos(std::string_view strValue)
{
    if (m_pCurElement == nullptr)
        return;
    CFixedFree& elem = *m_pCurElement;
    ForEachValue(strValue, [&elem](std::size_t i, std::string_view strPiece) {
        (i == 0 ? elem.m_arHorPos : elem.m_arVerPos).push_back(TextToReal(strPiece));
    });
}

void CSheet::ParseElementDeco(std::string_view strValue)
{
    if (m_pCurElement == nullptr)
        return;
    CDeco* pDeco = NewModelObject<CDeco>();
    if (pDeco == nullptr)
        return;
    std::unique_ptr<CDeco> owned(pDeco);
    FillDeco(*owned, strValue);
    m_pCurElement->m_lstDeco.push_back(std::move(owned));
}

void CSheet::ParseFixedDeco(std::string_view strValue)
{
    ParseElementDeco(strValue);
}
void CSheet::ParseFreeDeco(std::string_view strValue)
{
    ParseElementDeco(strValue);
}

// ---------------------------------------------------------------- counts

int CSheet::GetSheetDecoNo()
{
    if (m_nSheetType != kKindSheetDeco) {
        Report("GetSheetDecoNo");
        return kFailInt;
    }
    return ListSize(m_lstSheetDeco);
}

int CSheet::GetElementNo() const
{
    if (m_nSheetType == kKindFixed)
        return ListSize(m_lstFixed);
    if (m_nSheetType == kKindFree)
        return ListSize(m_lstFree);
    return 0;
}

int CSheet::GetFixedHorNum(int nElem)
{
    return WithElement(GetFixed(nElem), kFailInt, "GetFixedHorNum", [](CFixedFree& e) { return e.GetHorPosCount(); });
}
int CSheet::GetFixedVerNum(int nElem)
{
    return WithElement(GetFixed(nElem), kFailInt, "GetFixedVerNum", [](CFixedFree& e) { return e.GetVerPosCount(); });
}
int CSheet::GetFixedDecoNo(int nElem)
{
    return WithElement(GetFixed(nElem), kFailInt, "GetFixedDecoNo", [](CFixedFree& e) { return e.GetDecoCount(); });
}
int CSheet::GetFreeDecoNo(int nElem)
{
    return WithElement(GetFree(nElem), kFailInt, "GetFreeDecoNo", [](CFixedFree& e) { return e.GetDecoCount(); });
}

int CSheet::GetGroupNameNo(int nSupport)
{
    CToviSupportInfo* pSupport = GetSupport(nSupport, "GetGroupNameNo");
    return pSupport == nullptr ? kFailInt : ListSize(pSupport->m_lstNormalGroup);
}

int CSheet::GetWizardGroupNameNo(int nSupport)
{
    CToviSupportInfo* pSupport = GetSupport(nSupport, "GetWizardGroupNameNo");
    return pSupport == nullptr ? kFailInt : ListSize(pSupport->m_lstWizardGroup);
}

int CSheet::GetSupportInfoNo() const
{
    return ListSize(m_lstSupport);
}

// ---------------------------------------------------------------- sheet decoration values

int CSheet::GetSheetDecoType(int nDeco)
{
    CDeco* pDeco = GetDeco(nDeco);
    if (pDeco == nullptr) {
        Report("GetSheetDecoType");
        return kFailInt;
    }
    return ConvertDecoType(pDeco->m_nType);
}

double CSheet::GetSheetDecoField(int nDeco, double CDeco::*pField, const char* pszMethod)
{
    CDeco* pDeco = GetDeco(nDeco);
    if (pDeco == nullptr) {
        Report(pszMethod);
        return kFailReal;
    }
    return pDeco->*pField;
}

double CSheet::GetSheetDecoStartX(int nDeco)
{
    return GetSheetDecoField(nDeco, &CDeco::m_dStartX, "GetSheetDecoStartX");
}
double CSheet::GetSheetDecoStartY(int nDeco)
{
    return GetSheetDecoField(nDeco, &CDeco::m_dStartY, "GetSheetDecoStartY");
}
double CSheet::GetSheetDecoEndX(int nDeco)
{
    return GetSheetDecoField(nDeco, &CDeco::m_dEndX, "GetSheetDecoEndX");
}
double CSheet::GetSheetDecoEndY(int nDeco)
{
    return GetSheetDecoField(nDeco, &CDeco::m_dEndY, "GetSheetDecoEndY");
}

// ---------------------------------------------------------------- element values

// The type of an element's decoration in the version-5 coding. When the
// element reports a failure its -99 is passed on unconverted.
int CSheet::GetElementDecoType(CFixedFree& elem, int nDeco)
{
    const int nType = elem.GetDecoType(nDeco);
    return nType == kFailInt ? kFailInt : ConvertDecoType(nType);
}

int CSheet::GetFixedType(int nElem)
{
    return WithElement(GetFixed(nElem), kFailInt, "GetFixedType", [](CFixedFree& e) { return e.m_nType; });
}
double CSheet::GetFixedWidth(int nElem)
{
    return WithElement(GetFixed(nElem), kFailReal, "GetFixedWidth", [](CFixedFree& e) { return e.m_dWidth; });
}
double CSheet::GetFixedHeight(int nElem)
{
    return WithElement(GetFixed(nElem), kFailReal, "GetFixedHeight", [](CFixedFree& e) { return e.m_dHeight; });
}
double CSheet::GetFixedHorPos(int nElem, int nPos)
{
    return WithElement(GetFixed(nElem), kFailReal, "GetFixedHorPos", [&](CFixedFree& e) { return e.GetHorPos(nPos); });
}
double CSheet::GetFixedVerPos(int nElem, int nPos)
{
    return WithElement(GetFixed(nElem), kFailReal, "GetFixedVerPos", [&](CFixedFree& e) { return e.GetVerPos(nPos); });
}
int CSheet::GetFixedDecoType(int nElem, int nDeco)
{
    return WithElement(GetFixed(nElem), kFailInt, "GetFixedDecoType",
                       [&](CFixedFree& e) { return GetElementDecoType(e, nDeco); });
}
double CSheet::GetFixedDecoStartX(int nElem, int nDeco)
{
    return WithElement(GetFixed(nElem), kFailReal, "GetFixedDecoStartX",
                       [&](CFixedFree& e) { return e.GetDecoStartX(nDeco); });
}
double CSheet::GetFixedDecoStartY(int nElem, int nDeco)
{
    return WithElement(GetFixed(nElem), kFailReal, "GetFixedDecoStartY",
                       [&](CFixedFree& e) { return e.GetDecoStartY(nDeco); });
}
double CSheet::GetFixedDecoEndX(int nElem, int nDeco)
{
    return WithElement(GetFixed(nElem), kFailReal, "GetFixedDecoEndX",
                       [&](CFixedFree& e) { return e.GetDecoEndX(nDeco); });
}
double CSheet::GetFixedDecoEndY(int nElem, int nDeco)
{
    return WithElement(GetFixed(nElem), kFailReal, "GetFixedDecoEndY",
                       [&](CFixedFree& e) { return e.GetDecoEndY(nDeco); });
}

int CSheet::GetFreeType(int nElem)
{
    return WithElement(GetFree(nElem), kFailInt, "GetFreeType", [](CFixedFree& e) { return e.m_nType; });
}
double CSheet::GetFreeWidth(int nElem)
{
    return WithElement(GetFree(nElem), kFailReal, "GetFreeWidth", [](CFixedFree& e) { return e.m_dWidth; });
}
double CSheet::GetFreeHeight(int nElem)
{
    return WithElement(GetFree(nElem), kFailReal, "GetFreeHeight", [](CFixedFree& e) { return e.m_dHeight; });
}
double CSheet::GetFreeHorPos(int nElem)
{
    return WithElement(GetFree(nElem), kFailReal, "GetFreeHorPos", [](CFixedFree& e) { return e.GetHorPos(0); });
}
double CSheet::GetFreeVerPos(int nElem)
{
    return WithElement(GetFree(nElem), kFailReal, "GetFreeVerPos", [](CFixedFree& e) { return e.GetVerPos(0); });
}
int CSheet::GetFreeDecoType(int nElem, int nDeco)
{
    return WithElement(GetFree(nElem), kFailInt, "GetFreeDecoType",
                       [&](CFixedFree& e) { return GetElementDecoType(e, nDeco); });
}
double CSheet::GetFreeDecoStartX(int nElem, int nDeco)
{
    return WithElement(GetFree(nElem), kFailReal, "GetFreeDecoStartX",
                       [&](CFixedFree& e) { return e.GetDecoStartX(nDeco); });
}
double CSheet::GetFreeDecoStartY(int nElem, int nDeco)
{
    return WithElement(GetFree(nElem), kFailReal, "GetFreeDecoStartY",
                       [&](CFixedFree& e) { return e.GetDecoStartY(nDeco); });
}
double CSheet::GetFreeDecoEndX(int nElem, int nDeco)
{
    return WithElement(GetFree(nElem), kFailReal, "GetFreeDecoEndX",
                       [&](CFixedFree& e) { return e.GetDecoEndX(nDeco); });
}
double CSheet::GetFreeDecoEndY(int nElem, int nDeco)
{
    return WithElement(GetFree(nElem), kFailReal, "GetFreeDecoEndY",
                       [&](CFixedFree& e) { return e.GetDecoEndY(nDeco); });
}

// ---------------------------------------------------------------- group names

std::string CSheet::GetGroupName(int nSupport, int nName)
{
    CToviSupportInfo* pSupport = GetSupport(nSupport, "GetGroupName");
    return pSupport == nullptr ? std::string(kFailText) : pSupport->GetNormalGroup(nName);
}

std::string CSheet::GetWizardGroupName(int nSupport, int nName)
{
    CToviSupportInfo* pSupport = GetSupport(nSupport, "GetWizardGroupName");
    return pSupport == nullptr ? std::string(kFailText) : pSupport->GetWizardGroup(nName);
}
