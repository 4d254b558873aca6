#pragma once
// The folder listings of one walk in depth-first order, read ahead on helper
// threads over any CFileSystem.

#include "system/FileSystem.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

/// Hands out the listings of a folder tree one at a time in the order of a
/// depth-first walk: the root first, then each subfolder of a listing (an
/// entry that is a folder, other than "." and "..") in listing order, each
/// followed at once by everything below it. Helper threads read the folders
/// the walk will take next while the walk works on the current one; the
/// walk still receives exactly that order, whatever the threads do.
///
/// Bounded: the listings read ahead of the walk hold at most about
/// kMaxAheadCost entries (twice that beside the walk, see below), and at
/// most kMaxOpenFolders folders are open at a time (the root, the
/// folders being read, and the parents whose subfolders are still to be
/// opened). A parent closed to make room is opened again from its nearest
/// open ancestor, one level at a time, so no depth of tree needs more.
/// Nothing here recurses. Under a low limit on open files the bound is
/// lowered and fewer helpers run (the file system's budget, asked at each
/// Begin); should the process still run out of handles, the folder used
/// longest ago is closed and the opening tried again: a folder is never
/// skipped for want of a handle while another can be closed.
///
/// The helpers read the unread folders in the order the walk will take them,
/// which keeps the listings read ahead close to the walk. A full window is refilled once the walk has taken half
/// of it. While it is full, the helpers still read the subfolders of the
/// folders the walk is in, within a second window: otherwise a window filled
/// far ahead (while the walk went down a chain of single folders, say) would
/// leave the walk to read a large tree on its own, one folder after another.
///
/// Used by one thread (the walk's); the helpers are its own.
class CFolderReadAhead {
public:
    static constexpr size_t kMaxOpenFolders = 24;
    /// A listing costs its entries and two more (the listing itself). On a
    /// cold disk a wide window keeps the helpers reading while the walk works
    /// through a run of small folders: 65,536 are about 6,000 folders of ten
    /// entries, a few megabytes. The width comes from the cold walk of the
    /// walk benchmark (bench/walk_bench.sh; the README's figures).
    static constexpr size_t kMaxAheadCost = 65536;
    static constexpr size_t kListingCost = 2;

    /// nHelpers threads read ahead; with 0 the walk reads every folder itself.
    /// Asks nothing of the file system before Begin.
    CFolderReadAhead(CFileSystem& fileSystem, unsigned nHelpers);
    ~CFolderReadAhead();
    CFolderReadAhead(const CFolderReadAhead&) = delete;
    CFolderReadAhead& operator=(const CFolderReadAhead&) = delete;

    /// Take effect at the next Begin.
    void SetHelpers(unsigned nHelpers) { m_nHelpers = nHelpers; }
    void SetMaxAheadCost(size_t nMaxAheadCost) { m_nMaxAheadCost = nMaxAheadCost; }

    /// Ends a walk still in progress and opens strRoot for the next one.
    /// false when the root cannot be entered.
    bool Begin(const std::string& strRoot);
    /// The listing of the next folder of the walk: empty for a folder that
    /// could not be opened or listed; nullptr when the tree is done. A
    /// listing stays valid until Next has handed out every listing below its
    /// folder and moved on, or until End.
    const CFolderEntries* Next();
    /// Stops the helpers (each finishes at most the folder it is reading),
    /// closes every open folder and frees every listing.
    void End();

private:
    enum class EState { Waiting, Reading, Read };
    struct SNode {
        SNode* pParent = nullptr;
        size_t nEntry = 0;    ///< index of its name in the parent's listing
        size_t nSibling = 0;  ///< index in the parent's arChildren
        EState eState = EState::Waiting;
        bool bReadAhead = false;  ///< read before the walk asked for it
        bool bHandedOut = false;  ///< the walk has taken it (it is on the walk's path)
        size_t nAheadCost = 0;    ///< its part of m_nAheadCost
        size_t nFirstUnread = 0;  ///< no subfolder before it is unread
        size_t nDepth = 0;        ///< the root's is 0
        size_t nUnopened = 0;     ///< subfolders not yet opened
        std::unique_ptr<CFolderEntries> pEntries;
        std::vector<std::unique_ptr<SNode>> arChildren;
    };
    struct SOpenFolder {
        const SNode* pNode;
        int nFolder;
        int nPins;  ///< in use by a thread; never closed while pinned
        std::uint64_t nLastUse;
    };
    using Lock = std::unique_lock<std::mutex>;
    static constexpr size_t kMaxSpareListings = 256;
    static constexpr size_t kBesideWalkLevels = 8;

    void RunHelper();
    bool HasWorkForHelper() { return FindWorkForHelper() != nullptr; }
    SNode* FindWorkForHelper();
    SNode* FindWorkBesideWalk();
    static const SNode* PeekSuccessor(const SNode& node);
    /// True when the walk takes pA before pB.
    static bool IsBefore(const SNode* pA, const SNode* pB);
    void AddWaiting(const SNode& node);
    // A folder no longer needed leaves the open set at once but is closed
    // by the thread that let it go, once it holds no lock (arClose).
    void ReadAhead(Lock& lock, std::vector<int>& arClose);
    void ReadNode(Lock& lock, SNode& node, std::vector<int>& arClose);
    int AcquireFolder(Lock& lock, SNode& node, std::vector<int>& arClose);
    void ReleaseFolder(const SNode& node, int nFolder, std::vector<int>& arClose);
    void CloseFoldersOf(const SNode& node, std::vector<int>& arClose);
    void MakeRoomForFolder(std::vector<int>& arClose);
    void CloseFolders(std::vector<int>& arClose);
    SNode* TakeSuccessor();
    void FreeNode(SNode& node);
    std::unique_ptr<CFolderEntries> NewEntries();

    // The file system's calls, one at a time unless it lists concurrently.
    int OpenSubFolder(int nParent, std::string_view strName);
    /// OpenSubFolder, closing folders while the process has no handle left;
    /// called without the lock.
    int OpenSubFolderMakingRoom(int nParent, std::string_view strName);
    bool CloseLeastRecentFolder(std::vector<int>& arClose);
    bool ReadFolder(int nFolder, CFolderEntries& entries);
    void CloseFolder(int nFolder);

    CFileSystem& m_fileSystem;
    unsigned m_nHelpers;
    size_t m_nMaxOpenFolders = kMaxOpenFolders;  ///< this walk's bound, see the class comment
    unsigned m_nHelpersRunning = 0;              ///< this walk's helpers (fewer under a low limit)
    bool m_bSerialise = true;
    std::mutex m_fsMutex;  ///< taken after m_mutex, never before it

    std::mutex m_mutex;                ///< guards everything below
    std::condition_variable m_cvWork;  ///< helpers: work or room appeared, or stop
    std::condition_variable m_cvRead;  ///< walk: a listing was read
    bool m_bStop = false;
    std::unique_ptr<SNode> m_pRoot;
    SNode* m_pCurrent = nullptr;           ///< last listing handed out
    const SNode* m_pNextNeeded = nullptr;  ///< the one the walk takes next
    std::vector<SNode*> m_arWaiting;       ///< unread folders in walk order, the next at the back
    size_t m_nMaxAheadCost = kMaxAheadCost;
    size_t m_nAheadCost = 0;     ///< of listings read or reading ahead, not yet handed out
    bool m_bWindowFull = false;  ///< see the class comment
    std::vector<SOpenFolder> m_arOpen;
    std::uint64_t m_nUseClock = 0;
    std::vector<std::unique_ptr<CFolderEntries>> m_arSpareEntries;
    std::vector<int> m_arWalkClose;  ///< the walk's folders to close
    std::vector<std::thread> m_arHelpers;
};
