#pragma once
// What every front end must do for the run, checked on each of them by one
// suite (DialogsContract.cpp): the run and its dialogs rely on these answers
// whatever front end the user has, and the scripted double the run's tests
// use may only do what the real ones do.
//
// Each front end comes with a driver: the user's hand, which answers the
// windows the front end shows, in the order they come. Answers are given
// before the call that shows the window they answer.

#include "frontends/UserDialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>

class CDialogsDriver {
public:
    virtual ~CDialogsDriver() = default;
    virtual CUserDialogs& Dialogs() = 0;

    /// The button pressed in the next message box: DlgResult::Ok in a
    /// notice, DlgResult::Yes or DlgResult::No in a question.
    virtual void AnswerBox(int nButton) = 0;
    /// The path given in the next file dialog, or Cancel (nullopt).
    virtual void AnswerFile(std::optional<std::string> strPath) = 0;
    /// The next press in the confirm window: OK with the field as it
    /// stands, or Cancel (for the console the end of input: its last answer).
    virtual void PressConfirm(bool bOK) = 0;
    /// Presses Cancel in the progress window the view has created; the
    /// view's pump reports it.
    virtual void PressProgressCancel(CProgressView& view) = 0;

    /// Whether a path can be given to this front end's file dialog; where it
    /// cannot, its file dialogs are only cancelled.
    virtual bool CanChooseFiles() const { return true; }
    /// Full paths of a file that exists and of one that does not.
    virtual std::string ExistingFile() { return {}; }
    virtual std::string MissingFile() { return {}; }
};

/// A front end the cases run over, instantiated as
///   INSTANTIATE_TEST_SUITE_P(FrontEnd, DialogsContractTest,
///                            ::testing::Values(SFrontEndUnderTest{"Console", &MakeConsoleDriver}));
struct SFrontEndUnderTest {
    const char* pName;  ///< printed as the parameter: the end of ctest's test names
    /// Makes the front end and its driver; nullptr when that front end
    /// cannot be shown here (no display): its cases then skip.
    std::unique_ptr<CDialogsDriver> (*pfnMake)();
};

inline void PrintTo(const SFrontEndUnderTest& frontEnd, std::ostream* pOut)
{
    *pOut << frontEnd.pName;
}

class DialogsContractTest : public ::testing::TestWithParam<SFrontEndUnderTest> {
protected:
    void SetUp() override
    {
        m_pDriver = GetParam().pfnMake();
        if (!m_pDriver)
            GTEST_SKIP() << "this front end cannot show its windows here (no display)";
    }
    void TearDown() override { m_pDriver.reset(); }

    CUserDialogs& Dialogs() { return m_pDriver->Dialogs(); }

    std::unique_ptr<CDialogsDriver> m_pDriver;
};
