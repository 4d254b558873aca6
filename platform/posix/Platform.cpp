#include "platform/Platform.h"

#include "platform/posix/ConsoleFrontEnd.h"
#include "platform/posix/PosixFileSystem.h"
#ifdef TOVICONV_HAVE_GUI
#include "platform/wx/WxFrontEnd.h"
#endif

std::unique_ptr<CFileSystem> CreateFileSystem(std::vector<std::string> arRoots)
{
    return std::make_unique<CPosixFileSystem>(std::move(arRoots));
}

namespace {

#ifdef TOVICONV_HAVE_GUI
/// The windowing front end together with the toolkit session it runs in.
class CWindowFrontEnd : public CWxFrontEnd {
public:
    CWindowFrontEnd(std::unique_ptr<CWxSession> pSession, CFileSystem& fileSystem)
        : CWxFrontEnd(fileSystem), m_pSession(std::move(pSession))
    {
    }

private:
    /// Ends the toolkit after the front end's own members are gone (the
    /// front end itself holds no window).
    std::unique_ptr<CWxSession> m_pSession;
};
#endif

}  // namespace

std::unique_ptr<CUserDialogs> CreateFrontEnd([[maybe_unused]] CFileSystem& fileSystem, [[maybe_unused]] bool bConsole)
{
#ifdef TOVICONV_HAVE_GUI
    // Windows where a display is at hand; the console where none is, or
    // where the toolkit cannot reach it.
    if (!bConsole && IsDisplayAvailable()) {
        auto pSession = std::make_unique<CWxSession>();
        if (pSession->Start())
            return std::make_unique<CWindowFrontEnd>(std::move(pSession), fileSystem);
    }
#endif
    return std::make_unique<CConsoleFrontEnd>(fileSystem);
}
