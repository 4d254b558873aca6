#pragma once
// Shared state of the windowing tests: whether the toolkit runs.

#include <gtest/gtest.h>

/// True when the test program started the toolkit on a display.
bool IsGuiRunning();

/// Skips the current test when no toolkit runs.
#define SKIP_WITHOUT_GUI()                                                 \
    do {                                                                   \
        if (!IsGuiRunning())                                               \
            GTEST_SKIP() << "no display (or TOVICONV_SKIP_GUI_TESTS set)"; \
    } while (false)
