// The swell before a drop: noise through a band-pass that sweeps up while it grows louder (or down while it fades).
#pragma once

#include <stddef.h>

class StereoBuffer;

class Riser
{
public:
    // Adds a sweep of a_length frames at a_frame from a_fromHertz to a_toHertz. The
    // level grows to a_velocity at the end when rising, and falls from it when not.
    void play(StereoBuffer& a_out, size_t a_frame, size_t a_length, float a_fromHertz,
              float a_toHertz, float a_velocity, bool a_rising) const;
};
