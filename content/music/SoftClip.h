// Gentle saturation for the voices that are driven warm (sub, mid bass, kick, snare).
#pragma once

// A rational approximation of tanh (the [3/2] Padé form), exact at 0 and
// reaching +-1 at +-3, where it is clamped; several times cheaper than tanhf, and
// it runs on nearly every sample of the song.
inline float softClip(float a_value)
{
    if (a_value <= -3.0f)
        return -1.0f;
    if (a_value >= 3.0f)
        return 1.0f;
    const float square = a_value * a_value;
    return a_value * (27.0f + square) / (27.0f + 9.0f * square);
}
