#include "ModelTestFixture.h"

namespace {

const std::string kLevel0 = "バグらしいです。とりあえず今の処理は中止しときます。\nまだ頑張れると思いますが．．．\n\n";
const std::string kLevel1 =
    "バグのようです。ちょっとまずいかもしれないっすよ。\nまだ頑張れるかもしれないけど、終わったほうがいいんじゃないですか？\n\n";
const std::string kLevel2 =
    "バグみたいです。もうどうしようもないっす。\nぴよこくんだけにこれは、こぴよこ．．．(^^;;;\n\n";
const std::string kLevel3 = "バグみたいです。もう勘弁してください。\n(ToT)...\n\n";
const std::string kLevel4 = "バグみたいです。ここはどこ、わたしは誰？\n\n";

std::string Again(int n)
{
    std::string str;
    for (int i = 0; i < n; ++i)
        str += "また";
    return str;
}

using MethodFailureTest = CModelTest;

}  // namespace

TEST_F(MethodFailureTest, ReportsEscalateWithExactTexts)
{
    for (int i = 0; i < 13; ++i)
        ReportMethodFailure(EFailureClass::FixedFree, "CFixedFree", "AddHorPos");

    const std::vector<SShownBox>& boxes = m_box.Shown();
    ASSERT_EQ(boxes.size(), 13u);
    for (const SShownBox& box : boxes)
        EXPECT_EQ(box.eButtons, EMsgButtons::Ok);
    EXPECT_EQ(boxes[0].strText, kLevel0 + "CFixedFree::AddHorPos");
    EXPECT_EQ(boxes[1].strText, "また" + kLevel1 + "CFixedFree::AddHorPos");
    EXPECT_EQ(boxes[2].strText, Again(2) + kLevel2 + "CFixedFree::AddHorPos");
    EXPECT_EQ(boxes[3].strText, Again(3) + kLevel3 + "CFixedFree::AddHorPos");
    EXPECT_EQ(boxes[4].strText, Again(4) + kLevel4 + "CFixedFree::AddHorPos");
    EXPECT_EQ(boxes[9].strText, Again(9) + kLevel4 + "CFixedFree::AddHorPos");
    // The prefix stops growing at ten, so output stays linear in the failures.
    EXPECT_EQ(boxes[10].strText, Again(10) + kLevel4 + "CFixedFree::AddHorPos");
    EXPECT_EQ(boxes[12].strText, Again(10) + kLevel4 + "CFixedFree::AddHorPos");
    EXPECT_EQ(GetFailureCount(EFailureClass::FixedFree), 13);
}

TEST_F(MethodFailureTest, ClassesEscalateIndependently)
{
    for (int i = 0; i < 3; ++i)
        ReportMethodFailure(EFailureClass::FixedFree, "CFixedFree", "GetHorPos");
    ReportMethodFailure(EFailureClass::Sheet, "CSheet", "GetFixed");
    ReportMethodFailure(EFailureClass::SupportInfo, "CToviSuportInfo", "Free");

    const std::vector<std::string> texts = m_box.Texts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[3], kLevel0 + "CSheet::GetFixed");
    EXPECT_EQ(texts[4], kLevel0 + "CToviSuportInfo::Free");
    EXPECT_EQ(GetFailureCount(EFailureClass::FixedFree), 3);
    EXPECT_EQ(GetFailureCount(EFailureClass::Sheet), 1);
}

TEST_F(MethodFailureTest, MemoryMessageStandsAloneAndRaisesNoCounter)
{
    ReportMethodFailure(EFailureClass::Sheet, "CSheet", "AddFixed");
    ReportMemoryExhausted();
    ASSERT_EQ(m_box.Shown().size(), 2u);
    EXPECT_EQ(m_box.Shown()[1].strText, kMemoryMessage);
    EXPECT_EQ(m_box.Shown()[1].eButtons, EMsgButtons::Ok);
    EXPECT_EQ(GetFailureCount(EFailureClass::Sheet), 1);
    EXPECT_EQ(GetFailureCount(EFailureClass::FixedFree), 0);
    EXPECT_EQ(GetFailureCount(EFailureClass::SupportInfo), 0);
}
