#include "ModelTestFixture.h"

#include "model/Sheet.h"

namespace {

using SheetParseTest = CModelTest;

std::vector<std::string> Split(std::string_view str)
{
    std::vector<std::string> ar;
    SplitValues(str, ar);
    return ar;
}

}  // namespace

TEST_F(SheetParseTest, SplitValuesKeepsEmptyPiecesExceptTheLast)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Split(""), V{});
    EXPECT_EQ(Split(","), V{""});
    EXPECT_EQ(Split("1,,2"), (V{"1", "", "2"}));
    EXPECT_EQ(Split("1,2,"), (V{"1", "2"}));
    EXPECT_EQ(Split(" 1 , 2"), (V{" 1 ", " 2"}));
}

TEST_F(SheetParseTest, SheetTypeFillsOnlyTheGivenFields)
{
    CSheet sheet(1);
    sheet.ParseSheetType("3,1,0,0,999");
    EXPECT_EQ(sheet.m_nSheetClass, 3);
    EXPECT_EQ(sheet.m_nSheetType, 1);
    EXPECT_EQ(sheet.m_nSheetIndex, 0);
    EXPECT_EQ(sheet.m_nSheetOrientation, 0);

    CSheet partial(1);
    partial.ParseSheetType("5");
    EXPECT_EQ(partial.m_nSheetClass, 5);
    EXPECT_EQ(partial.m_nSheetType, -1);
    partial.ParseSheetType(" 7 ,x");  // unparseable pieces read 0
    EXPECT_EQ(partial.m_nSheetClass, 7);
    EXPECT_EQ(partial.m_nSheetType, 0);
}

TEST_F(SheetParseTest, ElementsShareOneCounterAndBecomeCurrent)
{
    CSheet sheet(1);
    sheet.ParseFixed("1,10,20");
    sheet.ParseFree("2,10,20,30,40");
    sheet.ParseFixed("1,90.5,55,60");
    EXPECT_EQ(sheet.m_nSheetType, -1);  // the parsers leave the layout kind alone

    const CFixedFree& free = *sheet.GetFreeList()[0];
    EXPECT_EQ(free.m_nNo, 2);
    EXPECT_EQ(free.m_nType, 2);
    EXPECT_EQ(free.m_dWidth, 10.0);
    EXPECT_EQ(free.m_dHeight, 20.0);  // later pieces ignored
    const CFixedFree& third = *sheet.GetFixedList()[1];
    EXPECT_EQ(third.m_nNo, 3);
    EXPECT_EQ(third.m_nType, 1);
    EXPECT_EQ(third.m_dWidth, 90.5);
    EXPECT_EQ(third.m_dHeight, 60.0);  // every later piece is a height: the last one stays
    EXPECT_EQ(sheet.GetCurElement(), &third);
}

TEST_F(SheetParseTest, PositionsAndDecorationsGoToTheCurrentElement)
{
    CSheet sheet(1);
    sheet.ParseFixedHorzPos("1,2");  // no current element yet
    sheet.ParseFixedDeco("1,0,0,10");
    EXPECT_TRUE(sheet.GetFixedList().empty() && sheet.GetFreeList().empty());

    sheet.ParseFree("1,10,10");
    sheet.ParseFreePos("12.5,30,40");
    sheet.ParseFixedHorzPos("-5, 7");  // stored as read, even when negative
    sheet.ParseFixedVertPos(",");
    sheet.ParseFreeDeco("1,0,0,10");
    sheet.ParseFixedDeco("2,1,2,3,4,5,6");

    const CFixedFree& elem = *sheet.GetFreeList()[0];
    EXPECT_EQ(Positions(elem.m_arHorPos), (std::vector<double>{12.5, -5.0, 7.0}));
    EXPECT_EQ(Positions(elem.m_arVerPos), (std::vector<double>{30.0, 40.0, 0.0}));
    ASSERT_EQ(elem.m_lstDeco.size(), 2u);
    const CDeco& first = *elem.m_lstDeco[0];
    EXPECT_EQ(first.m_nType, 1);
    EXPECT_EQ(first.m_dEndX, 10.0);
    EXPECT_EQ(first.m_dEndY, 0.0);
    EXPECT_EQ(elem.m_lstDeco[1]->m_dEndY, 6.0);
    EXPECT_TRUE(m_box.Shown().empty());
}

TEST_F(SheetParseTest, CreationFailureInAParserIsSilentAndDropsTheElementsLines)
{
    CSheet sheet(1);
    sheet.ParseFixed("1,10,10");
    InjectAllocationFailure(0);
    sheet.ParseFixed("1,20,20");
    sheet.ParseFixedHorzPos("5");  // belongs to the lost element
    EXPECT_EQ(sheet.GetFixedList().size(), 1u);
    EXPECT_TRUE(sheet.GetFixedList()[0]->m_arHorPos.empty());

    InjectAllocationFailure(0);
    sheet.ParseSheetDeco("1,2,3,4,5");
    EXPECT_TRUE(sheet.GetSheetDecoList().empty());
    sheet.ParseFixed("1,30,30");
    EXPECT_EQ(sheet.GetFixedList()[1]->m_nNo, 2);
    InjectAllocationFailure(0);
    sheet.ParseFixedDeco("1,2,3,4,5");
    EXPECT_TRUE(sheet.GetFixedList()[1]->m_lstDeco.empty());
    EXPECT_TRUE(m_box.Shown().empty());
}
