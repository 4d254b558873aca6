#include "system/UserLanguage.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

/// The locale that decides the language of messages, as setlocale would
/// take it from the environment: the first of LC_ALL, LC_MESSAGES and LANG
/// that is set and not empty.
const char* MessagesLocale()
{
    for (const char* pName : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* pValue = std::getenv(pName);
        if (pValue != nullptr && *pValue != '\0')
            return pValue;
    }
    return "";
}

}  // namespace

bool UserPrefersJapanese()
{
    static const bool s_bJapanese = std::strncmp(MessagesLocale(), "ja", 2) == 0;
    return s_bJapanese;
}
