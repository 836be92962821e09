// State shared across the program's units.
#include "uGlobal.h"

TUser rUser;
