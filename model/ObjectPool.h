#pragma once
// Memory for the model's most numerous objects (layout elements and
// decorations). A sheet may hold a million of them: taken one by one from
// the general heap, each costs a block header and a trip through the
// allocator, and the heap grows a page at a time. A pool hands out slots of
// one size from large blocks (model/LargeBlock.h) and takes them back
// onto a free list; when its last object goes, it gives its blocks back.
//
// The model is used from one thread at a time (its failure counters are
// too), and so are the pools.

#include <cstddef>
#include <new>

class CObjectPool {
public:
    /// A pool of slots of nObjectSize bytes, aligned to a pointer's size (the
    /// alignment of the pooled classes). Constant-initialised: a pool may be
    /// a global that outlives every object.
    explicit constexpr CObjectPool(std::size_t nObjectSize) noexcept
        : m_nObjectSize(nObjectSize), m_nSlotSize(RoundUpToSlot(nObjectSize))
    {
    }
    CObjectPool(const CObjectPool&) = delete;
    CObjectPool& operator=(const CObjectPool&) = delete;

    /// A slot, or nullptr when the memory is exhausted.
    void* Allocate() noexcept;
    /// Takes back a slot of Allocate.
    void Release(void* pSlot) noexcept;

    /// The bodies of a pooled class's operator new and delete: an object of
    /// the pool's size gets a slot, one of another size (a derived class) the
    /// general heap. nullptr when the memory is exhausted.
    void* AllocateObject(std::size_t nSize) noexcept;
    /// AllocateObject for the throwing operator new: std::bad_alloc instead of nullptr.
    void* AllocateObjectOrThrow(std::size_t nSize);
    void ReleaseObject(void* pObject, std::size_t nSize) noexcept;

    /// Slots handed out and not yet taken back.
    std::size_t GetLiveNum() const { return m_nLive; }

private:
    struct SBlock {
        SBlock* pPrevious;
        std::size_t nSize;
    };
    struct SFreeSlot {
        SFreeSlot* pNext;
    };

    static constexpr std::size_t RoundUpToSlot(std::size_t nSize)
    {
        const std::size_t nUnit = sizeof(void*);
        return nSize < nUnit ? nUnit : (nSize + nUnit - 1) / nUnit * nUnit;
    }

    bool AddBlock() noexcept;
    void ReleaseBlocks() noexcept;

    std::size_t m_nObjectSize = 0;  ///< as asked; the slots may be larger
    std::size_t m_nSlotSize;
    std::size_t m_nNextBlockSize = 0;  ///< 0 until the first block
    std::size_t m_nLive = 0;
    SBlock* m_pBlocks = nullptr;  ///< the newest block, linked to the older ones
    char* m_pUnused = nullptr;    ///< the part of the newest block never handed out
    char* m_pUnusedEnd = nullptr;
    SFreeSlot* m_pFree = nullptr;
};

/// A base that gives class T its operator new and delete from a pool of its
/// own: class CSheet : public CPooledObject<CSheet>. Every way of making one
/// (throwing or not) takes a slot; a derived class of another size gets the
/// general heap. The sized operator delete is the one that matches.
template <class T>
class CPooledObject {
public:
    static void* operator new(std::size_t nSize)  // NOLINT(cert-dcl54-cpp,misc-new-delete-overloads)
    {
        static_assert(alignof(T) <= alignof(void*), "the pools align their slots to a pointer's size");
        return s_pool.AllocateObjectOrThrow(nSize);
    }
    static void* operator new(std::size_t nSize, const std::nothrow_t&) noexcept
    {
        return s_pool.AllocateObject(nSize);
    }
    static void operator delete(void* p, std::size_t nSize) noexcept { s_pool.ReleaseObject(p, nSize); }

private:
    // Initialised when first used, where T is complete.
    static inline constinit CObjectPool s_pool{sizeof(T)};
};
