#include "model/ToviSupportInfo.h"
