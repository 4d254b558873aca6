#include "system/UserLanguage.h"

#include <windows.h>

bool UserPrefersJapanese()
{
    // The language of the user's Windows display, not the format settings.
    static const bool s_bJapanese = PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE;
    return s_bJapanese;
}
