#pragma once
// Creation of model objects with an injectable failure, so that the
// out-of-memory paths of the creating operations can be exercised.

#include <new>
#include <utility>

/// The next nSucceedFirst creations succeed and the one after fails, once;
/// -1 switches injection off.
void InjectAllocationFailure(int nSucceedFirst);

/// Counts one creation attempt; false when this one must fail.
bool ConsumeAllocationAttempt();

/// Creates a T, or returns nullptr when the memory is exhausted or a failure
/// was injected. An exception thrown by T's constructor is not intercepted.
template <class T, class... A>
T* NewModelObject(A&&... args)
{
    if (!ConsumeAllocationAttempt())
        return nullptr;
    return new (std::nothrow) T(std::forward<A>(args)...);
}

/// Injects a failure for its lifetime and switches injection off afterwards.
class CAllocationFailureScope {
public:
    explicit CAllocationFailureScope(int nSucceedFirst) { InjectAllocationFailure(nSucceedFirst); }
    ~CAllocationFailureScope() { InjectAllocationFailure(-1); }
    CAllocationFailureScope(const CAllocationFailureScope&) = delete;
    CAllocationFailureScope& operator=(const CAllocationFailureScope&) = delete;
};
