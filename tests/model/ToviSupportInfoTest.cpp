#include "ModelTestFixture.h"

#include "model/ToviSupportInfo.h"

namespace {

using ToviSupportInfoTest = CModelTest;

}  // namespace

TEST_F(ToviSupportInfoTest, NamesAreUniqueByExactBytesAndKeepTheirOrder)
{
    CToviSupportInfo info;
    EXPECT_EQ(info.FindNormalGroup("A4"), -1);
    EXPECT_EQ(info.AddNormalGroup("LABEL"), 0);
    EXPECT_EQ(info.AddNormalGroup("label"), 0);  // case matters
    EXPECT_EQ(info.AddNormalGroup("\x83\x89\x83\x78\x83\x8B"), 0);  // code-page-932 bytes
    EXPECT_EQ(info.AddNormalGroup("LABEL"), -99);  // refused without a message
    EXPECT_EQ(info.AddNormalGroup("LABEL "), 0);   // no trimming
    EXPECT_TRUE(m_box.Shown().empty());

    EXPECT_EQ(info.FindNormalGroup("label"), 1);
    EXPECT_EQ(info.GetNormalGroup(2), "\x83\x89\x83\x78\x83\x8B");
    EXPECT_EQ(info.GetNormalGroup(3), "LABEL ");
    EXPECT_EQ(info.m_lstNormalGroup.size(), 4u);
}

TEST_F(ToviSupportInfoTest, BadIndicesReturnTheOneByteFailureText)
{
    CToviSupportInfo info;
    info.AddNormalGroup("A");
    EXPECT_EQ(info.GetNormalGroup(1), "\x9D");
    EXPECT_EQ(info.GetNormalGroup(-1), "\x9D");
    EXPECT_EQ(info.GetWizardGroup(0), "\x9D");
    EXPECT_EQ(Reported(), (Names{"CToviSupportInfo::GetNormalGroup", "CToviSupportInfo::GetNormalGroup",
                                 "CToviSupportInfo::GetWizardGroup"}));
    EXPECT_EQ(GetFailureCount(EFailureClass::SupportInfo), 3);
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
    EXPECT_EQ(Reported(), (Names{"CToviSuportInfo::FindNormalGroup", "CToviSuportInfo::FindNormalGroup",
                                 "CToviSuportInfo::Free"}));
    ASSERT_EQ(info.m_lstNormalGroup.size(), 2u);  // "A" released and removed, the rest stays
    EXPECT_EQ(info.m_lstNormalGroup[0], nullptr);
    EXPECT_EQ(*info.m_lstNormalGroup[1], "C");
}

TEST_F(ToviSupportInfoTest, FreeEmptiesTheListsAndKeepsTypeAndVersion)
{
    CToviSupportInfo info;
    info.m_nToviType = 4;
    info.m_strToviVersion = "3.00";
    info.AddNormalGroup("A");
    info.AddNormalGroup("B");
    info.m_lstWizardGroup.push_back(std::make_unique<std::string>("W"));
    EXPECT_EQ(info.Free(), 0);
    EXPECT_TRUE(info.m_lstNormalGroup.empty());
    EXPECT_TRUE(info.m_lstWizardGroup.empty());
    EXPECT_EQ(info.m_nToviType, 4);
    EXPECT_EQ(info.m_strToviVersion, "3.00");
    EXPECT_EQ(info.Free(), 0);
    EXPECT_TRUE(m_box.Shown().empty());
}

TEST_F(ToviSupportInfoTest, AddNormalGroupOutOfMemory)
{
    CToviSupportInfo info;
    CAllocationFailureScope failNext(0);
    EXPECT_EQ(info.AddNormalGroup("A"), -99);
    EXPECT_EQ(Reported(), (Names{kMemoryMessage}));
    EXPECT_TRUE(info.m_lstNormalGroup.empty());
    EXPECT_EQ(GetFailureCount(EFailureClass::SupportInfo), 0);
}
