#include "ModelTestFixture.h"

#include "model/Sheet.h"

namespace {

using SheetEditTest = CModelTest;

}  // namespace

TEST_F(SheetEditTest, FirstAddingOperationDecidesTheLayoutKind)
{
    CSheet sheet(0);
    EXPECT_EQ(sheet.AddFixed(7), 0);
    EXPECT_EQ(sheet.m_nSheetType, 1);
    EXPECT_EQ(sheet.AddFixed(8), 1);
    EXPECT_EQ(sheet.GetFixedList()[0]->m_nNo, 7);
    EXPECT_EQ(sheet.AddFree(1), -99);
    EXPECT_EQ(sheet.AddSheetDeco(0), -99);
    EXPECT_EQ(Reported(), (Names{"CSheet::AddFree", "CSheet::AddSheetDeco"}));
    EXPECT_TRUE(sheet.GetFreeList().empty() && sheet.GetSheetDecoList().empty());

    CSheet preset(1);
    preset.m_nSheetType = 2;  // set by a reader
    EXPECT_EQ(preset.AddFixed(1), -99);
    EXPECT_EQ(preset.AddFree(1), 0);
}

TEST_F(SheetEditTest, CreationFailuresShowTheMemoryMessageAndAddNothing)
{
    CSheet decoSheet(0);
    InjectAllocationFailure(0);
    EXPECT_EQ(decoSheet.AddSheetDeco(1), -99);
    EXPECT_EQ(decoSheet.m_nSheetType, 0);  // decided all the same
    EXPECT_TRUE(decoSheet.GetSheetDecoList().empty());

    CSheet fixedSheet(0);
    InjectAllocationFailure(0);
    EXPECT_EQ(fixedSheet.AddFixed(1), -99);
    EXPECT_EQ(fixedSheet.m_nSheetType, 1);
    EXPECT_TRUE(fixedSheet.GetFixedList().empty());
    fixedSheet.AddFixed(1);
    InjectAllocationFailure(0);
    EXPECT_EQ(fixedSheet.AddFixedDeco(0, 1), -99);
    EXPECT_EQ(fixedSheet.GetFixedDecoNo(0), 0);

    CSheet freeSheet(0);
    InjectAllocationFailure(0);
    EXPECT_EQ(freeSheet.AddFree(1), -99);
    EXPECT_EQ(freeSheet.m_nSheetType, 2);
    EXPECT_TRUE(freeSheet.GetFreeList().empty());
    InjectAllocationFailure(0);
    EXPECT_EQ(freeSheet.AddSupportInfo(), -99);
    EXPECT_EQ(freeSheet.AddSupportInfo(), 0);  // the injected failure happens once
    InjectAllocationFailure(0);
    EXPECT_EQ(freeSheet.AddGroupName(0, "A"), -99);
    EXPECT_EQ(freeSheet.GetGroupNameNo(0), 0);

    EXPECT_EQ(Reported(), Names(6, kMemoryMessage));
    EXPECT_EQ(GetFailureCount(EFailureClass::Sheet) + GetFailureCount(EFailureClass::FixedFree) +
                  GetFailureCount(EFailureClass::SupportInfo),
              0);
}

TEST_F(SheetEditTest, LookUpFailuresReportTwiceOnTheSheet)
{
    CSheet fixedSheet(0);
    fixedSheet.AddFixed(1);
    fixedSheet.AddFixed(2);
    EXPECT_EQ(fixedSheet.SetFixedWidth(2, 50.0), -99);
    EXPECT_EQ(fixedSheet.SetFixedType(-1, 3), -99);
    EXPECT_EQ(m_box.Texts()[1].rfind("また", 0), 0u);  // one level above the look-up's report

    CSheet freeSheet(0);
    freeSheet.AddFree(1);
    EXPECT_EQ(freeSheet.SetFixedWidth(0, 50.0), -99);  // wrong layout kind

    CSheet undecided(0);
    EXPECT_EQ(undecided.SetSheetDecoStartX(0, 1.0), -99);  // kind check only, no look-up
    EXPECT_EQ(undecided.m_nSheetType, -1);
    undecided.AddSheetDeco(1);
    EXPECT_EQ(undecided.SetSheetDecoEndY(1, 1.0), -99);
    EXPECT_EQ(Reported(), (Names{"CSheet::GetFixed", "CSheet::SetFixedWidth", "CSheet::GetFixed",
                                 "CSheet::SetFixedType", "CSheet::GetFixed", "CSheet::SetFixedWidth",
                                 "CSheet::SetSheetDecoStartX", "CSheet::GetDeco", "CSheet::SetSheetDecoEndY"}));
    EXPECT_EQ(GetFailureCount(EFailureClass::FixedFree), 0);
}

TEST_F(SheetEditTest, ForwardedElementFailuresReportOnlyOnTheElement)
{
    CSheet sheet(0);
    sheet.AddFree(1);
    EXPECT_EQ(sheet.SetFreeHorPos(0, 12.5), 0);  // adds the one position
    EXPECT_EQ(sheet.SetFreeHorPos(0, 20.0), 0);  // replaces it
    EXPECT_EQ(Positions(sheet.GetFreeList()[0]->m_arHorPos), (std::vector<double>{20.0}));
    EXPECT_EQ(sheet.SetFreeVerPos(0, -1.0), -99);
    EXPECT_EQ(sheet.SetFreeDecoStartX(0, 3, 1.0), -99);
    EXPECT_EQ(Reported(), (Names{"CFixedFree::AddVerPos", "CFixedFree::DeleteDeco", "CFixedFree::SetDecoStartX"}));
    EXPECT_EQ(GetFailureCount(EFailureClass::Sheet), 0);
}

TEST_F(SheetEditTest, SupportRecordOperationsCheckTheIndex)
{
    CSheet sheet(0);
    EXPECT_EQ(sheet.AddSupportInfo(), 0);
    EXPECT_EQ(sheet.SetToviType(0, 4), 0);
    EXPECT_EQ(sheet.GetSupportList()[0]->m_nToviType, 4);
    EXPECT_EQ(sheet.AddGroupName(0, "A4"), 0);
    EXPECT_EQ(sheet.AddGroupName(0, "A4"), -99);  // no message
    EXPECT_TRUE(m_box.Shown().empty());

    EXPECT_EQ(sheet.SetToviType(1, 4), -99);
    EXPECT_EQ(sheet.SetToviType(-1, 4), -99);
    EXPECT_EQ(sheet.AddGroupName(1, "A4"), -99);
    EXPECT_EQ(Reported(), (Names{"CSheet::SetToviType", "CSheet::SetToviType", "CSheet::AddGroupName"}));
}

TEST_F(SheetEditTest, FreeReleasesEveryListAndTheCurrentElement)
{
    CSheet sheet(1);
    sheet.ParseFixed("1,90,55");
    sheet.m_nSheetType = 0;  // a later kind change leaves the fixed element in place
    sheet.AddSheetDeco(1);
    sheet.AddSupportInfo();
    sheet.AddGroupName(0, "A");

    EXPECT_EQ(sheet.Free(), 0);
    EXPECT_TRUE(sheet.GetFixedList().empty() && sheet.GetSheetDecoList().empty() && sheet.GetSupportList().empty());
    EXPECT_EQ(sheet.GetCurElement(), nullptr);
    sheet.ParseFixedHorzPos("1,2");  // no released element to write into
    EXPECT_TRUE(m_box.Shown().empty());
}

TEST_F(SheetEditTest, FreeStopsWhenAnElementCannotBeReleased)
{
    CSheet sheet(0);
    sheet.AddFixed(1);
    sheet.AddFixed(2);
    sheet.GetFixedList()[1]->m_lstDeco.push_back(nullptr);
    sheet.AddSupportInfo();

    EXPECT_EQ(sheet.Free(), -99);
    EXPECT_EQ(Reported(), (Names{"CFixedFree::Free"}));
    ASSERT_EQ(sheet.GetFixedList().size(), 1u);  // the released first element left the list
    EXPECT_EQ(sheet.GetFixedList()[0]->m_nNo, 2);
    EXPECT_EQ(sheet.GetSupportInfoNo(), 1);  // not reached
}
