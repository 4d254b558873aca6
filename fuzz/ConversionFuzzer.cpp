// libFuzzer entry: any bytes through both legacy readers and the version-5
// writer. A fault in the output ends the run like a crash, with the input
// kept as the artifact.

#include "fuzz/ConversionCheck.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static CConversionCheck check;
    const std::string strFaults = check.CheckBytes(std::string_view(reinterpret_cast<const char*>(pData), nSize));
    if (!strFaults.empty()) {
        std::cerr << strFaults << std::flush;
        std::abort();
    }
    return 0;
}
