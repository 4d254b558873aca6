#pragma once
// Large blocks of memory straight from the system, for pools that hold many
// small objects. Where the system offers it, a block of a few megabytes is
// backed by huge pages: a sheet of a million elements then costs its memory
// in a few hundred page faults instead of tens of thousands.

#include <cstddef>

/// A block of nSize bytes, aligned to at least 4096 bytes; nullptr when the
/// memory is exhausted.
void* AllocateLargeBlock(std::size_t nSize);

/// Gives back a block of AllocateLargeBlock, with the size it was asked with.
void ReleaseLargeBlock(void* pBlock, std::size_t nSize);
