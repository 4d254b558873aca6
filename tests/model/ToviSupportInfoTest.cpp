#include "ModelTestFixture.h"

#include "model/ToviSupportInfo.h"

namespace {

using ToviSupportInfoTest = CModelTest;

}  // namespace

TEST_F(ToviSupportInfoTest, NamesAreUniqueByExactBytesAndKeepTheirOrder)
{
    CToviSupportInfo info;
    info.m_strToviVersion = "3.00";
    EXPECT_EQ(info.FindNormalGroup("A4"), -1);
    EXPECT_EQ(info.AddNormalGroup("LABEL"), 0);
    EXPECT_EQ(info.AddNormalGroup("label"), 0);    // case matters
    EXPECT_EQ(info.AddNormalGroup("LABEL"), -99);  // refused without a message
    EXPECT_EQ(info.AddNormalGroup("LABEL "), 0);   // no trimming
    EXPECT_EQ(info.GetNormalGroup(2), "LABEL ");
    EXPECT_TRUE(m_box.Shown().empty());

    EXPECT_EQ(info.GetNormalGroup(3), "\x9D");
    EXPECT_EQ(info.GetNormalGroup(-1), "\x9D");
    EXPECT_EQ(info.GetWizardGroup(0), "\x9D");
    EXPECT_EQ(Reported(), (Names{"CToviSupportInfo::GetNormalGroup", "CToviSupportInfo::GetNormalGroup",
                                 "CToviSupportInfo::GetWizardGroup"}));

    EXPECT_EQ(info.Free(), 0);
    EXPECT_EQ(info.Free(), 0);
    EXPECT_TRUE(info.m_lstNormalGroup.empty());
    EXPECT_EQ(info.m_strToviVersion, "3.00");
}

TEST_F(ToviSupportInfoTest, SearchAndReleaseReportUnderTheOnePSpelling)
{
    CToviSupportInfo info;
    info.AddNormalGroup("A");
    info.m_lstNormalGroup.push_back(nullptr);
    info.m_lstNormalGroup.push_back(std::make_unique<std::string>("C"));

    EXPECT_EQ(info.FindNormalGroup("C"), -99);
    EXPECT_EQ(info.AddNormalGroup("D"), -99);  // the search failed: nothing added
    EXPECT_EQ(info.Free(), -99);
    EXPECT_EQ(Reported(),
              (Names{"CToviSuportInfo::FindNormalGroup", "CToviSuportInfo::FindNormalGroup", "CToviSuportInfo::Free"}));
    ASSERT_EQ(info.m_lstNormalGroup.size(), 2u);  // "A" released and removed, the rest stays
    EXPECT_EQ(*info.m_lstNormalGroup[1], "C");
}

TEST_F(ToviSupportInfoTest, DestructionRunsFreeFirst)
{
    {
        CToviSupportInfo info;
        info.AddNormalGroup("A");
        info.m_lstNormalGroup.push_back(nullptr);
    }
    EXPECT_EQ(Reported(), (Names{"CToviSuportInfo::Free"}));

    m_box.Clear();
    {
        CToviSupportInfo info;
        info.AddNormalGroup("A");
        info.AddNormalGroup("B");
    }
    EXPECT_TRUE(m_box.Shown().empty());
}
