#include "model/Allocation.h"

namespace {

// Creations still to succeed before the injected failure; -1 = no injection.
int g_nSucceedBeforeFailure = -1;

}  // namespace

void InjectAllocationFailure(int nSucceedFirst)
{
    g_nSucceedBeforeFailure = nSucceedFirst < 0 ? -1 : nSucceedFirst;
}

bool ConsumeAllocationAttempt()
{
    if (g_nSucceedBeforeFailure < 0)
        return true;
    if (g_nSucceedBeforeFailure > 0) {
        --g_nSucceedBeforeFailure;
        return true;
    }
    g_nSucceedBeforeFailure = -1;  // fails once
    return false;
}
