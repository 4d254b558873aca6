#include "platform/WholeFile.h"

#include "platform/FileIo.h"

bool ReadFileBytes(const std::string& strPath, std::string& strBytes)
{
    strBytes.clear();
    CInputFile file;
    if (!file.Open(strPath))
        return false;
    char arBuffer[64 * 1024];
    for (std::size_t nRead; (nRead = file.Read(arBuffer, sizeof arBuffer)) > 0;)
        strBytes.append(arBuffer, nRead);
    return !file.HadReadError();
}
