#pragma once
// Running part of a test in a child process (POSIX): for what must not touch
// the test program itself, such as dropped privileges, a mount namespace, a
// lower file limit or a signal that ends the process. The child leaves with
// _exit, so that none of the test program's exit handlers and none of its
// buffered output run twice.

#include <sys/wait.h>
#include <type_traits>
#include <unistd.h>

/// The wait status of a child that runs fnChild and exits with what it
/// returns (an int); -1 when no child could be made.
template <class TChild>
int ChildWaitStatus(TChild fnChild)
{
    const pid_t nChild = ::fork();
    if (nChild < 0)
        return -1;
    if (nChild == 0)
        ::_exit(fnChild());
    int nStatus = 0;
    if (::waitpid(nChild, &nStatus, 0) != nChild)
        return -1;
    return nStatus;
}

/// The exit code of such a child; -1 when there was none to wait for or it
/// did not exit (a signal ended it).
template <class TChild>
int ChildExitCode(TChild fnChild)
{
    const int nStatus = ChildWaitStatus(fnChild);
    return nStatus != -1 && WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

/// What a child without privileges exits with when root cannot drop them here.
constexpr int kNoPrivilegesDropped = 77;

/// The exit code of fnChild run in a child without privileges (root ignores
/// the permissions under test; anyone else runs as they are): a bool result
/// exits with 0 for true and 1 for false, an int result as it is;
/// kNoPrivilegesDropped when root cannot drop them here.
template <class TChild>
int RunUnprivileged(TChild fnChild)
{
    return ChildExitCode([&]() -> int {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return kNoPrivilegesDropped;
        if constexpr (std::is_same_v<decltype(fnChild()), bool>)
            return fnChild() ? 0 : 1;
        else
            return fnChild();
    });
}
