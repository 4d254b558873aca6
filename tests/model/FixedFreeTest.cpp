#include "ModelTestFixture.h"

#include "model/FixedFree.h"

#include <cmath>

namespace {

using FixedFreeTest = CModelTest;

}  // namespace

TEST_F(FixedFreeTest, PositionsRefuseNegativeValuesAndIndicesOutsideTheList)
{
    CFixedFree elem;
    EXPECT_EQ(elem.AddHorPos(0.0), 0);
    EXPECT_EQ(elem.AddHorPos(12.5), 1);
    EXPECT_EQ(elem.AddHorPos(-0.01), -99);
    EXPECT_EQ(elem.AddVerPos(std::nan("")), -99);
    EXPECT_EQ(elem.SetHorPos(2, 1.0), -99);  // equal to the count: no append
    EXPECT_EQ(elem.SetHorPos(-1, 1.0), -99);
    EXPECT_EQ(elem.SetHorPos(1, -3.0), -99);
    EXPECT_EQ(elem.SetHorPos(1, 30.0), 0);
    EXPECT_EQ(Positions(elem.m_arHorPos), (std::vector<double>{0.0, 30.0}));
    EXPECT_TRUE(elem.m_arVerPos.empty());
    EXPECT_EQ(elem.GetVerPos(0), -99.0);
    EXPECT_EQ(Reported(), (Names{"CFixedFree::AddHorPos", "CFixedFree::AddVerPos", "CFixedFree::SetHorPos",
                                 "CFixedFree::SetHorPos", "CFixedFree::SetHorPos", "CFixedFree::GetVerPos"}));
}

TEST_F(FixedFreeTest, BadDecorationIndexReportsTheLookUpThenTheOperation)
{
    CFixedFree elem;
    EXPECT_EQ(elem.AddDeco(4), 0);
    EXPECT_EQ(elem.AddDeco(-7), 1);
    EXPECT_EQ(elem.SetDecoEndY(0, -3.5), 0);  // coordinates may be negative
    EXPECT_EQ(elem.GetDecoEndY(0), -3.5);
    EXPECT_EQ(elem.GetDecoType(1), -7);
    EXPECT_EQ(elem.GetDecoStartX(1), 0.0);
    EXPECT_TRUE(m_box.Shown().empty());

    EXPECT_EQ(elem.GetDecoStartX(5), -99.0);
    EXPECT_EQ(elem.SetDecoEndX(-1, 1.0), -99);
    EXPECT_EQ(Reported(), (Names{"CFixedFree::DeleteDeco", "CFixedFree::GetDecoStartX", "CFixedFree::DeleteDeco",
                                 "CFixedFree::SetDecoEndX"}));
    EXPECT_EQ(m_box.Texts()[1].rfind("また", 0), 0u);  // one level above the look-up's report
}

TEST_F(FixedFreeTest, FreeClearsContentsAndStopsAtANodeWithoutRecord)
{
    CFixedFree elem;
    elem.m_nNo = 3;
    elem.m_nType = 2;
    elem.m_dWidth = 90.5;
    elem.AddHorPos(1.0);
    elem.AddVerPos(2.0);
    elem.AddDeco(1);
    EXPECT_EQ(elem.Free(), 0);
    EXPECT_EQ(elem.m_nNo, 3);
    EXPECT_EQ(elem.m_nType, 2);
    EXPECT_EQ(elem.m_dWidth, 0.0);
    EXPECT_EQ(elem.GetHorPosCount() + elem.GetVerPosCount() + elem.GetDecoCount(), 0);
    EXPECT_TRUE(m_box.Shown().empty());

    elem.AddHorPos(1.0);
    elem.AddDeco(1);
    elem.m_lstDeco.push_back(nullptr);
    elem.AddDeco(3);
    // A node without a record: the look-up yields none silently, the operation reports.
    EXPECT_EQ(elem.GetDecoType(1), -99);
    EXPECT_EQ(elem.SetDecoStartY(1, 2.0), -99);
    EXPECT_EQ(elem.Free(), -99);
    EXPECT_EQ(Reported(), (Names{"CFixedFree::GetDecoType", "CFixedFree::SetDecoStartY", "CFixedFree::Free"}));
    EXPECT_EQ(elem.GetHorPosCount(), 0);   // steps before the failing check stay done
    ASSERT_EQ(elem.m_lstDeco.size(), 2u);  // the released first record left the list
    EXPECT_EQ(elem.m_lstDeco[1]->m_nType, 3);
}
