// The swell before a drop: noise through a band-pass that sweeps up while it grows louder (or down while it fades).
#include "Riser.h"

#include "Random.h"
#include "StateVariableFilter.h"
#include "StereoBuffer.h"

#include <math.h>

void Riser::play(StereoBuffer& a_out, size_t a_frame, size_t a_length, float a_fromHertz,
                 float a_toHertz, float a_velocity, bool a_rising) const
{
    Random leftNoise(static_cast<uint32_t>(a_frame) ^ 0x72697365u);
    Random rightNoise(static_cast<uint32_t>(a_frame) ^ 0x73776565u);
    StateVariableFilter left(a_fromHertz, 2.5f);
    StateVariableFilter right(a_fromHertz, 2.5f);
    const float ratio = a_toHertz / a_fromHertz;
    for (size_t i = 0; i < a_length; ++i)
    {
        const float progress = static_cast<float>(i) / static_cast<float>(a_length);
        if (i % 32 == 0)
        {
            const float cutoff = a_fromHertz * powf(ratio, progress);
            left.set(cutoff, 2.5f);
            right.set(cutoff * 1.03f, 2.5f);
        }
        const float shape = a_rising ? progress * progress : (1.0f - progress) * (1.0f - progress);
        const float level = a_velocity * shape;
        a_out.add(a_frame + i, level * left.process(leftNoise.next()).band,
                  level * right.process(rightNoise.next()).band);
    }
}
