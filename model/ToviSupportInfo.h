#pragma once
// The support record of a sheet: product type, product version and the
// normal and wizard group names.

#include <memory>
#include <string>
#include <vector>

class CToviSupportInfo {
public:
    CToviSupportInfo() = default;
    /// Runs Free first (its result is not used), then destroys what is left.
    ~CToviSupportInfo();
    CToviSupportInfo(const CToviSupportInfo&) = delete;
    CToviSupportInfo& operator=(const CToviSupportInfo&) = delete;

    /// 0 when the name was appended; -99 without a message when it is already
    /// held (or the search failed); -99 with the memory message when the copy
    /// cannot be created.
    int AddNormalGroup(const std::string& strName);
    /// Index of the byte-for-byte equal name, -1 when there is none.
    int FindNormalGroup(const std::string& strName);
    std::string GetNormalGroup(int nIndex);
    std::string GetWizardGroup(int nIndex);
    /// Empties both name lists; type and version stay.
    int Free();

    int m_nToviType = -1;  ///< -1 = not set
    /// Owned names; a null entry is a node without a name.
    std::vector<std::unique_ptr<std::string>> m_lstNormalGroup;
    std::vector<std::unique_ptr<std::string>> m_lstWizardGroup;
    std::string m_strToviVersion;

private:
    std::string GetGroup(const std::vector<std::unique_ptr<std::string>>& lstGroup, int nIndex, const char* pszMethod);
    int FreeList(std::vector<std::unique_ptr<std::string>>& lstGroup);
};
