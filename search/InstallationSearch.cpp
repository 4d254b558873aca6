#include "search/InstallationSearch.h"

#include "text/CodePage.h"

namespace {

/// Ends the read-ahead of a walk however the walk ends.
class CWalkEnd {
public:
    explicit CWalkEnd(CFolderReadAhead& readAhead) : m_readAhead(readAhead) {}
    ~CWalkEnd() { m_readAhead.End(); }
    CWalkEnd(const CWalkEnd&) = delete;
    CWalkEnd& operator=(const CWalkEnd&) = delete;

private:
    CFolderReadAhead& m_readAhead;
};

/// The root without its trailing separators ("/" becomes "", "C:\\" becomes
/// "C:"): the walk puts one separator before every name it appends.
std::string_view WithoutTrailingSeparators(std::string_view strPath, EPathStyle eStyle)
{
    while (!strPath.empty() && IsPathSeparator(strPath.back(), eStyle))
        strPath.remove_suffix(1);
    return strPath;
}

bool IsDotEntry(std::string_view strName)
{
    return strName == "." || strName == "..";
}

}  // namespace

CInstallationSearch::CInstallationSearch(CFileSystem& fileSystem, std::uint32_t& nEntryCount)
    : m_fileSystem(fileSystem),
      m_nEntryCount(nEntryCount),
      m_cSeparator(PathSeparator(fileSystem.GetPathStyle())),
      m_readAhead(fileSystem, kReadAheadHelpers)
{
}

bool CInstallationSearch::BeginWalk(const std::string& strRoot)
{
    if (!m_readAhead.Begin(strRoot))
        return false;
    m_strWalkPath.assign(WithoutTrailingSeparators(strRoot, m_fileSystem.GetPathStyle()));
    return true;
}

std::string CInstallationSearch::SearchRoot(const std::string& strRoot, CSearchProgress& dlg, std::string& strNewPath,
                                            int bOldFound, int bNewFound)
{
    if (!BeginWalk(strRoot))
        return std::string();
    return SearchFolder(dlg, strNewPath, bOldFound, bNewFound);
}

int CInstallationSearch::FindPartner(const CFolderEntries& entries, std::string_view strFolder,
                                     std::string_view strName, std::string& strPath) const
{
    size_t nMatch = entries.Size();
    for (size_t i = 0; i < entries.Size(); ++i) {
        if (!entries.IsFolder(i) && EqualNoCaseAscii(entries.Name(i), strName))
            nMatch = i;
    }
    if (nMatch == entries.Size())
        return 0;
    strPath.assign(strFolder);
    strPath += m_cSeparator;
    strPath.append(entries.Name(nMatch));
    return 1;
}

void CInstallationSearch::EnterLevel(size_t nLevel, int bOldFound, int bNewFound)
{
    static const CFolderEntries kNoEntries;
    if (m_arLevels.size() <= nLevel)
        m_arLevels.resize(nLevel + 1);
    SWalkLevel& level = m_arLevels[nLevel];
    const CFolderEntries* pEntries = m_readAhead.Next();
    level.pEntries = pEntries ? pEntries : &kNoEntries;
    level.nNextEntry = 0;
    level.nPathLength = m_strWalkPath.size();
    level.bFilesDone = false;
    level.bOldFound = bOldFound;
    level.bNewFound = bNewFound;
    level.strFoundOld.clear();
    level.strNewPath.clear();
}

bool CInstallationSearch::SearchFiles(SWalkLevel& level, CSearchProgress& dlg, std::string& strNewPath)
{
    const CFolderEntries& entries = *level.pEntries;
    const size_t nFolderLength = level.nPathLength;
    for (size_t i = 0; i < entries.Size(); ++i) {
        if (dlg.CheckCancelButton())
            return false;
        if (m_nEntryCount % 1000 == 0)
            dlg.StepIt();
        ++m_nEntryCount;
        if (entries.IsFolder(i))
            continue;

        const std::string_view strName = entries.Name(i);
        m_strWalkPath.resize(nFolderLength);
        m_strWalkPath += m_cSeparator;
        m_strWalkPath.append(strName);
        dlg.SetStatus(m_strWalkPath);

        if (!level.bOldFound) {
            // Versions 2, 3 and 4, executable before data file: the first
            // name that matches decides.
            for (size_t nVersion = 0; nVersion < 3; ++nVersion) {
                const SVersionNames& names = kNames[nVersion];
                const bool bExecutable = EqualNoCaseAscii(strName, names.pExecutable);
                if (!bExecutable && !EqualNoCaseAscii(strName, names.pDataFile))
                    continue;
                std::string strPartner;
                const std::string_view strFolder(m_strWalkPath.data(), nFolderLength);
                if (FindPartner(entries, strFolder, bExecutable ? names.pDataFile : names.pExecutable, strPartner)) {
                    level.strFoundOld = bExecutable ? strPartner : m_strWalkPath;
                    level.bOldFound = 1;
                }
                break;
            }
        }
        if (!level.bNewFound && EqualNoCaseAscii(strName, kNames[3].pExecutable)) {
            strNewPath = m_strWalkPath;
            level.bNewFound = 1;
        }
        if (level.bOldFound && level.bNewFound)
            break;
    }
    m_strWalkPath.resize(nFolderLength);
    return true;
}

std::string CInstallationSearch::EndCancelledWalk(CSearchProgress& dlg, size_t nLevel)
{
    // Every level above returns "" after its own look at the Cancel button
    // (which pumps the dialog's messages), as a walk returning level by
    // level does.
    for (; nLevel > 0; --nLevel)
        dlg.CheckCancelButton();
    return std::string();
}

std::string CInstallationSearch::SearchFolder(CSearchProgress& dlg, std::string& strNewPath, int bOldFound,
                                              int bNewFound)
{
    // One level per folder from the root down to the folder being walked;
    // the read-ahead hands out the listings in the order the levels ask.
    CWalkEnd walkEnd(m_readAhead);
    size_t nTop = 0;
    EnterLevel(0, bOldFound, bNewFound);
    for (;;) {
        SWalkLevel& level = m_arLevels[nTop];
        std::string& strLevelNew = nTop == 0 ? strNewPath : level.strNewPath;
        const CFolderEntries& entries = *level.pEntries;
        if (!level.bFilesDone) {
            if (!SearchFiles(level, dlg, strLevelNew))
                return EndCancelledWalk(dlg, nTop);
            level.bFilesDone = true;
        }
        // The next subfolder, unless both installations are found.
        size_t i = level.nNextEntry;
        if (!(level.bOldFound && level.bNewFound)) {
            while (i < entries.Size() && (!entries.IsFolder(i) || IsDotEntry(entries.Name(i))))
                ++i;
        } else {
            i = entries.Size();
        }
        if (i < entries.Size()) {
            level.nNextEntry = i + 1;
            m_strWalkPath += m_cSeparator;
            m_strWalkPath.append(entries.Name(i));
            EnterLevel(++nTop, level.bOldFound, level.bNewFound);
            continue;
        }

        // This folder's walk is done: its result goes to the level above.
        if (nTop == 0)
            return std::move(level.strFoundOld);
        SWalkLevel& parent = m_arLevels[--nTop];
        m_strWalkPath.resize(parent.nPathLength);
        if (dlg.CheckCancelButton())
            return EndCancelledWalk(dlg, nTop);
        if (!level.strFoundOld.empty()) {
            parent.strFoundOld = std::move(level.strFoundOld);
            parent.bOldFound = 1;
        }
        if (!level.strNewPath.empty()) {
            (nTop == 0 ? strNewPath : parent.strNewPath) = std::move(level.strNewPath);
            parent.bNewFound = 1;
        }
    }
}
