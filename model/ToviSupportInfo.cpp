#include "model/ToviSupportInfo.h"

#include "model/Allocation.h"
#include "model/ListSize.h"
#include "model/MethodFailure.h"

namespace {

// The reports name the class in two spellings, as users have always seen
// them: the look-ups with "pp", the search and the release with one "p".
void ReportLookup(const char* pszMethod)
{
    ReportMethodFailure(EFailureClass::SupportInfo, "CToviSupportInfo", pszMethod);
}

void ReportListWork(const char* pszMethod)
{
    ReportMethodFailure(EFailureClass::SupportInfo, "CToviSuportInfo", pszMethod);
}

}  // namespace

int CToviSupportInfo::FindNormalGroup(const std::string& strName)
{
    const std::size_t n = m_lstNormalGroup.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!m_lstNormalGroup[i]) {
            ReportListWork("FindNormalGroup");
            return kFailInt;
        }
        // Byte-for-byte equality is character equality in code page 932.
        if (*m_lstNormalGroup[i] == strName)
            return static_cast<int>(i);
    }
    return -1;
}

int CToviSupportInfo::AddNormalGroup(const std::string& strName)
{
    if (FindNormalGroup(strName) != -1)
        return kFailInt;  // already held, or the search failed: refused silently
    std::string* pName = IsListFull(m_lstNormalGroup) ? nullptr : NewModelObject<std::string>(strName);
    if (pName == nullptr) {
        ReportMemoryExhausted();
        return kFailInt;
    }
    std::unique_ptr<std::string> owned(pName);
    m_lstNormalGroup.push_back(std::move(owned));
    return 0;
}

std::string CToviSupportInfo::GetGroup(const std::vector<std::unique_ptr<std::string>>& lstGroup, int nIndex,
                                       const char* pszMethod)
{
    if (nIndex >= ListSize(lstGroup) || nIndex < 0 || !lstGroup[static_cast<std::size_t>(nIndex)]) {
        ReportLookup(pszMethod);
        return std::string(kFailText);
    }
    return *lstGroup[static_cast<std::size_t>(nIndex)];
}

std::string CToviSupportInfo::GetNormalGroup(int nIndex)
{
    return GetGroup(m_lstNormalGroup, nIndex, "GetNormalGroup");
}
std::string CToviSupportInfo::GetWizardGroup(int nIndex)
{
    return GetGroup(m_lstWizardGroup, nIndex, "GetWizardGroup");
}

int CToviSupportInfo::FreeList(std::vector<std::unique_ptr<std::string>>& lstGroup)
{
    const std::size_t n = lstGroup.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!lstGroup[i]) {
            ReportListWork("Free");
            // The names released so far leave the list; the others stay.
            lstGroup.erase(lstGroup.begin(), lstGroup.begin() + static_cast<std::ptrdiff_t>(i));
            return kFailInt;
        }
        lstGroup[i].reset();
    }
    lstGroup.clear();
    return 0;
}

CToviSupportInfo::~CToviSupportInfo()
{
    Free();
}

int CToviSupportInfo::Free()
{
    if (FreeList(m_lstNormalGroup) != 0)
        return kFailInt;
    return FreeList(m_lstWizardGroup);
}
