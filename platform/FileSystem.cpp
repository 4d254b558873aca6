#include "platform/FileSystem.h"

void CFolderEntries::Add(std::string_view strName, bool bFolder)
{
    SEntry entry;
    entry.nOffset = static_cast<std::uint32_t>(m_strNames.size());
    entry.nLength = static_cast<std::uint32_t>(strName.size());
    entry.bFolder = bFolder;
    m_strNames.append(strName);
    m_strNames.push_back('\0');
    m_arEntries.push_back(entry);
}
