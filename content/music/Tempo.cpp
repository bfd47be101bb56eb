// The song's clock: 170 beats per minute at 44.1 kHz, beats converted to sample frames.
#include "Tempo.h"

#include "core/Assert.h"

#include <math.h>

double Tempo::secondsPerBeat()
{
    return 60.0 / kBeatsPerMinute;
}

double Tempo::framesPerBeat()
{
    return secondsPerBeat() * kSampleRate;
}

double Tempo::framesPerStep()
{
    return framesPerBeat() / 4.0;
}

size_t Tempo::frameOfBeat(double a_beat)
{
    TARVO_ASSERT(a_beat >= 0.0);
    return static_cast<size_t>(llround(a_beat * framesPerBeat()));
}

size_t Tempo::frames(double a_seconds)
{
    TARVO_ASSERT(a_seconds >= 0.0);
    return static_cast<size_t>(llround(a_seconds * kSampleRate));
}
