#include "ModelTestFixture.h"

#include "model/Sheet.h"

namespace {

using SheetQueryTest = CModelTest;

}  // namespace

TEST_F(SheetQueryTest, CountsAndLookUpsFollowTheLayoutKind)
{
    CSheet sheet(0);
    EXPECT_EQ(sheet.GetElementNo(), 0);
    EXPECT_EQ(sheet.GetSheetDecoNo(), -99);
    sheet.AddFixed(1);
    sheet.AddFixed(2);
    sheet.AddFixedHorPos(0, 10.0);
    sheet.AddFixedHorPos(0, 20.0);
    EXPECT_EQ(sheet.GetElementNo(), 2);
    EXPECT_EQ(sheet.GetFixedHorNum(0), 2);
    EXPECT_EQ(sheet.GetFixedHorPos(0, 1), 20.0);
    EXPECT_EQ(sheet.GetFreeType(0), -99);
    EXPECT_EQ(Reported(), (Names{"CSheet::GetSheetDecoNo", "CSheet::GetFree", "CSheet::GetFreeType"}));

    m_box.Clear();
    CSheet decoSheet(1);
    decoSheet.AddSheetDeco(2);
    decoSheet.SetSheetDecoStartX(0, 4.5);
    decoSheet.m_nSheetType = 1;
    EXPECT_EQ(decoSheet.GetSheetDecoStartX(0), 4.5);  // no kind check on the values
    EXPECT_EQ(decoSheet.GetSheetDecoNo(), -99);
    EXPECT_EQ(decoSheet.GetSheetDecoEndY(1), -99.0);
    EXPECT_EQ(Reported(), (Names{"CSheet::GetSheetDecoNo", "CSheet::GetDeco", "CSheet::GetSheetDecoEndY"}));

    m_box.Clear();
    CSheet freeSheet(1);
    freeSheet.AddFree(1);
    EXPECT_EQ(freeSheet.GetFreeHorPos(0), -99.0);  // no position yet: the element reports alone
    EXPECT_EQ(Reported(), (Names{"CFixedFree::GetHorPos"}));
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
        // An element's type of -99 reads as the element's failure value and passes unconverted.
        const std::vector<int> arElemExpected = bVersion34 ? arStored : std::vector<int>{2, 0, 1, 1, 1, -99};
        for (int i = 0; i < static_cast<int>(arStored.size()); ++i) {
            EXPECT_EQ(decoSheet.GetSheetDecoType(i), arExpected[i]);
            EXPECT_EQ(fixedSheet.GetFixedDecoType(0, i), arElemExpected[i]);
            EXPECT_EQ(freeSheet.GetFreeDecoType(0, i), arElemExpected[i]);
        }
        EXPECT_TRUE(m_box.Shown().empty());

        // A bad decoration index: the element's two reports, -99 unconverted.
        EXPECT_EQ(fixedSheet.GetFixedDecoType(0, 6), -99);
        EXPECT_EQ(Reported(), (Names{"CFixedFree::DeleteDeco", "CFixedFree::GetDecoType"}));
        m_box.Clear();
    }
}

TEST_F(SheetQueryTest, GroupNameQueriesCheckTheSupportIndexOnce)
{
    CSheet sheet(0);
    sheet.AddSupportInfo();
    sheet.AddGroupName(0, "A4");
    EXPECT_EQ(sheet.GetGroupNameNo(0), 1);
    EXPECT_EQ(sheet.GetWizardGroupNameNo(0), 0);
    EXPECT_EQ(sheet.GetGroupName(0, 0), "A4");
    EXPECT_TRUE(m_box.Shown().empty());

    EXPECT_EQ(sheet.GetGroupNameNo(1), -99);
    EXPECT_EQ(sheet.GetGroupName(1, 0), "\x9D");
    EXPECT_EQ(sheet.GetGroupName(0, 1), "\x9D");
    EXPECT_EQ(Reported(),
              (Names{"CSheet::GetGroupNameNo", "CSheet::GetGroupName", "CToviSupportInfo::GetNormalGroup"}));
    EXPECT_EQ(GetFailureCount(EFailureClass::Sheet), 2);
}
