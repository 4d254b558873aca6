#include "model/Sheet.h"
