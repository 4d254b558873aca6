#include "ModelTestFixture.h"

#include "model/Sheet.h"

namespace {

using SheetQueryTest = CModelTest;

}  // namespace

TEST_F(SheetQueryTest, CountsDependOnTheLayoutKind)
{
    CSheet sheet(0);
    EXPECT_EQ(sheet.GetElementNo(), 0);
    EXPECT_TRUE(m_box.Shown().empty());
    EXPECT_EQ(sheet.GetSheetDecoNo(), -99);
    EXPECT_EQ(Reported(), (Names{"CSheet::GetSheetDecoNo"}));

    m_box.Clear();
    sheet.AddFixed(1);
    sheet.AddFixed(2);
    sheet.AddFixedHorPos(0, 10.0);
    sheet.AddFixedHorPos(0, 20.0);
    EXPECT_EQ(sheet.GetElementNo(), 2);
    EXPECT_EQ(sheet.GetFixedHorNum(0), 2);
    EXPECT_EQ(sheet.GetFixedVerNum(1), 0);
    EXPECT_EQ(sheet.GetFixedHorPos(0, 1), 20.0);
    EXPECT_EQ(sheet.GetFreeType(0), -99);
    EXPECT_EQ(sheet.GetFixedDecoNo(2), -99);
    EXPECT_EQ(Reported(),
              (Names{"CSheet::GetFree", "CSheet::GetFreeType", "CSheet::GetFixed", "CSheet::GetFixedDecoNo"}));
}

TEST_F(SheetQueryTest, SheetDecorationValuesIgnoreTheLayoutKind)
{
    CSheet sheet(1);
    sheet.AddSheetDeco(2);
    sheet.SetSheetDecoStartX(0, 4.5);
    sheet.m_nSheetType = 1;
    EXPECT_EQ(sheet.GetSheetDecoStartX(0), 4.5);
    EXPECT_EQ(sheet.GetSheetDecoType(0), 2);
    EXPECT_TRUE(m_box.Shown().empty());
    EXPECT_EQ(sheet.GetSheetDecoNo(), -99);
    EXPECT_EQ(sheet.GetSheetDecoEndY(1), -99.0);
    EXPECT_EQ(Reported(), (Names{"CSheet::GetSheetDecoNo", "CSheet::GetDeco", "CSheet::GetSheetDecoEndY"}));
}

TEST_F(SheetQueryTest, DecorationTypesOfVersion2SheetsAreConverted)
{
    const std::vector<int> arStored{1, 2, 0, 5, -1, -99};
    for (int bVersion34 : {0, 1}) {
        SCOPED_TRACE(bVersion34);
        CSheet decoSheet(bVersion34);
        CSheet fixedSheet(bVersion34);
        CSheet freeSheet(bVersion34);
        fixedSheet.AddFixed(1);
        freeSheet.AddFree(1);
        for (int nType : arStored) {
            decoSheet.AddSheetDeco(nType);
            fixedSheet.AddFixedDeco(0, nType);
            freeSheet.AddFreeDeco(0, nType);
        }
        const std::vector<int> arExpected = bVersion34 ? arStored : std::vector<int>{2, 0, 1, 1, 1, 1};
        for (int i = 0; i < static_cast<int>(arStored.size()); ++i) {
            EXPECT_EQ(decoSheet.GetSheetDecoType(i), arExpected[i]);
            EXPECT_EQ(fixedSheet.GetFixedDecoType(0, i), arExpected[i]);
            EXPECT_EQ(freeSheet.GetFreeDecoType(0, i), arExpected[i]);
        }
        EXPECT_TRUE(m_box.Shown().empty());

        // A bad decoration index: the element's two reports, -99 unconverted.
        EXPECT_EQ(fixedSheet.GetFixedDecoType(0, 6), -99);
        EXPECT_EQ(Reported(), (Names{"CFixedFree::DeleteDeco", "CFixedFree::GetDecoType"}));
        m_box.Clear();
    }
}

TEST_F(SheetQueryTest, FreeElementValues)
{
    CSheet sheet(1);
    sheet.AddFree(3);
    sheet.SetFreeType(0, 2);
    sheet.SetFreeWidth(0, 30.0);
    sheet.SetFreeHeight(0, 15.0);
    sheet.AddFreeDeco(0, 1);
    sheet.SetFreeDecoStartY(0, 0, 2.5);
    EXPECT_EQ(sheet.GetFreeType(0), 2);
    EXPECT_EQ(sheet.GetFreeWidth(0), 30.0);
    EXPECT_EQ(sheet.GetFreeHeight(0), 15.0);
    EXPECT_EQ(sheet.GetFreeDecoNo(0), 1);
    EXPECT_EQ(sheet.GetFreeDecoStartY(0, 0), 2.5);
    EXPECT_TRUE(m_box.Shown().empty());

    EXPECT_EQ(sheet.GetFreeHorPos(0), -99.0);  // no position yet: the element reports alone
    EXPECT_EQ(sheet.GetFreeVerPos(1), -99.0);
    EXPECT_EQ(Reported(), (Names{"CFixedFree::GetHorPos", "CSheet::GetFree", "CSheet::GetFreeVerPos"}));
}

TEST_F(SheetQueryTest, GroupNameQueriesCheckTheSupportIndexOnce)
{
    CSheet sheet(0);
    sheet.AddSupportInfo();
    sheet.AddGroupName(0, "A4");
    EXPECT_EQ(sheet.GetGroupNameNo(0), 1);
    EXPECT_EQ(sheet.GetWizardGroupNameNo(0), 0);
    EXPECT_EQ(sheet.GetGroupName(0, 0), "A4");
    EXPECT_EQ(sheet.GetSupportInfoNo(), 1);
    EXPECT_TRUE(m_box.Shown().empty());

    EXPECT_EQ(sheet.GetGroupNameNo(1), -99);
    EXPECT_EQ(sheet.GetWizardGroupNameNo(-1), -99);
    EXPECT_EQ(sheet.GetGroupName(1, 0), "\x9D");
    EXPECT_EQ(sheet.GetWizardGroupName(0, 0), "\x9D");
    EXPECT_EQ(sheet.GetGroupName(0, 1), "\x9D");
    EXPECT_EQ(Reported(),
              (Names{"CSheet::GetGroupNameNo", "CSheet::GetWizardGroupNameNo", "CSheet::GetGroupName",
                     "CToviSupportInfo::GetWizardGroup", "CToviSupportInfo::GetNormalGroup"}));
    EXPECT_EQ(GetFailureCount(EFailureClass::Sheet), 3);
    EXPECT_EQ(GetFailureCount(EFailureClass::SupportInfo), 2);
}
