#include "model/MethodFailure.h"

#include "text/MessageBox.h"

#include <climits>

namespace {

// Level 0..3, then the text of every level from 4 on. Each ends with an empty
// line so that "<class>::<method>" stands on a line of its own.
const char* const kLevelTexts[] = {
    "バグらしいです。とりあえず今の処理は中止しときます。\nまだ頑張れると思いますが．．．\n\n",
    "バグのようです。ちょっとまずいかもしれないっすよ。\nまだ頑張れるかもしれないけど、終わったほうがいいんじゃないですか？\n\n",
    "バグみたいです。もうどうしようもないっす。\nぴよこくんだけにこれは、こぴよこ．．．(^^;;;\n\n",
    "バグみたいです。もう勘弁してください。\n(ToT)...\n\n",
    "バグみたいです。ここはどこ、わたしは誰？\n\n",
};

const char* const kMemoryText = "メモリが確保できません\n他のプロセスを終了させる等してメモリを確保してください。";

const char* const kAgain = "また";

/// The most "また" a report carries. Every report repeats the whole prefix, so
/// a prefix that kept growing would make a file with many failing lines write
/// output quadratic in its size (gigabytes of standard error, boxes wider
/// than the screen); from here on the texts stay the same length.
constexpr int kMaxAgainNum = 10;

int g_arFailureCount[3] = {0, 0, 0};

int& CounterOf(EFailureClass eClass)
{
    return g_arFailureCount[static_cast<int>(eClass)];
}

}  // namespace

std::string ComposeMethodFailureText(EFailureClass eClass, const char* pszClassName, const char* pszMethodName)
{
    const int nLevel = CounterOf(eClass);
    std::string strText;
    for (int i = 0; i < nLevel && i < kMaxAgainNum; ++i)
        strText += kAgain;
    strText += kLevelTexts[nLevel < 4 ? nLevel : 4];
    strText += pszClassName;
    strText += "::";
    strText += pszMethodName;
    return strText;
}

void ReportMethodFailure(EFailureClass eClass, const char* pszClassName, const char* pszMethodName)
{
    ShowMessageBox(ComposeMethodFailureText(eClass, pszClassName, pszMethodName), EMsgButtons::Ok);
    // Raised only after the box is closed; saturates instead of overflowing.
    int& nCount = CounterOf(eClass);
    if (nCount < INT_MAX)
        ++nCount;
}

void ReportMemoryExhausted()
{
    ShowMessageBox(kMemoryText, EMsgButtons::Ok);
}

int GetFailureCount(EFailureClass eClass)
{
    return CounterOf(eClass);
}

void ResetFailureCountsForTesting()
{
    for (int& nCount : g_arFailureCount)
        nCount = 0;
}
