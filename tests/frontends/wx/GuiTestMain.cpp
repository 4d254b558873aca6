// Test program of the windowing front end: starts the toolkit when a display
// is at hand and ends itself if a window ever waits for somebody.

#include "frontends/wx/WxFrontEnd.h"
#include "tests/frontends/wx/GuiTestSupport.h"

#include <wx/window.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {

bool g_bGuiRunning = false;
constexpr unsigned kWatchdogSeconds = 60;

extern "C" void OnWatchdog(int)
{
    static const char szText[] = "gui_tests: a window waited too long; watchdog ended the test\n";
    [[maybe_unused]] const ssize_t nWritten = ::write(2, szText, sizeof szText - 1);
    ::_exit(3);
}

}  // namespace

bool IsGuiRunning()
{
    return g_bGuiRunning;
}

void Click(wxWindow* pTarget, int nId)
{
    ASSERT_NE(pTarget, nullptr);
    wxCommandEvent event(wxEVT_BUTTON, nId == wxID_ANY ? pTarget->GetId() : nId);
    event.SetEventObject(pTarget);
    pTarget->GetEventHandler()->ProcessEvent(event);
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    std::signal(SIGALRM, OnWatchdog);
    ::alarm(kWatchdogSeconds);
    const char* pSkip = std::getenv("TOVICONV_SKIP_GUI_TESTS");
    // The system's file chooser keeps its settings in memory: a test run
    // must not change the user's.
    ::setenv("GSETTINGS_BACKEND", "memory", 1);
    CWxSession session;
    const char* pDisplay = std::getenv("DISPLAY");
    if (pDisplay && *pDisplay && !(pSkip && *pSkip))
        g_bGuiRunning = session.Start();
    return RUN_ALL_TESTS();
}
