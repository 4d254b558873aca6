#include "frontends/wx/WxModule.h"

#include "frontends/wx/WxFrontEnd.h"

#include <memory>
#include <type_traits>

namespace {

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

}  // namespace

// The type check of the entry point against what the program expects.
static_assert(std::is_same_v<decltype(&ToviconvCreateWindowFrontEnd), FnCreateWindowFrontEnd>);

extern "C" CUserDialogs* ToviconvCreateWindowFrontEnd(CFileSystem* pFileSystem)
{
    auto pSession = std::make_unique<CWxSession>();
    if (!pSession->Start())
        return nullptr;
    return new CWindowFrontEnd(std::move(pSession), *pFileSystem);
}
