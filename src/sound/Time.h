// The demo clock: seconds of soundtrack position, advanced once per frame by
// the timer and read by everything that moves.
#pragma once

class Soundtrack;

namespace Time
{
extern float g_time;              // seconds of soundtrack position
extern float g_previousTime;      // g_time before the last update, seconds
extern float g_delta;             // g_time - g_previousTime, never negative
extern Soundtrack* g_soundtrack;  // drives the clock; not owned, null until the first frame
}
