#include "model/FixedFree.h"
