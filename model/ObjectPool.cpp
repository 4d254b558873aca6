#include "model/ObjectPool.h"

#include "model/LargeBlock.h"

namespace {

// Blocks double from the first size up to the largest, which the system
// backs with huge pages: a small file takes little memory, a large one few
// blocks.
constexpr std::size_t kFirstBlockSize = std::size_t{64} * 1024;
constexpr std::size_t kLargestBlockSize = std::size_t{4} * 1024 * 1024;

// Under AddressSanitizer every object comes from the general heap, so that
// the sanitizer keeps watching the model's ownership of them.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kGeneralHeapOnly = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kGeneralHeapOnly = true;
#else
constexpr bool kGeneralHeapOnly = false;
#endif
#else
constexpr bool kGeneralHeapOnly = false;
#endif

/// Where the slots of a block begin: after its header, at a slot boundary.
constexpr std::size_t kBlockHeaderSize = 2 * sizeof(void*);

}  // namespace

void* CObjectPool::Allocate() noexcept
{
    if constexpr (kGeneralHeapOnly) {
        void* const p = ::operator new(m_nSlotSize, std::nothrow);
        if (p != nullptr)
            ++m_nLive;
        return p;
    }
    if (m_pFree != nullptr) {
        SFreeSlot* const pSlot = m_pFree;
        m_pFree = pSlot->pNext;
        ++m_nLive;
        return pSlot;
    }
    if (static_cast<std::size_t>(m_pUnusedEnd - m_pUnused) < m_nSlotSize && !AddBlock())
        return nullptr;
    void* const pSlot = m_pUnused;
    m_pUnused += m_nSlotSize;
    ++m_nLive;
    return pSlot;
}

void* CObjectPool::AllocateObject(std::size_t nSize) noexcept
{
    return nSize == m_nObjectSize ? Allocate() : ::operator new(nSize, std::nothrow);
}

void* CObjectPool::AllocateObjectOrThrow(std::size_t nSize)
{
    void* const p = AllocateObject(nSize);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void CObjectPool::ReleaseObject(void* pObject, std::size_t nSize) noexcept
{
    if (nSize == m_nObjectSize)
        Release(pObject);
    else
        ::operator delete(pObject);
}

void CObjectPool::Release(void* pSlot) noexcept
{
    if (pSlot == nullptr)
        return;
    --m_nLive;
    if constexpr (kGeneralHeapOnly) {
        ::operator delete(pSlot);
        return;
    }
    auto* const pFree = static_cast<SFreeSlot*>(pSlot);
    pFree->pNext = m_pFree;
    m_pFree = pFree;
    if (m_nLive == 0)
        ReleaseBlocks();
}

bool CObjectPool::AddBlock() noexcept
{
    const std::size_t nSize = m_nNextBlockSize == 0 ? kFirstBlockSize : m_nNextBlockSize;
    void* const pMemory = AllocateLargeBlock(nSize);
    if (pMemory == nullptr)
        return false;
    auto* const pBlock = static_cast<SBlock*>(pMemory);
    pBlock->pPrevious = m_pBlocks;
    pBlock->nSize = nSize;
    m_pBlocks = pBlock;
    // The rest of the previous block is left unused: at most a slot.
    m_pUnused = static_cast<char*>(pMemory) + kBlockHeaderSize;
    m_pUnusedEnd = static_cast<char*>(pMemory) + nSize;
    m_nNextBlockSize = nSize < kLargestBlockSize ? nSize * 2 : kLargestBlockSize;
    return true;
}

void CObjectPool::ReleaseBlocks() noexcept
{
    while (m_pBlocks != nullptr) {
        SBlock* const pBlock = m_pBlocks;
        m_pBlocks = pBlock->pPrevious;
        ReleaseLargeBlock(pBlock, pBlock->nSize);
    }
    m_pUnused = nullptr;
    m_pUnusedEnd = nullptr;
    m_pFree = nullptr;
    m_nNextBlockSize = 0;
}
