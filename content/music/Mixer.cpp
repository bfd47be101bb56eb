// The mixing desk: one stereo bus per instrument group, the kick's ducking of bass and music, and the master chain.
#include "Mixer.h"

#include "Compressor.h"
#include "Limiter.h"
#include "StateVariableFilter.h"
#include "Tempo.h"

#include "core/Assert.h"

#include <math.h>

Mixer::Mixer(size_t a_frames)
    : m_buses(static_cast<size_t>(Bus::Count), StereoBuffer(a_frames)), m_duck(a_frames, 0.0f)
{
}

StereoBuffer& Mixer::bus(Bus a_bus)
{
    TARVO_ASSERT(a_bus < Bus::Count);
    return m_buses[static_cast<size_t>(a_bus)];
}

void Mixer::duck(size_t a_frame, float a_depth)
{
    const size_t attack = Tempo::frames(0.004);
    const size_t length = Tempo::frames(0.35);
    const float fall = expf(-1.0f / (0.09f * Tempo::kSampleRate));
    float level = a_depth;
    for (size_t i = 0; i < length && a_frame + i < m_duck.size(); ++i)
    {
        const float depth = i < attack
                                ? a_depth * static_cast<float>(i) / static_cast<float>(attack)
                                : (level *= fall);
        m_duck[a_frame + i] = fmaxf(m_duck[a_frame + i], depth);
    }
}

StereoBuffer Mixer::master() const
{
    // The buses are summed hot; trimming the sum leaves the compressor and the
    // limiter a few dB of peaks to tame rather than a wall of them.
    constexpr float kTrim = 0.8f;  // -1.9 dB
    const StereoBuffer& drums = m_buses[static_cast<size_t>(Bus::Drums)];
    const StereoBuffer& bass = m_buses[static_cast<size_t>(Bus::Bass)];
    const StereoBuffer& music = m_buses[static_cast<size_t>(Bus::Music)];
    StereoBuffer result = m_buses[static_cast<size_t>(Bus::Effects)];
    result.mix(drums, 1.0f);
    float* left = result.left();
    float* right = result.right();
    // Below the lowest note (G1, 49 Hz) there is only rumble and the offset of
    // asymmetric saturation, which would cost headroom. Above 17 kHz there is only
    // noise that the MP3 encoder drops anyway; left in, its removal after the
    // limiter would raise the decoded peaks past the ceiling.
    StateVariableFilter leftRumble(20.0f, 0.7071f);
    StateVariableFilter rightRumble(20.0f, 0.7071f);
    StateVariableFilter leftAir(17000.0f, 0.7071f);
    StateVariableFilter rightAir(17000.0f, 0.7071f);
    for (size_t i = 0; i < result.frames(); ++i)
    {
        const float keep = 1.0f - m_duck[i];
        const float l = left[i] + keep * (bass.left()[i] + music.left()[i]);
        const float r = right[i] + keep * (bass.right()[i] + music.right()[i]);
        left[i] = kTrim * leftAir.process(leftRumble.process(l).high).low;
        right[i] = kTrim * rightAir.process(rightRumble.process(r).high).low;
    }

    Compressor(-20.0f, 2.0f, 0.01f, 0.2f, 3.0f, 150.0f).process(result);
    Limiter(kCeiling, 0.004f, 0.1f).process(result);
    return result;
}
