#pragma once
// A layout element of a sheet (fixed or free) and the decoration record.

#include "model/ObjectPool.h"
#include "model/SmallList.h"

#include <memory>

/// A decoration: a type code with a start and an end point.
/// Records come from a pool of their own.
class CDeco : public CPooledObject<CDeco> {
public:
    CDeco() = default;
    explicit CDeco(int nType) : m_nType(nType) {}

    int m_nType = -1;  ///< -1 = not set; stored and returned unchanged
    double m_dStartX = 0.0;
    double m_dStartY = 0.0;
    double m_dEndX = 0.0;
    double m_dEndY = 0.0;
};

/// A layout element: number, type, size, position lists and decorations.
/// Failures are reported under the class name "CFixedFree".
/// Elements come from a pool of their own.
class CFixedFree : public CPooledObject<CFixedFree> {
public:
    CFixedFree() = default;
    CFixedFree(const CFixedFree&) = delete;
    CFixedFree& operator=(const CFixedFree&) = delete;

    int AddHorPos(double dPos);
    int SetHorPos(int nIndex, double dPos);
    int AddVerPos(double dPos);
    int SetVerPos(int nIndex, double dPos);
    double GetHorPos(int nIndex);
    double GetVerPos(int nIndex);

    /// Appends a decoration of that type; its index, or -99 when it cannot be created.
    int AddDeco(int nType);
    int SetDecoStartX(int nDeco, double dValue);
    int SetDecoStartY(int nDeco, double dValue);
    int SetDecoEndX(int nDeco, double dValue);
    int SetDecoEndY(int nDeco, double dValue);
    int GetDecoType(int nDeco);
    double GetDecoStartX(int nDeco);
    double GetDecoStartY(int nDeco);
    double GetDecoEndX(int nDeco);
    double GetDecoEndY(int nDeco);

    /// Clears size, positions and decorations; number and type stay.
    int Free();

    /// List sizes (no checks, no reports).
    int GetHorPosCount() const;
    int GetVerPosCount() const;
    int GetDecoCount() const;

    int m_nNo = 0;
    int m_nType = -1;  ///< -1 = not set
    double m_dWidth = 0.0;
    double m_dHeight = 0.0;
    using PosList = CSmallList<double, 2>;
    using DecoList = CSmallList<std::unique_ptr<CDeco>, 1>;

    PosList m_arHorPos;
    PosList m_arVerPos;
    /// Owned decorations; a null entry is a node without a record.
    DecoList m_lstDeco;

private:
    int AddPos(PosList& arPos, double dPos, const char* pszMethod);
    int SetPos(PosList& arPos, int nIndex, double dPos, const char* pszMethod);
    double GetPos(const PosList& arPos, int nIndex, const char* pszMethod);
    CDeco* FindDeco(int nDeco);
    int SetDecoField(int nDeco, double CDeco::*pField, double dValue, const char* pszMethod);
    double GetDecoField(int nDeco, double CDeco::*pField, const char* pszMethod);
};
