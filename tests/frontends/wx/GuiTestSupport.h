#pragma once
// Shared by the windowing tests: whether the toolkit runs, and a click.

#include <gtest/gtest.h>
#include <wx/defs.h>

class wxWindow;

/// True when the test program started the toolkit on a display.
bool IsGuiRunning();

/// Skips the current test when no toolkit runs.
#define SKIP_WITHOUT_GUI()                                                 \
    do {                                                                   \
        if (!IsGuiRunning())                                               \
            GTEST_SKIP() << "no display (or TOVICONV_SKIP_GUI_TESTS set)"; \
    } while (false)

/// Presses a button as a click does: the button's command (nId, or the
/// button's own id with wxID_ANY) handled by pTarget, the button itself or,
/// for a button the toolkit does not expose (the system's file chooser's),
/// its dialog.
void Click(wxWindow* pTarget, int nId = wxID_ANY);
