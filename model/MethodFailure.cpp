#include "model/MethodFailure.h"
