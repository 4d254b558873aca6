// Preloaded into toviconv by the real-window test: every folder listing
// through getdents64 takes TOVICONV_SLOW_LISTING_MS milliseconds longer, so
// that the search lasts until the test has pressed Cancel.

#include <dirent.h>
#include <dlfcn.h>
#include <time.h>

#include <cstdlib>

extern "C" ssize_t getdents64(int nFd, void* pBuffer, size_t nSize)
{
    using Fn = ssize_t (*)(int, void*, size_t);
    static const Fn pReal = reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, "getdents64"));
    static const long nDelayMs = [] {
        const char* pValue = std::getenv("TOVICONV_SLOW_LISTING_MS");
        return pValue ? std::strtol(pValue, nullptr, 10) : 0L;
    }();
    if (nDelayMs > 0) {
        const timespec delay{nDelayMs / 1000, (nDelayMs % 1000) * 1000000L};
        ::nanosleep(&delay, nullptr);
    }
    return pReal(nFd, pBuffer, nSize);
}
