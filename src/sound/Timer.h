// The demo clock's advance: once per frame, demo time from the soundtrack's
// playback position.
#pragma once

class Soundtrack;

class Timer
{
public:
    // The first frame's clock reset: time and delta 0, no soundtrack yet.
    static void reset();

    // Sets Time::g_time from the position being heard, Time::g_previousTime
    // to the time before, and Time::g_delta to their difference, never
    // negative (a looping soundtrack's wrap reads as no time passing).
    static void update();
    // The time update would read now from a_soundtrack, in seconds; the
    // offline renderer asks it before a frame to stop short of the end.
    static float heardTime(const Soundtrack* a_soundtrack);

    // The same without a soundtrack (its file was missing): demo time runs
    // on the wall clock from the reset, in silence.
    static void updateSilent();
};
