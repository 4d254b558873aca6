#include "model/Allocation.h"
