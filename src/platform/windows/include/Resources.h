// The program's resource table on Windows: the same declarations as the
// Win32 layer's, where the executable's image holds the resources
// (tarvo.rc, compiled by windres) and registering checks that it holds
// exactly what the program registers.
#pragma once

#include "../../win32/include/Resources.h"
