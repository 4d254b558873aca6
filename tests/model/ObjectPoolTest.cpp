#include "model/FixedFree.h"
#include "model/ObjectPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

// Enough objects of 40 bytes to fill several blocks, the later ones large.
TEST(ObjectPoolTest, SlotsAreDistinctAlignedReusedAndAllGivenBack)
{
    CObjectPool pool(36);  // slots of 40 bytes
    std::vector<void*> arSlots;
    for (int i = 0; i < 300000; ++i) {
        void* const p = pool.Allocate();
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(void*), 0u);
        std::memset(p, i & 0xFF, 36);  // the whole slot is the caller's
        arSlots.push_back(p);
    }
    EXPECT_EQ(std::set<void*>(arSlots.begin(), arSlots.end()).size(), arSlots.size());
    EXPECT_EQ(pool.GetLiveNum(), arSlots.size());

    // A slot given back is handed out again before new ones.
    void* const pBack = arSlots[1234];
    pool.Release(pBack);
    EXPECT_EQ(pool.GetLiveNum(), arSlots.size() - 1);
    arSlots[1234] = pool.Allocate();
    EXPECT_NE(arSlots[1234], nullptr);

    for (void* p : arSlots)
        pool.Release(p);
    EXPECT_EQ(pool.GetLiveNum(), 0u);
    // Empty again, the pool starts over with a fresh block.
    void* const pAgain = pool.Allocate();
    ASSERT_NE(pAgain, nullptr);
    pool.Release(pAgain);
    EXPECT_EQ(pool.GetLiveNum(), 0u);
}

// The pooled classes: every way of making and deleting one goes through
// their pool, and a size other than the pool's (a derived class) through the
// general heap.
TEST(ObjectPoolTest, PooledClassesAreMadeAndDeletedEveryWay)
{
    struct CWiderDeco : CDeco {
        double m_dExtra = 7.0;
    };
    {
        std::unique_ptr<CDeco> pThrowing(new CDeco(3));
        std::unique_ptr<CDeco> pNothrow(new (std::nothrow) CDeco(4));
        std::unique_ptr<CWiderDeco> pWider(new CWiderDeco);
        auto pElem = std::make_unique<CFixedFree>();
        ASSERT_NE(pNothrow, nullptr);
        EXPECT_EQ(pThrowing->m_nType + pNothrow->m_nType, 7);
        EXPECT_EQ(pWider->m_dExtra, 7.0);
        EXPECT_EQ(pElem->AddDeco(5), 0);  // an element owns a pooled decoration
    }
}
