// The demo clock's advance: once per frame, demo time from the soundtrack's
// playback position.
#pragma once

class Timer
{
public:
    // Sets Time::g_time from the position being heard, Time::g_previousTime
    // to the time before, and Time::g_delta to their difference, never
    // negative (a looping soundtrack's wrap reads as no time passing).
    static void update();
};
