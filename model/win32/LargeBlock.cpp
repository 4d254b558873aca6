#include "model/LargeBlock.h"

#include <windows.h>

// Large pages need a privilege that users do not hold: plain committed pages.
void* AllocateLargeBlock(std::size_t nSize)
{
    return ::VirtualAlloc(nullptr, nSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void ReleaseLargeBlock(void* pBlock, std::size_t /*nSize*/)
{
    if (pBlock != nullptr)
        ::VirtualFree(pBlock, 0, MEM_RELEASE);
}
