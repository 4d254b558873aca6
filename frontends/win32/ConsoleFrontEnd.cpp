// The console front end's terminal on Windows: a console gets UTF-16
// (WriteConsoleW, ReadConsoleW), a pipe or a file the UTF-8 bytes; Ctrl-C
// through a console control handler.

#include "frontends/ConsoleFrontEnd.h"

#include "system/win32/WideText.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <string>

namespace {

std::atomic<bool> g_bInterrupted{false};

BOOL WINAPI OnConsoleControl(DWORD nEvent)
{
    if (nEvent != CTRL_C_EVENT)
        return FALSE;  // Ctrl-Break, closing the console: the system's way
    g_bInterrupted = true;
    return TRUE;
}

bool IsConsole(HANDLE hHandle)
{
    DWORD nMode = 0;
    return hHandle != nullptr && hHandle != INVALID_HANDLE_VALUE && ::GetConsoleMode(hHandle, &nMode);
}

class CWin32ConsoleIo : public CConsoleIo {
public:
    CWin32ConsoleIo()
        : m_hIn(::GetStdHandle(STD_INPUT_HANDLE)),
          m_hOut(::GetStdHandle(STD_OUTPUT_HANDLE)),
          m_hErr(::GetStdHandle(STD_ERROR_HANDLE))
    {
        // The progress line needs "\r" and the erase-line sequence.
        if (::GetConsoleMode(m_hErr, &m_nErrMode))
            m_bErrTerminal = ::SetConsoleMode(m_hErr, m_nErrMode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
    }
    ~CWin32ConsoleIo() override
    {
        EndInterrupts();
        if (m_bErrTerminal)
            ::SetConsoleMode(m_hErr, m_nErrMode);
    }
    CWin32ConsoleIo(const CWin32ConsoleIo&) = delete;
    CWin32ConsoleIo& operator=(const CWin32ConsoleIo&) = delete;

    std::size_t Read(char* pBuffer, std::size_t nSize) override
    {
        if (!IsConsole(m_hIn)) {
            DWORD nRead = 0;
            const DWORD nTry = static_cast<DWORD>(std::min<std::size_t>(nSize, 1 << 20));
            return ::ReadFile(m_hIn, pBuffer, nTry, &nRead, nullptr) ? nRead : 0;
        }
        // Typed text in UTF-16, handed on as UTF-8 (at most 3 bytes a unit;
        // a pair split by the read waits for its second half).
        for (;;) {
            if (!m_strPending.empty() || m_bEnd)
                return TakePending(pBuffer, nSize);
            wchar_t arWide[1024];
            DWORD nRead = 0;
            if (!::ReadConsoleW(m_hIn, arWide, static_cast<DWORD>(std::size(arWide)), &nRead, nullptr) || nRead == 0) {
                m_bEnd = true;
                continue;
            }
            std::wstring_view strRead(arWide, nRead);
            std::wstring strWhole = m_strHighSurrogate + std::wstring(strRead);
            m_strHighSurrogate.clear();
            if (!strWhole.empty() && strWhole.back() >= 0xD800 && strWhole.back() <= 0xDBFF) {
                m_strHighSurrogate = strWhole.back();
                strWhole.pop_back();
            }
            // Ctrl-Z at the start of a line is the console's end of input.
            const std::size_t nEnd = strWhole.find(L'\x1a');
            if (nEnd != std::wstring::npos) {
                strWhole.resize(nEnd);
                m_bEnd = true;
            }
            m_strPending += NarrowText(strWhole);
        }
    }

    void WriteOut(std::string_view strText) override { WriteUtf8(m_hOut, strText); }
    void WriteErr(std::string_view strText) override { WriteUtf8(m_hErr, strText); }
    bool IsOutTerminal() override { return IsConsole(m_hOut); }
    bool IsErrTerminal() override { return m_bErrTerminal; }

    int GetErrColumns() override
    {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        if (!::GetConsoleScreenBufferInfo(m_hErr, &info))
            return 0;
        return info.srWindow.Right - info.srWindow.Left + 1;
    }

    long long NowMilliseconds() override { return static_cast<long long>(::GetTickCount64()); }

    void BeginInterrupts() override
    {
        g_bInterrupted = false;
        if (!m_bCaught)
            m_bCaught = ::SetConsoleCtrlHandler(OnConsoleControl, TRUE) != 0;
    }
    void EndInterrupts() override
    {
        if (m_bCaught)
            ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
        m_bCaught = false;
        g_bInterrupted = false;
    }
    bool TakeInterrupt() override { return g_bInterrupted.exchange(false); }

private:
    std::size_t TakePending(char* pBuffer, std::size_t nSize)
    {
        const std::size_t nTake = std::min(nSize, m_strPending.size());
        m_strPending.copy(pBuffer, nTake);
        m_strPending.erase(0, nTake);
        return nTake;
    }

    HANDLE m_hIn;
    HANDLE m_hOut;
    HANDLE m_hErr;
    DWORD m_nErrMode = 0;
    bool m_bErrTerminal = false;
    bool m_bCaught = false;
    bool m_bEnd = false;
    std::string m_strPending;         ///< converted input not yet handed on
    std::wstring m_strHighSurrogate;  ///< first half of a pair split by a read
};

}  // namespace

std::unique_ptr<CConsoleIo> CreateConsoleIo()
{
    return std::make_unique<CWin32ConsoleIo>();
}
