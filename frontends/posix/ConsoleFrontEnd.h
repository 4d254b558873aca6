#pragma once
// The console front end's terminal on POSIX: file descriptors, SIGINT.

#include "frontends/ConsoleFrontEnd.h"

#include <csignal>

class CPosixConsoleIo : public CConsoleIo {
public:
    CPosixConsoleIo(int nIn = 0, int nOut = 1, int nErr = 2);
    ~CPosixConsoleIo() override;
    CPosixConsoleIo(const CPosixConsoleIo&) = delete;
    CPosixConsoleIo& operator=(const CPosixConsoleIo&) = delete;

    std::size_t Read(char* pBuffer, std::size_t nSize) override;
    void WriteOut(std::string_view strText) override;
    void WriteErr(std::string_view strText) override;
    bool IsOutTerminal() override;
    bool IsErrTerminal() override;
    int GetErrColumns() override;
    long long NowMilliseconds() override;
    void BeginInterrupts() override;
    void EndInterrupts() override;
    bool TakeInterrupt() override;

private:
    int m_nIn;
    int m_nOut;
    int m_nErr;
    bool m_bSigIntIgnored;
    bool m_bCaught = false;
    struct sigaction m_previousAction = {};
};
