#include "frontends/FrontEnd.h"

#include "frontends/ConsoleFrontEnd.h"
#include "text/Path.h"
#ifdef TOVICONV_HAVE_GUI
#include "frontends/wx/WxModule.h"

#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace {

#ifdef TOVICONV_HAVE_GUI
/// Whether windows can be shown at all, asked before the toolkit is loaded:
/// the environment names a display (DISPLAY or WAYLAND_DISPLAY).
bool IsDisplayAvailable()
{
    const char* pDisplay = std::getenv("DISPLAY");
    const char* pWayland = std::getenv("WAYLAND_DISPLAY");
    return (pDisplay && *pDisplay) || (pWayland && *pWayland);
}

/// The path of the running program, "" when it cannot be told.
std::string GetProgramPath()
{
    std::string strPath(256, '\0');
    for (;;) {
        const ssize_t nLength = ::readlink("/proc/self/exe", strPath.data(), strPath.size());
        if (nLength < 0)
            return {};
        if (static_cast<std::size_t>(nLength) < strPath.size()) {
            strPath.resize(static_cast<std::size_t>(nLength));
            return strPath;
        }
        strPath.resize(strPath.size() * 2);
    }
}

/// The windowing front end from its module: the one beside the program (a
/// build tree) first, then the installed one. Always by full path, so that
/// no library search path decides which module runs. nullptr when no module
/// loads or the toolkit cannot start. The module stays loaded for the rest
/// of the process: the front end and the toolkit's exit handlers live in it.
std::unique_ptr<CUserDialogs> LoadWindowFrontEnd(CFileSystem& fileSystem)
{
    const std::string strProgram = GetProgramPath();
    if (strProgram.empty())
        return nullptr;
    const std::string_view strFolder = FolderOfPath(strProgram);
    for (const std::string& strModule : {JoinPath(strFolder, kWindowModuleName),
                                         JoinPath(JoinPath(strFolder, TOVICONV_MODULE_DIR), kWindowModuleName)}) {
        void* pModule = ::dlopen(strModule.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!pModule) {
            ::dlerror();
            continue;
        }
        const auto pfnCreate = reinterpret_cast<FnCreateWindowFrontEnd>(::dlsym(pModule, kCreateWindowFrontEndName));
        if (!pfnCreate) {
            ::dlerror();
            continue;
        }
        return std::unique_ptr<CUserDialogs>(pfnCreate(&fileSystem));
    }
    return nullptr;
}
#endif

}  // namespace

std::unique_ptr<CUserDialogs> CreateFrontEnd([[maybe_unused]] CFileSystem& fileSystem, [[maybe_unused]] bool bConsole)
{
#ifdef TOVICONV_HAVE_GUI
    // Windows where a display is at hand; the console where none is, or
    // where the toolkit cannot be loaded or cannot reach the display.
    if (!bConsole && IsDisplayAvailable()) {
        if (auto pWindows = LoadWindowFrontEnd(fileSystem))
            return pWindows;
    }
#endif
    return std::make_unique<CConsoleFrontEnd>(fileSystem, CreateConsoleIo());
}
