#pragma once
// Whether windows can be shown at all, asked before the windowing toolkit is
// loaded.

/// True when the environment names a display (DISPLAY or WAYLAND_DISPLAY).
bool IsDisplayAvailable();
