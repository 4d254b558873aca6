#pragma once
// Shared fixture of the model tests: counters at 0, no injected allocation
// failure, and every message box captured.

#include "model/Allocation.h"
#include "model/FixedFree.h"
#include "model/MethodFailure.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

/// The positions of an element's list, for comparing.
inline std::vector<double> Positions(const CFixedFree::PosList& arPos)
{
    return std::vector<double>(arPos.begin(), arPos.end());
}

inline const std::string kMemoryMessage =
    "メモリが確保できません\n他のプロセスを終了させる等してメモリを確保してください。";

class CModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFailureCountsForTesting();
        InjectAllocationFailure(-1);
    }
    void TearDown() override { InjectAllocationFailure(-1); }

    /// The "Class::Method" line of every failure box shown so far (the whole
    /// text for the memory message).
    std::vector<std::string> Reported() const
    {
        std::vector<std::string> arNames;
        for (const std::string& strText : m_box.Texts()) {
            const auto nPos = strText.rfind('\n');
            arNames.push_back(strText == kMemoryMessage || nPos == std::string::npos ? strText
                                                                                     : strText.substr(nPos + 1));
        }
        return arNames;
    }

    using Names = std::vector<std::string>;

    CScriptedMessageBox m_box;
};
