#include "platform/posix/Display.h"

#include <cstdlib>

bool IsDisplayAvailable()
{
    const char* pDisplay = std::getenv("DISPLAY");
    const char* pWayland = std::getenv("WAYLAND_DISPLAY");
    return (pDisplay && *pDisplay) || (pWayland && *pWayland);
}
