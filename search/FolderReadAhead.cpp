#include "search/FolderReadAhead.h"

#include <algorithm>
#include <thread>

namespace {

bool IsSubfolder(const CFolderEntries& entries, size_t nIndex)
{
    if (!entries.IsFolder(nIndex))
        return false;
    const std::string_view strName = entries.Name(nIndex);
    return strName != "." && strName != "..";
}

}  // namespace

CFolderReadAhead::CFolderReadAhead(CFileSystem& fileSystem, unsigned nHelpers)
    : m_fileSystem(fileSystem), m_nHelpers(nHelpers)
{
}

CFolderReadAhead::~CFolderReadAhead()
{
    End();
}

int CFolderReadAhead::OpenSubFolder(int nParent, std::string_view strName)
{
    if (!m_bSerialise)
        return m_fileSystem.OpenSubFolder(nParent, strName);
    std::lock_guard<std::mutex> fsLock(m_fsMutex);
    return m_fileSystem.OpenSubFolder(nParent, strName);
}

int CFolderReadAhead::OpenSubFolderMakingRoom(int nParent, std::string_view strName)
{
    // Folders pinned by other threads come free within moments; the walk
    // alone, with nothing left to close, has truly run out.
    constexpr int kMaxWaits = 10000;
    for (int nWaits = 0;;) {
        const int nFolder = OpenSubFolder(nParent, strName);
        if (nFolder != CFileSystem::kNoHandleLeft)
            return nFolder;
        std::vector<int> arClose;
        bool bOthersPinned = false;
        {
            const Lock lock(m_mutex);
            // The system allows no more than are open now: the bound follows.
            m_nMaxOpenFolders = std::max<size_t>(2, std::min(m_nMaxOpenFolders, m_arOpen.size()));
            if (!CloseLeastRecentFolder(arClose))
                bOthersPinned = m_nHelpersRunning > 0;
        }
        if (!arClose.empty()) {
            CloseFolders(arClose);
            continue;
        }
        if (!bOthersPinned || ++nWaits > kMaxWaits)
            return -1;
        std::this_thread::yield();
    }
}

bool CFolderReadAhead::ReadFolder(int nFolder, CFolderEntries& entries)
{
    if (!m_bSerialise)
        return m_fileSystem.ReadFolder(nFolder, entries);
    std::lock_guard<std::mutex> fsLock(m_fsMutex);
    return m_fileSystem.ReadFolder(nFolder, entries);
}

void CFolderReadAhead::CloseFolder(int nFolder)
{
    if (!m_bSerialise) {
        m_fileSystem.CloseFolder(nFolder);
        return;
    }
    std::lock_guard<std::mutex> fsLock(m_fsMutex);
    m_fileSystem.CloseFolder(nFolder);
}

bool CFolderReadAhead::Begin(const std::string& strRoot)
{
    End();
    // Each helper holds up to two folders beyond the bound (the parent it
    // opens from and the folder it reads), and so does the walk: under a
    // low limit fewer helpers run, and the bound is what is left.
    const size_t nBudget = m_fileSystem.GetFolderHandleBudget();
    unsigned nHelpers = m_nHelpers;
    while (nHelpers > 0 && nBudget < 2 * (static_cast<size_t>(nHelpers) + 1) + 4)
        --nHelpers;
    const size_t nBeside = 2 * (static_cast<size_t>(nHelpers) + 1);
    m_nMaxOpenFolders = std::clamp<size_t>(nBudget > nBeside ? nBudget - nBeside : 0, 2, kMaxOpenFolders);
    // No helper runs now: the root may be opened (the file system learns
    // the walk's root from it).
    const int nRoot = m_fileSystem.OpenRoot(strRoot);
    if (nRoot < 0)
        return false;
    m_bSerialise = !m_fileSystem.CanListConcurrently();
    m_bStop = false;
    m_bWindowFull = false;
    m_pRoot = std::make_unique<SNode>();
    m_pCurrent = nullptr;
    m_pNextNeeded = m_pRoot.get();
    m_nAheadCost = 0;
    // The root stays open (pinned) for the whole walk: every reopening starts
    // from it at the latest.
    m_arOpen.push_back({m_pRoot.get(), nRoot, 1, 0});
    // Set before any helper starts, read by them afterwards.
    m_nHelpersRunning = nHelpers;
    for (unsigned i = 0; i < nHelpers; ++i)
        m_arHelpers.emplace_back([this] { RunHelper(); });
    return true;
}

void CFolderReadAhead::End()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    m_cvWork.notify_all();
    for (std::thread& helper : m_arHelpers)
        helper.join();
    m_arHelpers.clear();
    m_nHelpersRunning = 0;
    for (const SOpenFolder& open : m_arOpen)
        CloseFolder(open.nFolder);
    m_arOpen.clear();
    CloseFolders(m_arWalkClose);
    m_arWaiting.clear();
    m_pCurrent = nullptr;
    m_pNextNeeded = nullptr;
    // Freed one node at a time: a tree may be deeper than any stack.
    std::vector<std::unique_ptr<SNode>> arFree;
    if (m_pRoot)
        arFree.push_back(std::move(m_pRoot));
    while (!arFree.empty()) {
        std::unique_ptr<SNode> pNode = std::move(arFree.back());
        arFree.pop_back();
        for (std::unique_ptr<SNode>& pChild : pNode->arChildren) {
            if (pChild)
                arFree.push_back(std::move(pChild));
        }
    }
}

void CFolderReadAhead::RunHelper()
{
    std::vector<int> arClose;
    Lock lock(m_mutex);
    for (;;) {
        if (!m_bStop && !HasWorkForHelper() && !arClose.empty()) {
            // Nothing to read for now: close what is left before sleeping.
            lock.unlock();
            CloseFolders(arClose);
            lock.lock();
            continue;
        }
        m_cvWork.wait(lock, [this] { return m_bStop || HasWorkForHelper(); });
        if (m_bStop)
            break;
        ReadAhead(lock, arClose);
    }
    lock.unlock();
    CloseFolders(arClose);
}

void CFolderReadAhead::CloseFolders(std::vector<int>& arClose)
{
    for (const int nFolder : arClose)
        CloseFolder(nFolder);
    arClose.clear();
}

void CFolderReadAhead::ReadAhead(Lock& lock, std::vector<int>& arClose)
{
    SNode* pNode = FindWorkForHelper();
    // Mostly the top of the stack or the one below it.
    auto it = std::find(m_arWaiting.rbegin(), m_arWaiting.rend(), pNode);
    m_arWaiting.erase(std::next(it).base());
    pNode->eState = EState::Reading;
    pNode->bReadAhead = true;
    // Its entries are counted once they are read.
    pNode->nAheadCost = kListingCost;
    m_nAheadCost += kListingCost;
    ReadNode(lock, *pNode, arClose);
}

CFolderReadAhead::SNode* CFolderReadAhead::FindWorkForHelper()
{
    if (m_bWindowFull)
        return m_nAheadCost < 2 * m_nMaxAheadCost ? FindWorkBesideWalk() : nullptr;
    if (m_arWaiting.empty())
        return nullptr;
    // The folder the walk takes next is left to the walk: it reads that one
    // itself rather than wait for a helper to hand it over.
    size_t nIndex = m_arWaiting.size() - 1;
    if (m_arWaiting[nIndex] == m_pNextNeeded) {
        if (nIndex == 0)
            return nullptr;
        --nIndex;
    }
    return m_arWaiting[nIndex];
}

CFolderReadAhead::SNode* CFolderReadAhead::FindWorkBesideWalk()
{
    // The first unread subfolders of the folders on the walk's path, the
    // current folder's first, then its parent's, a few levels up at most.
    SNode* pNode = m_pCurrent;
    for (size_t nLevel = 0; pNode && nLevel < kBesideWalkLevels; ++nLevel, pNode = pNode->pParent) {
        // The subfolders of a folder still being read are not known yet.
        if (pNode->eState != EState::Read)
            continue;
        const std::vector<std::unique_ptr<SNode>>& arChildren = pNode->arChildren;
        // A subfolder once taken is never unread again: the cursor only moves on.
        size_t& nChild = pNode->nFirstUnread;
        while (nChild < arChildren.size() && (!arChildren[nChild] || arChildren[nChild]->eState != EState::Waiting))
            ++nChild;
        for (size_t i = nChild; i < arChildren.size() && i <= nChild + 1; ++i) {
            SNode* pChild = arChildren[i].get();
            if (pChild && pChild->eState == EState::Waiting && pChild != m_pNextNeeded)
                return pChild;
        }
    }
    return nullptr;
}

bool CFolderReadAhead::IsBefore(const SNode* pA, const SNode* pB)
{
    // Up to the same depth: an ancestor comes before its descendants.
    while (pA->nDepth > pB->nDepth)
        pA = pA->pParent;
    const SNode* pBAtDepth = pB;
    while (pBAtDepth->nDepth > pA->nDepth)
        pBAtDepth = pBAtDepth->pParent;
    if (pA == pBAtDepth)
        return pA != pB;
    // Then up to the children of the nearest common ancestor.
    while (pA->pParent != pBAtDepth->pParent) {
        pA = pA->pParent;
        pBAtDepth = pBAtDepth->pParent;
    }
    return pA->nSibling < pBAtDepth->nSibling;
}

void CFolderReadAhead::AddWaiting(const SNode& node)
{
    // The stack holds the unread folders in walk order, the next on top:
    // the subfolders go above every folder that comes after node and below
    // every one before it (read ahead, node may come after folders that were
    // found later). Mostly that is the top.
    auto itPlace = m_arWaiting.end();
    if (!m_arWaiting.empty() && IsBefore(m_arWaiting.back(), &node)) {
        itPlace = std::partition_point(m_arWaiting.begin(), m_arWaiting.end(),
                                       [&node](const SNode* pWaiting) { return IsBefore(&node, pWaiting); });
    }
    // The first subfolder is read first: it goes on top.
    const size_t nPlace = static_cast<size_t>(itPlace - m_arWaiting.begin());
    const size_t nChildren = node.arChildren.size();
    m_arWaiting.insert(itPlace, nChildren, nullptr);
    for (size_t i = 0; i < nChildren; ++i)
        m_arWaiting[nPlace + i] = node.arChildren[nChildren - 1 - i].get();
}

const CFolderReadAhead::SNode* CFolderReadAhead::PeekSuccessor(const SNode& node)
{
    if (!node.arChildren.empty())
        return node.arChildren.front().get();
    for (const SNode* pNode = &node; pNode->pParent; pNode = pNode->pParent) {
        if (pNode->nSibling + 1 < pNode->pParent->arChildren.size())
            return pNode->pParent->arChildren[pNode->nSibling + 1].get();
    }
    return nullptr;
}

const CFolderEntries* CFolderReadAhead::Next()
{
    Lock lock(m_mutex);
    if (!m_pRoot)
        return nullptr;
    SNode* pNode = TakeSuccessor();
    if (!pNode)
        return nullptr;
    m_pCurrent = pNode;
    pNode->bHandedOut = true;
    if (pNode->eState == EState::Waiting) {
        // Not taken by a helper yet: read it here rather than wait.
        auto it = std::find(m_arWaiting.rbegin(), m_arWaiting.rend(), pNode);
        if (it != m_arWaiting.rend())
            m_arWaiting.erase(std::next(it).base());
        pNode->eState = EState::Reading;
        ReadNode(lock, *pNode, m_arWalkClose);
    }
    // While a helper reads it, the walk reads ahead too rather than sleep.
    while (pNode->eState != EState::Read) {
        if (HasWorkForHelper())
            ReadAhead(lock, m_arWalkClose);
        else
            m_cvRead.wait(lock);
    }
    m_pNextNeeded = PeekSuccessor(*pNode);
    if (pNode->bReadAhead) {
        m_nAheadCost -= pNode->nAheadCost;
        if (m_nAheadCost <= m_nMaxAheadCost / 2)
            m_bWindowFull = false;
    }
    // The window may have room again, or the subfolders of this folder may
    // now be read beside the walk (waking no one costs nothing).
    if (HasWorkForHelper())
        m_cvWork.notify_all();
    if (!m_arWalkClose.empty()) {
        lock.unlock();
        CloseFolders(m_arWalkClose);
    }
    return pNode->pEntries.get();
}

CFolderReadAhead::SNode* CFolderReadAhead::TakeSuccessor()
{
    if (!m_pCurrent)
        return m_pRoot.get();
    if (!m_pCurrent->arChildren.empty())
        return m_pCurrent->arChildren.front().get();
    // Everything below the current folder is handed out: free the folders
    // whose trees are done, up to the first that has a later sibling.
    SNode* pNode = m_pCurrent;
    while (pNode->pParent) {
        SNode* pParent = pNode->pParent;
        const size_t nSibling = pNode->nSibling;
        FreeNode(*pNode);
        if (nSibling + 1 < pParent->arChildren.size())
            return pParent->arChildren[nSibling + 1].get();
        pNode = pParent;
    }
    return nullptr;
}

void CFolderReadAhead::FreeNode(SNode& node)
{
    CloseFoldersOf(node, m_arWalkClose);
    if (node.pEntries && m_arSpareEntries.size() < kMaxSpareListings)
        m_arSpareEntries.push_back(std::move(node.pEntries));
    node.pParent->arChildren[node.nSibling].reset();
}

std::unique_ptr<CFolderEntries> CFolderReadAhead::NewEntries()
{
    if (m_arSpareEntries.empty())
        return std::make_unique<CFolderEntries>();
    std::unique_ptr<CFolderEntries> pEntries = std::move(m_arSpareEntries.back());
    m_arSpareEntries.pop_back();
    return pEntries;
}

void CFolderReadAhead::ReadNode(Lock& lock, SNode& node, std::vector<int>& arClose)
{
    node.pEntries = NewEntries();
    // The root is open for the whole walk (the first of m_arOpen, never
    // closed before End); any other folder is opened from its parent's
    // handle, pinned while it is used.
    int nParent = -1;
    int nFolder = -1;
    std::string_view strName;
    if (node.pParent) {
        // Counted before the parent is released, so that a parent with no
        // more subfolders to open is closed at once.
        --node.pParent->nUnopened;
        nParent = AcquireFolder(lock, *node.pParent, arClose);
        // The parent's listing does not change while its children live.
        strName = node.pParent->pEntries->Name(node.nEntry);
    } else {
        nFolder = m_arOpen.front().nFolder;
    }

    // Outside the lock: nothing but this thread looks at a folder being read
    // (its listing and its children), and the system calls (closing, opening,
    // listing) are what the other threads must not wait for.
    lock.unlock();
    CloseFolders(arClose);
    if (node.pParent)
        nFolder = nParent >= 0 ? OpenSubFolderMakingRoom(nParent, strName) : -1;
    // A folder that cannot be opened or listed is handed out empty.
    if (nFolder < 0 || !ReadFolder(nFolder, *node.pEntries))
        node.pEntries->Clear();
    const CFolderEntries& entries = *node.pEntries;
    for (size_t i = 0; i < entries.Size(); ++i) {
        if (!IsSubfolder(entries, i))
            continue;
        auto pChild = std::make_unique<SNode>();
        pChild->pParent = &node;
        pChild->nEntry = i;
        pChild->nSibling = node.arChildren.size();
        pChild->nDepth = node.nDepth + 1;
        node.arChildren.push_back(std::move(pChild));
    }
    // Kept open only while subfolders of it remain to be opened.
    if (node.pParent && nFolder >= 0 && node.arChildren.empty()) {
        CloseFolder(nFolder);
        nFolder = -1;
    }
    lock.lock();

    if (nParent >= 0)
        ReleaseFolder(*node.pParent, nParent, arClose);
    node.nUnopened = node.arChildren.size();
    if (node.bReadAhead) {
        node.nAheadCost += entries.Size();
        m_nAheadCost += entries.Size();
        if (m_nAheadCost >= m_nMaxAheadCost)
            m_bWindowFull = true;
    }
    AddWaiting(node);
    node.eState = EState::Read;
    if (node.pParent && nFolder >= 0) {
        MakeRoomForFolder(arClose);
        m_arOpen.push_back({&node, nFolder, 0, ++m_nUseClock});
    }
    if (&node == m_pCurrent) {
        m_pNextNeeded = PeekSuccessor(node);
        m_cvRead.notify_one();  // the walk may wait for it
    }
    if (HasWorkForHelper())
        m_cvWork.notify_all();
}

int CFolderReadAhead::AcquireFolder(Lock& lock, SNode& node, std::vector<int>& arClose)
{
    // The nearest open folder on the way up (the root at the latest), then
    // one level at a time down to node: a folder closed to make room is
    // opened again.
    std::vector<SNode*> arDown;
    SNode* pFrom = &node;
    auto itOpen = m_arOpen.end();
    for (;;) {
        itOpen = std::find_if(m_arOpen.begin(), m_arOpen.end(),
                              [pFrom](const SOpenFolder& open) { return open.pNode == pFrom; });
        if (itOpen != m_arOpen.end())
            break;
        arDown.push_back(pFrom);
        pFrom = pFrom->pParent;
    }
    ++itOpen->nPins;
    itOpen->nLastUse = ++m_nUseClock;
    int nFolder = itOpen->nFolder;
    for (auto it = arDown.rbegin(); it != arDown.rend(); ++it) {
        SNode& child = **it;
        const std::string_view strName = child.pParent->pEntries->Name(child.nEntry);
        lock.unlock();
        // What was let go on the way down is closed before the next opens.
        CloseFolders(arClose);
        const int nChild = OpenSubFolderMakingRoom(nFolder, strName);
        lock.lock();
        ReleaseFolder(*child.pParent, nFolder, arClose);
        if (nChild < 0)
            return -1;
        MakeRoomForFolder(arClose);
        m_arOpen.push_back({&child, nChild, 1, ++m_nUseClock});
        nFolder = nChild;
    }
    return nFolder;
}

void CFolderReadAhead::ReleaseFolder(const SNode& node, int nFolder, std::vector<int>& arClose)
{
    auto it = std::find_if(m_arOpen.begin(), m_arOpen.end(),
                           [&](const SOpenFolder& open) { return open.pNode == &node && open.nFolder == nFolder; });
    if (it == m_arOpen.end())
        return;
    --it->nPins;
    // Kept open only while subfolders of it remain to be opened.
    if (it->nPins == 0 && node.eState == EState::Read && node.nUnopened == 0) {
        arClose.push_back(it->nFolder);
        m_arOpen.erase(it);
    }
}

void CFolderReadAhead::CloseFoldersOf(const SNode& node, std::vector<int>& arClose)
{
    for (auto it = m_arOpen.begin(); it != m_arOpen.end();) {
        if (it->pNode == &node && it->nPins == 0) {
            arClose.push_back(it->nFolder);
            it = m_arOpen.erase(it);
        } else {
            ++it;
        }
    }
}

void CFolderReadAhead::MakeRoomForFolder(std::vector<int>& arClose)
{
    // All in use: a few more than the bound, never blocked.
    while (m_arOpen.size() >= m_nMaxOpenFolders && CloseLeastRecentFolder(arClose)) {
    }
}

bool CFolderReadAhead::CloseLeastRecentFolder(std::vector<int>& arClose)
{
    auto itOldest = m_arOpen.end();
    for (auto it = m_arOpen.begin(); it != m_arOpen.end(); ++it) {
        if (it->nPins == 0 && (itOldest == m_arOpen.end() || it->nLastUse < itOldest->nLastUse))
            itOldest = it;
    }
    if (itOldest == m_arOpen.end())
        return false;
    arClose.push_back(itOldest->nFolder);
    m_arOpen.erase(itOldest);
    return true;
}
