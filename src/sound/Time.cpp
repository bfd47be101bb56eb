// The demo clock's globals.
#include "sound/Time.h"

namespace Time
{
float g_time = 0.0f;
float g_previousTime = 0.0f;
float g_delta = 0.0f;
Soundtrack* g_soundtrack = nullptr;
}
