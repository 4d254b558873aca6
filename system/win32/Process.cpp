#include "system/Process.h"

#include "system/win32/WideText.h"

// windows.h comes first: the headers below build on it.
#include <windows.h>

#include <shellapi.h>

bool PrepareProcess()
{
    // Nothing to do on Windows: a file the program opens never takes the
    // place of a missing standard handle (writes to one just fail), and a
    // reader that went away makes writes fail without ending the process.
    return true;
}

std::vector<std::string> GetCommandLineArguments(int, char**)
{
    // The narrow argv holds the arguments in the ANSI code page, where any
    // character outside it (Japanese on a Western system) is already "?".
    std::vector<std::string> arArgs;
    int nArgs = 0;
    LPWSTR* ppArgs = ::CommandLineToArgvW(::GetCommandLineW(), &nArgs);
    if (ppArgs == nullptr)
        return arArgs;
    for (int i = 1; i < nArgs; ++i)
        arArgs.push_back(NarrowText(ppArgs[i]));
    ::LocalFree(ppArgs);
    return arArgs;
}

bool UserPrefersJapanese()
{
    // The language of the user's Windows display, not the format settings.
    static const bool s_bJapanese = PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE;
    return s_bJapanese;
}
