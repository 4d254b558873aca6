#include "platform/Platform.h"

#include "platform/ConsoleFrontEnd.h"
#include "platform/StdStreams.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FrontEnd.h"

#include <windows.h>

std::unique_ptr<CFileSystem> CreateFileSystem(std::vector<std::string> arRoots)
{
    // A drive without a medium fails quietly instead of asking for a disk.
    ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return std::make_unique<CWin32FileSystem>(std::move(arRoots));
}

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
