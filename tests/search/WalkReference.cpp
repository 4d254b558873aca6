#include "tests/search/WalkReference.h"

#include "app/ConverterApp.h"
#include "app/ProgressDlg.h"
#include "tests/support/ScriptedFrontEnd.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>

namespace {
/// Records every call the walk makes on its progress window and presses
/// Cancel during a chosen pump.
class CRecordingProgressView : public CProgressView {
public:
    CRecordingProgressView(std::vector<std::string>& arEvents, size_t nCancelAtPump)
        : m_arEvents(arEvents), m_nCancelAtPump(nCancelAtPump)
    {
    }
    bool Create(CProgressEvents& events) override
    {
        m_pEvents = &events;
        return true;
    }
    void Destroy() override {}
    void SetTitle(const std::string&) override {}
    void SetStatus(std::string_view strText) override { m_arEvents.emplace_back(strText); }
    void SetRange(int, int) override {}
    void SetPos(int nPos) override { m_arEvents.push_back("pos " + std::to_string(nPos)); }
    void SetPercentText(const std::string&) override {}
    void PumpMessages() override
    {
        m_arEvents.emplace_back("pump");
        if (++m_nPumps == m_nCancelAtPump)
            m_pEvents->OnCancel();
    }

private:
    std::vector<std::string>& m_arEvents;
    size_t m_nCancelAtPump;
    size_t m_nPumps = 0;
    CProgressEvents* m_pEvents = nullptr;
};

struct SNames {
    const char* pExecutable;
    const char* pDataFile;
};
constexpr SNames kOldNames[] = {{"Tovipri.exe", "User.FDF"}, {"Tovi3.exe", "User.YLI"}, {"Tovi4.exe", "User.YLI"}};

class CReferenceWalk {
public:
    CReferenceWalk(CFileSystem& fileSystem, CProgressDlg& dlg, std::uint32_t& nCount)
        : m_fileSystem(fileSystem), m_dlg(dlg), m_nCount(nCount)
    {
    }

    std::string Walk(int nFolder, const std::string& strPath, std::string& strNew, int bOld, int bNew)
    {
        CFolderEntries entries;
        m_fileSystem.ReadFolder(nFolder, entries);
        std::string strFound = WalkFolder(nFolder, entries, strPath, strNew, bOld, bNew);
        m_fileSystem.CloseFolder(nFolder);
        return strFound;
    }

private:
    std::string WalkFolder(int nFolder, const CFolderEntries& entries, const std::string& strPath, std::string& strNew,
                           int bOld, int bNew)
    {
        std::string strFound;
        for (size_t i = 0; i < entries.Size(); ++i) {
            if (m_dlg.CheckCancelButton())
                return std::string();
            if (m_nCount % 1000 == 0)
                m_dlg.StepIt();
            ++m_nCount;
            if (entries.IsFolder(i))
                continue;
            const std::string strName(entries.Name(i));
            const std::string strFull = strPath + "/" + strName;
            m_dlg.SetStatus(strFull);
            for (const SNames& names : kOldNames) {
                if (bOld)
                    break;
                const bool bExecutable = EqualNoCaseAscii(strName, names.pExecutable);
                if (!bExecutable && !EqualNoCaseAscii(strName, names.pDataFile))
                    continue;
                std::string strPartner;
                for (size_t j = 0; j < entries.Size(); ++j) {
                    if (!entries.IsFolder(j) &&
                        EqualNoCaseAscii(entries.Name(j), bExecutable ? names.pDataFile : names.pExecutable))
                        strPartner = strPath + "/" + std::string(entries.Name(j));
                }
                if (!strPartner.empty()) {
                    strFound = bExecutable ? strPartner : strFull;
                    bOld = 1;
                }
                break;
            }
            if (!bNew && EqualNoCaseAscii(strName, "Tovi5.exe")) {
                strNew = strFull;
                bNew = 1;
            }
            if (bOld && bNew)
                break;
        }
        if (bOld && bNew)
            return strFound;
        for (size_t i = 0; i < entries.Size(); ++i) {
            const std::string strName(entries.Name(i));
            if (!entries.IsFolder(i) || strName == "." || strName == "..")
                continue;
            std::string strSubOld;
            std::string strSubNew;
            const int nSub = m_fileSystem.OpenSubFolder(nFolder, strName);
            if (nSub >= 0)
                strSubOld = Walk(nSub, strPath + "/" + strName, strSubNew, bOld, bNew);
            if (m_dlg.CheckCancelButton())
                return std::string();
            if (!strSubOld.empty()) {
                strFound = strSubOld;
                bOld = 1;
            }
            if (!strSubNew.empty()) {
                strNew = strSubNew;
                bNew = 1;
            }
            if (bOld && bNew)
                break;
        }
        return strFound;
    }

    CFileSystem& m_fileSystem;
    CProgressDlg& m_dlg;
    std::uint32_t& m_nCount;
};

}  // namespace

SWalkRecord WalkWithApp(CFileSystem& fileSystem, const SWalkRequest& request, unsigned nHelpers, size_t nMaxAheadCost)
{
    SWalkRecord record;
    CScriptedFrontEnd dialogs;
    CConverterApp app(fileSystem, dialogs, DocFactory());
    app.SetReadAhead(nHelpers, nMaxAheadCost);
    app.m_nEntryCount = request.nFirstEntry;
    CProgressDlg dlg(std::make_unique<CRecordingProgressView>(record.arEvents, request.nCancelAtPump));
    dlg.Create();
    record.arEvents.clear();
    record.strOld = app.SearchRoot(request.strRoot, dlg, record.strNew, request.bOldFound, request.bNewFound);
    record.nEntryCount = app.m_nEntryCount;
    record.bCancel = dlg.m_bCancel;
    return record;
}

SWalkRecord WalkByReference(CFileSystem& fileSystem, const SWalkRequest& request)
{
    SWalkRecord record;
    record.nEntryCount = request.nFirstEntry;
    CProgressDlg dlg(std::make_unique<CRecordingProgressView>(record.arEvents, request.nCancelAtPump));
    dlg.Create();
    record.arEvents.clear();
    const int nRoot = fileSystem.OpenRoot(request.strRoot);
    if (nRoot >= 0) {
        CReferenceWalk walk(fileSystem, dlg, record.nEntryCount);
        std::string strPath = request.strRoot;
        while (!strPath.empty() && strPath.back() == '/')
            strPath.pop_back();
        record.strOld = walk.Walk(nRoot, strPath, record.strNew, request.bOldFound, request.bNewFound);
    }
    record.bCancel = dlg.m_bCancel;
    return record;
}

std::vector<std::pair<std::string, bool>> MakeRandomTree(unsigned nSeed)
{
    static const char* const kMarkers[] = {
        "Tovi3.exe", "User.YLI", "user.yli", "TOVI4.EXE", "Tovipri.exe", "User.FDF", "Tovi5.exe", "tovi5.EXE",
    };
    std::mt19937 random(nSeed);
    std::vector<std::pair<std::string, bool>> arItems;
    std::vector<std::pair<std::string, int>> arFolders{{"", 0}};
    while (!arFolders.empty() && arItems.size() < 400) {
        // Now the folder made last, now one made long ago.
        const size_t nPick = random() % 2 ? arFolders.size() - 1 : random() % arFolders.size();
        const auto [strFolder, nDepth] = arFolders[nPick];
        arFolders.erase(arFolders.begin() + static_cast<std::ptrdiff_t>(nPick));
        std::set<std::string> names;
        const int nCount = static_cast<int>(random() % 12);
        for (int i = 0; i < nCount; ++i) {
            // Mostly plain names; a marker now and then, as a file or a folder.
            std::string strName =
                random() % 12 == 0 ? kMarkers[random() % std::size(kMarkers)] : "n" + std::to_string(random() % 30);
            if (!names.insert(strName).second)
                continue;
            const bool bFolder = nDepth < 8 && random() % 5 < 2;
            const std::string strPath = strFolder.empty() ? strName : strFolder + "/" + strName;
            arItems.emplace_back(strPath, bFolder);
            if (bFolder)
                arFolders.emplace_back(strPath, nDepth + 1);
        }
    }
    return arItems;
}

void ExpectSameWalks(CFileSystem& fileSystem, const std::string& strRoot, unsigned nSeed)
{
    std::mt19937 random(nSeed * 7919u + 1u);
    SWalkRequest request;
    request.strRoot = strRoot;
    request.bOldFound = static_cast<int>(random() % 3 == 0);
    request.bNewFound = request.bOldFound ? 0 : static_cast<int>(random() % 3 == 0);
    request.nFirstEntry = static_cast<std::uint32_t>(990 + random() % 20);  // the bar steps within the tree
    const SWalkRecord whole = WalkByReference(fileSystem, request);
    const size_t nPumps = static_cast<size_t>(std::count(whole.arEvents.begin(), whole.arEvents.end(), "pump"));
    if (random() % 3 != 0)
        request.nCancelAtPump = 1 + random() % (nPumps + 1);
    const SWalkRecord expected = request.nCancelAtPump ? WalkByReference(fileSystem, request) : whole;
    constexpr size_t kDefault = CFolderReadAhead::kMaxAheadCost;
    for (const auto& [nHelpers, nMaxAheadCost] :
         {std::pair{0u, kDefault}, {1u, kDefault}, {3u, kDefault}, {3u, size_t{20}}}) {
        const SWalkRecord actual = WalkWithApp(fileSystem, request, nHelpers, nMaxAheadCost);
        const std::string strCase = "seed " + std::to_string(nSeed) + ", helpers " + std::to_string(nHelpers) +
                                    ", window " + std::to_string(nMaxAheadCost);
        EXPECT_EQ(actual.strOld, expected.strOld) << strCase;
        EXPECT_EQ(actual.strNew, expected.strNew) << strCase;
        EXPECT_EQ(actual.nEntryCount, expected.nEntryCount) << strCase;
        EXPECT_EQ(actual.bCancel, expected.bCancel) << strCase;
        const auto itDiffer = std::mismatch(actual.arEvents.begin(), actual.arEvents.end(), expected.arEvents.begin(),
                                            expected.arEvents.end());
        EXPECT_TRUE(itDiffer.first == actual.arEvents.end() && itDiffer.second == expected.arEvents.end())
            << strCase << ": event " << (itDiffer.first - actual.arEvents.begin()) << " is \""
            << (itDiffer.first == actual.arEvents.end() ? "(none)" : *itDiffer.first) << "\", not \""
            << (itDiffer.second == expected.arEvents.end() ? "(none)" : *itDiffer.second) << "\"";
    }
}
