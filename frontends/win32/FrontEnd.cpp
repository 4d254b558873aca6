#include "frontends/FrontEnd.h"

#include "frontends/ConsoleFrontEnd.h"
#include "frontends/win32/Win32FrontEnd.h"
#include "system/StdStreams.h"

#include <windows.h>

std::unique_ptr<CUserDialogs> CreateFrontEnd(CFileSystem& fileSystem, bool bConsole)
{
    if (!bConsole)
        return std::make_unique<CWin32FrontEnd>(fileSystem);
    // The windowed program started without a console (a shortcut with
    // --console) gets one of its own to talk in.
    if (::GetConsoleWindow() == nullptr && ::AllocConsole())
        ConnectStandardStreams();
    return std::make_unique<CConsoleFrontEnd>(fileSystem, CreateConsoleIo());
}
