#include "platform/Process.h"

bool PrepareProcess()
{
    // Nothing to do on Windows: a file the program opens never takes the
    // place of a missing standard handle (writes to one just fail), and a
    // reader that went away makes writes fail without ending the process.
    return true;
}
