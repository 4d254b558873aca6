#pragma once
// The installation search as one recursive activation per folder (each
// folder's handle open while its subfolders are walked), kept as the
// reference the real walk must match event for event; random trees to
// compare them on.

#include "search/FolderReadAhead.h"
#include "system/FileSystem.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

/// What a walk showed and returned: every pump, bar position and status
/// line in order, the results, the entry counter and the cancel flag.
struct SWalkRecord {
    std::vector<std::string> arEvents;
    std::string strOld;
    std::string strNew;
    std::uint32_t nEntryCount = 0;
    int bCancel = 0;
    bool operator==(const SWalkRecord&) const = default;
};

struct SWalkRequest {
    std::string strRoot;
    int bOldFound = 0;
    int bNewFound = 0;
    std::uint32_t nFirstEntry = 0;  ///< the counter at the start
    size_t nCancelAtPump = 0;       ///< Cancel pressed during this pump (from 1; 0 never)
};

/// The run's walk (CConverterApp::SearchRoot) with nHelpers read-ahead
/// threads and a read-ahead window of nMaxAheadCost.
SWalkRecord WalkWithApp(CFileSystem& fileSystem, const SWalkRequest& request, unsigned nHelpers,
                        size_t nMaxAheadCost = CFolderReadAhead::kMaxAheadCost);
/// The reference walk.
SWalkRecord WalkByReference(CFileSystem& fileSystem, const SWalkRequest& request);

/// A random tree for seed: relative paths, true for a folder, parents
/// before their contents. Names include the installation markers in
/// several spellings, as files and as folders.
std::vector<std::pair<std::string, bool>> MakeRandomTree(unsigned nSeed);

/// Runs the reference once and then the app with 0, 1 and 3 helpers (3 also
/// with a window of a few listings, so that it fills and refills), with
/// Cancel at a pump chosen from seed (or none); gtest failures name the seed.
void ExpectSameWalks(CFileSystem& fileSystem, const std::string& strRoot, unsigned nSeed);
