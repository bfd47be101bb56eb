// The common controls library: only its initialisation, as the launcher's
// controls are the standard ones the dialog manager draws itself.
#pragma once

#include <windows.h>

void WINAPI InitCommonControls(void);
