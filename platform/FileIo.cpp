// What the files of every system share: closing on destruction and the
// output file's buffer. The system calls are in platform/posix and
// platform/win32.

#include "platform/FileIo.h"

namespace {

/// Bytes collected before the output file writes them out.
constexpr std::size_t kOutputBufferSize = std::size_t{64} * 1024;

}  // namespace

CInputFile::~CInputFile()
{
    Close();
}

CAtomicOutputFile::~CAtomicOutputFile()
{
    Abandon();
}

bool CAtomicOutputFile::Write(std::string_view bytes)
{
    if (m_hFile == kNoFile || m_bFailed)
        return false;
    m_strBuffer.append(bytes);
    if (m_strBuffer.size() >= kOutputBufferSize)
        return Flush();
    return true;
}
