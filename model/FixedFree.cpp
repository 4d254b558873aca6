#include "model/FixedFree.h"

#include "model/Allocation.h"
#include "model/ListSize.h"
#include "model/MethodFailure.h"

namespace {

void Report(const char* pszMethod)
{
    ReportMethodFailure(EFailureClass::FixedFree, "CFixedFree", pszMethod);
}

// A position is 0 or greater; a negative value or NaN is refused.
bool IsValidPos(double dPos)
{
    return dPos >= 0.0;
}

}  // namespace

int CFixedFree::AddPos(PosList& arPos, double dPos, const char* pszMethod)
{
    if (!IsValidPos(dPos)) {
        Report(pszMethod);
        return kFailInt;
    }
    if (IsListFull(arPos)) {
        ReportMemoryExhausted();
        return kFailInt;
    }
    arPos.push_back(dPos);
    return ListSize(arPos) - 1;
}

int CFixedFree::SetPos(PosList& arPos, int nIndex, double dPos, const char* pszMethod)
{
    if (nIndex >= ListSize(arPos) || nIndex < 0 || !IsValidPos(dPos)) {
        Report(pszMethod);
        return kFailInt;
    }
    arPos[static_cast<std::size_t>(nIndex)] = dPos;
    return 0;
}

double CFixedFree::GetPos(const PosList& arPos, int nIndex, const char* pszMethod)
{
    if (nIndex >= ListSize(arPos) || nIndex < 0) {
        Report(pszMethod);
        return kFailReal;
    }
    return arPos[static_cast<std::size_t>(nIndex)];
}

int CFixedFree::AddHorPos(double dPos)
{
    return AddPos(m_arHorPos, dPos, "AddHorPos");
}
int CFixedFree::SetHorPos(int nIndex, double dPos)
{
    return SetPos(m_arHorPos, nIndex, dPos, "SetHorPos");
}
int CFixedFree::AddVerPos(double dPos)
{
    return AddPos(m_arVerPos, dPos, "AddVerPos");
}
int CFixedFree::SetVerPos(int nIndex, double dPos)
{
    return SetPos(m_arVerPos, nIndex, dPos, "SetVerPos");
}
double CFixedFree::GetHorPos(int nIndex)
{
    return GetPos(m_arHorPos, nIndex, "GetHorPos");
}
double CFixedFree::GetVerPos(int nIndex)
{
    return GetPos(m_arVerPos, nIndex, "GetVerPos");
}

int CFixedFree::AddDeco(int nType)
{
    CDeco* pDeco = IsListFull(m_lstDeco) ? nullptr : NewModelObject<CDeco>(nType);
    if (pDeco == nullptr) {
        ReportMemoryExhausted();
        return kFailInt;
    }
    std::unique_ptr<CDeco> owned(pDeco);
    m_lstDeco.push_back(std::move(owned));
    return ListSize(m_lstDeco) - 1;
}

// The look-up of the decoration operations. Its report names "DeleteDeco",
// the text users have always seen for a bad decoration index. A node without
// a record yields none without a report of its own; the caller reports it.
CDeco* CFixedFree::FindDeco(int nDeco)
{
    if (nDeco < 0 || nDeco >= ListSize(m_lstDeco)) {
        Report("DeleteDeco");
        return nullptr;
    }
    return m_lstDeco[static_cast<std::size_t>(nDeco)].get();
}

int CFixedFree::SetDecoField(int nDeco, double CDeco::*pField, double dValue, const char* pszMethod)
{
    CDeco* pDeco = FindDeco(nDeco);
    if (pDeco == nullptr) {
        Report(pszMethod);
        return kFailInt;
    }
    pDeco->*pField = dValue;
    return 0;
}

double CFixedFree::GetDecoField(int nDeco, double CDeco::*pField, const char* pszMethod)
{
    CDeco* pDeco = FindDeco(nDeco);
    if (pDeco == nullptr) {
        Report(pszMethod);
        return kFailReal;
    }
    return pDeco->*pField;
}

int CFixedFree::SetDecoStartX(int nDeco, double dValue)
{
    return SetDecoField(nDeco, &CDeco::m_dStartX, dValue, "SetDecoStartX");
}
int CFixedFree::SetDecoStartY(int nDeco, double dValue)
{
    return SetDecoField(nDeco, &CDeco::m_dStartY, dValue, "SetDecoStartY");
}
int CFixedFree::SetDecoEndX(int nDeco, double dValue)
{
    return SetDecoField(nDeco, &CDeco::m_dEndX, dValue, "SetDecoEndX");
}
int CFixedFree::SetDecoEndY(int nDeco, double dValue)
{
    return SetDecoField(nDeco, &CDeco::m_dEndY, dValue, "SetDecoEndY");
}

int CFixedFree::GetDecoType(int nDeco)
{
    CDeco* pDeco = FindDeco(nDeco);
    if (pDeco == nullptr) {
        Report("GetDecoType");
        return kFailInt;
    }
    return pDeco->m_nType;
}

double CFixedFree::GetDecoStartX(int nDeco)
{
    return GetDecoField(nDeco, &CDeco::m_dStartX, "GetDecoStartX");
}
double CFixedFree::GetDecoStartY(int nDeco)
{
    return GetDecoField(nDeco, &CDeco::m_dStartY, "GetDecoStartY");
}
double CFixedFree::GetDecoEndX(int nDeco)
{
    return GetDecoField(nDeco, &CDeco::m_dEndX, "GetDecoEndX");
}
double CFixedFree::GetDecoEndY(int nDeco)
{
    return GetDecoField(nDeco, &CDeco::m_dEndY, "GetDecoEndY");
}

int CFixedFree::Free()
{
    m_dWidth = 0.0;
    m_dHeight = 0.0;
    m_arHorPos.clear();
    m_arHorPos.shrink_to_fit();
    m_arVerPos.clear();
    m_arVerPos.shrink_to_fit();
    const std::size_t n = m_lstDeco.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!m_lstDeco[i]) {
            Report("Free");
            // The decorations released so far leave the list; the others stay.
            m_lstDeco.erase(m_lstDeco.begin(), m_lstDeco.begin() + static_cast<std::ptrdiff_t>(i));
            return kFailInt;
        }
        m_lstDeco[i].reset();
    }
    m_lstDeco.clear();
    return 0;
}

int CFixedFree::GetHorPosCount() const
{
    return ListSize(m_arHorPos);
}
int CFixedFree::GetVerPosCount() const
{
    return ListSize(m_arVerPos);
}
int CFixedFree::GetDecoCount() const
{
    return ListSize(m_lstDeco);
}
