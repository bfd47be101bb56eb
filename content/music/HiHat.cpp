// Hi-hats and cymbals: filtered noise, short (closed), longer (open) or long and wide (crash).
#include "HiHat.h"

#include "Random.h"
#include "StateVariableFilter.h"
#include "StereoBuffer.h"
#include "Tempo.h"

#include <math.h>

HiHat::HiHat(float a_decay, float a_centre, float a_width)
    : m_decay(a_decay), m_centre(a_centre), m_width(a_width)
{
}

void HiHat::play(StereoBuffer& a_out, size_t a_frame, float a_velocity, float a_pan) const
{
    Random shared(static_cast<uint32_t>(a_frame) * 2246822519u ^ 0x68617473u);
    Random leftNoise(static_cast<uint32_t>(a_frame) * 3266489917u ^ 0x6c656674u);
    Random rightNoise(static_cast<uint32_t>(a_frame) * 668265263u ^ 0x72696768u);
    StateVariableFilter leftBand(m_centre, 1.1f);
    StateVariableFilter rightBand(m_centre, 1.1f);
    StateVariableFilter leftAir(9000.0f, 0.7f);
    StateVariableFilter rightAir(9000.0f, 0.7f);
    const size_t length = Tempo::frames(6.0 * m_decay + 0.01);
    const float fall = expf(-1.0f / (m_decay * Tempo::kSampleRate));
    const float leftGain = a_velocity * fminf(1.0f, 1.0f - a_pan);
    const float rightGain = a_velocity * fminf(1.0f, 1.0f + a_pan);
    float level = 1.0f;
    for (size_t i = 0; i < length; ++i)
    {
        const float common = shared.next() * (1.0f - m_width);
        const float left = common + leftNoise.next() * m_width;
        const float right = common + rightNoise.next() * m_width;
        const float attack = fminf(1.0f, static_cast<float>(i) / 10.0f);
        const float l = 1.4f * leftBand.process(left).band + 0.5f * leftAir.process(left).high;
        const float r = 1.4f * rightBand.process(right).band + 0.5f * rightAir.process(right).high;
        a_out.add(a_frame + i, leftGain * level * attack * l, rightGain * level * attack * r);
        level *= fall;
    }
}
