// The mixing desk: one stereo bus per instrument group, the kick's ducking of bass and music, and the master chain.
#pragma once

#include "StereoBuffer.h"

#include <stddef.h>

#include <vector>

enum class Bus
{
    Drums,
    Bass,
    Music,
    Effects,
    Count,
};

class Mixer
{
public:
    explicit Mixer(size_t a_frames);

    // The bus that instruments of a group play into.
    StereoBuffer& bus(Bus a_bus);

    // Lowers the bass and music buses by up to a_depth (0..1) right after a kick at
    // a_frame, so the kick punches through the sustained low end.
    void duck(size_t a_frame, float a_depth);

    // Mixes the buses and masters the result: the sum loses its rumble and
    // ultrasonics, is glued by a gentle compressor and limited below full scale.
    StereoBuffer master() const;

    // The largest sample magnitude of the master (linear; 0.841 = -1.5 dBFS). The
    // margin below full scale leaves room for the MP3 decoder's overshoot.
    static constexpr float kCeiling = 0.841f;

private:
    std::vector<StereoBuffer> m_buses;
    std::vector<float> m_duck;  // gain reduction 0..1 per frame
};
