#include "frontends/posix/ConsoleFrontEnd.h"

#include <cerrno>
#include <ctime>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_nInterrupted = 0;

extern "C" void OnSigInt(int)
{
    g_nInterrupted = 1;
}

void WriteAll(int nFd, std::string_view strText)
{
    while (!strText.empty()) {
        const ssize_t nDone = ::write(nFd, strText.data(), strText.size());
        if (nDone < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        strText.remove_prefix(static_cast<size_t>(nDone));
    }
}

}  // namespace

std::unique_ptr<CConsoleIo> CreateConsoleIo()
{
    return std::make_unique<CPosixConsoleIo>();
}

CPosixConsoleIo::CPosixConsoleIo(int nIn, int nOut, int nErr) : m_nIn(nIn), m_nOut(nOut), m_nErr(nErr)
{
    struct sigaction current = {};
    m_bSigIntIgnored = ::sigaction(SIGINT, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

CPosixConsoleIo::~CPosixConsoleIo()
{
    EndInterrupts();
}

std::size_t CPosixConsoleIo::Read(char* pBuffer, std::size_t nSize)
{
    for (;;) {
        const ssize_t nRead = ::read(m_nIn, pBuffer, nSize);
        if (nRead < 0 && errno == EINTR)
            continue;
        return nRead > 0 ? static_cast<std::size_t>(nRead) : 0;
    }
}

void CPosixConsoleIo::WriteOut(std::string_view strText)
{
    WriteAll(m_nOut, strText);
}

void CPosixConsoleIo::WriteErr(std::string_view strText)
{
    WriteAll(m_nErr, strText);
}

bool CPosixConsoleIo::IsOutTerminal()
{
    return ::isatty(m_nOut) == 1;
}

bool CPosixConsoleIo::IsErrTerminal()
{
    return ::isatty(m_nErr) == 1;
}

int CPosixConsoleIo::GetErrColumns()
{
    struct winsize size = {};
    return ::ioctl(m_nErr, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

long long CPosixConsoleIo::NowMilliseconds()
{
    timespec now;
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void CPosixConsoleIo::BeginInterrupts()
{
    g_nInterrupted = 0;
    if (m_bSigIntIgnored || m_bCaught)
        return;
    struct sigaction action = {};
    action.sa_handler = OnSigInt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    m_bCaught = ::sigaction(SIGINT, &action, &m_previousAction) == 0;
}

void CPosixConsoleIo::EndInterrupts()
{
    if (m_bCaught)
        ::sigaction(SIGINT, &m_previousAction, nullptr);
    m_bCaught = false;
    g_nInterrupted = 0;
}

bool CPosixConsoleIo::TakeInterrupt()
{
    if (!g_nInterrupted)
        return false;
    g_nInterrupted = 0;
    return true;
}
