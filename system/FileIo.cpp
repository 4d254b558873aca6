// What the files of every system share: closing on destruction and the
// output file's buffer. The system calls are in system/posix and
// system/win32.

#include "system/FileIo.h"

#include "system/Process.h"

namespace {

/// Bytes collected before the output file writes them out.
constexpr std::size_t kOutputBufferSize = std::size_t{64} * 1024;

}  // namespace

std::string OutputFailureLine(EOutputFailure eFailure)
{
    switch (eFailure) {
    case EOutputFailure::InUse:
        return ByUserLanguage("ファイルが他のプログラムで使用中です。Tovi５を終了してから、もう一度実行してください。",
                              "The file is in use by another program: close Tovi5, then try again.");
    case EOutputFailure::DiskFull:
        return ByUserLanguage("ディスクの空き容量が足りません。", "The disk is full.");
    // Only a windowed program on Windows asks for administrator rights; the
    // run that decides it is the same everywhere.
    case EOutputFailure::ElevationDeclined:
        return ByUserLanguage("管理者として書き込むことが許可されませんでした。",
                              "Writing with administrator rights was not allowed.");
    case EOutputFailure::ElevationFailed:
        return ByUserLanguage("管理者として実行しても書き込めませんでした。",
                              "Even with administrator rights the file could not be written.");
    case EOutputFailure::NoRights:
    case EOutputFailure::ReadOnly:
    case EOutputFailure::UntrustedLink:
    case EOutputFailure::NotRegularFile:
        return SystemFailureLine(eFailure);
    case EOutputFailure::None:
    case EOutputFailure::Other:
        break;
    }
    return {};
}

std::string WithFailureLine(std::string strMessage, EOutputFailure eFailure)
{
    const std::string strLine = OutputFailureLine(eFailure);
    if (!strLine.empty())
        strMessage += "\n" + strLine;
    return strMessage;
}

std::string OutputFailureMessage(const std::string& strPath, EOutputFailure eFailure)
{
    return WithFailureLine("ﾌｧｲﾙ " + strPath + " に書き込みができません", eFailure);
}

CInputFile::~CInputFile()
{
    Close();
}

CAtomicOutputFile::~CAtomicOutputFile()
{
    Abandon();
}

bool CAtomicOutputFile::Fail(EOutputFailure eFailure)
{
    if (m_eFailure == EOutputFailure::None)
        m_eFailure = eFailure;
    return false;
}

bool CAtomicOutputFile::Write(std::string_view bytes)
{
    if (m_hFile == kNoFile || m_bFailed)
        return false;
    if (m_strBuffer.size() + bytes.size() < kOutputBufferSize) {
        m_strBuffer.append(bytes);
        return true;
    }
    if (!Flush())
        return false;
    // A block as large as the buffer (the writer hands over such blocks)
    // goes out as it is rather than through a copy.
    if (bytes.size() >= kOutputBufferSize)
        return WriteOut(bytes.data(), bytes.size());
    m_strBuffer.append(bytes);
    return true;
}

bool CAtomicOutputFile::Flush()
{
    if (!m_strBuffer.empty())
        WriteOut(m_strBuffer.data(), m_strBuffer.size());
    m_strBuffer.clear();
    return !m_bFailed;
}

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
