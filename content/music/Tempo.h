// The song's clock: 170 beats per minute at 44.1 kHz, beats converted to sample frames.
#pragma once

#include "demo/Timeline.h"

#include <stddef.h>

class Tempo
{
public:
    static constexpr int kSampleRate = 44100;
    static constexpr double kBeatsPerMinute = Timeline::kBeatsPerMinute;

    // Seconds and frames of one beat (and of one sixteenth note, a quarter of a beat).
    static double secondsPerBeat();
    static double framesPerBeat();
    static double framesPerStep();

    // The frame on which a beat (possibly fractional) starts, rounded to the nearest frame.
    static size_t frameOfBeat(double a_beat);

    // Frames in a span of seconds, rounded to the nearest frame.
    static size_t frames(double a_seconds);
};
