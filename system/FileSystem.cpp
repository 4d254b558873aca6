#include "system/FileSystem.h"

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

EOutputFailure CFileSystem::ProbeOutputFile(const std::string& strPath)
{
    // The same checks and the same temporary file as the real write, undone
    // at once: whatever would refuse the write refuses it here.
    CAtomicOutputFile file;
    if (!file.Create(strPath))
        return file.GetFailure() == EOutputFailure::None ? EOutputFailure::Other : file.GetFailure();
    file.Abandon();
    return EOutputFailure::None;
}
