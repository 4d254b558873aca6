#include "model/LargeBlock.h"

#include <cstdint>
#include <sys/mman.h>

namespace {

/// The huge page of x86-64 and most other systems.
constexpr std::size_t kHugePageSize = std::size_t{2} * 1024 * 1024;

void* MapAnonymous(std::size_t nSize)
{
    void* const p = ::mmap(nullptr, nSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

}  // namespace

void* AllocateLargeBlock(std::size_t nSize)
{
    if (nSize < kHugePageSize || nSize % kHugePageSize != 0)
        return MapAnonymous(nSize);
    // Huge pages need a block that starts on a huge-page boundary: map one
    // huge page more than asked and give back what lies outside the block.
    const std::size_t nMapped = nSize + kHugePageSize;
    char* const pMapped = static_cast<char*>(MapAnonymous(nMapped));
    if (pMapped == nullptr)
        return nullptr;
    const auto nAddress = reinterpret_cast<std::uintptr_t>(pMapped);
    const std::size_t nHead = (kHugePageSize - nAddress % kHugePageSize) % kHugePageSize;
    char* const pBlock = pMapped + nHead;
    if (nHead > 0)
        ::munmap(pMapped, nHead);
    ::munmap(pBlock + nSize, nMapped - nHead - nSize);
    // Only a hint: where the system has no huge pages the block is used as it is.
    ::madvise(pBlock, nSize, MADV_HUGEPAGE);
    return pBlock;
}

void ReleaseLargeBlock(void* pBlock, std::size_t nSize)
{
    if (pBlock != nullptr)
        ::munmap(pBlock, nSize);
}
