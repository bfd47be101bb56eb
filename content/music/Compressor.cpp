// A feed-forward compressor with a stereo-linked peak detector: the glue of the master bus.
#include "Compressor.h"

#include "StateVariableFilter.h"
#include "StereoBuffer.h"
#include "Tempo.h"

#include "core/Assert.h"

#include <math.h>

Compressor::Compressor(float a_threshold, float a_ratio, float a_attack, float a_release,
                       float a_makeup, float a_detectorCutoff)
    : m_threshold(a_threshold), m_ratio(a_ratio), m_attack(a_attack), m_release(a_release),
      m_makeup(a_makeup), m_detectorCutoff(a_detectorCutoff)
{
    TARVO_ASSERT(a_ratio >= 1.0f && a_attack > 0.0f && a_release > 0.0f);
}

void Compressor::process(StereoBuffer& a_buffer) const
{
    const float attack = expf(-1.0f / (m_attack * Tempo::kSampleRate));
    const float release = expf(-1.0f / (m_release * Tempo::kSampleRate));
    const float slope = 1.0f - 1.0f / m_ratio;
    float* left = a_buffer.left();
    float* right = a_buffer.right();
    StateVariableFilter leftDetector(m_detectorCutoff, 0.7071f);
    StateVariableFilter rightDetector(m_detectorCutoff, 0.7071f);
    float reduction = 0.0f;  // dB, smoothed
    for (size_t i = 0; i < a_buffer.frames(); ++i)
    {
        float peak = fmaxf(fabsf(left[i]), fabsf(right[i]));
        if (m_detectorCutoff > 0.0f)
            peak = fmaxf(fabsf(leftDetector.process(left[i]).high),
                         fabsf(rightDetector.process(right[i]).high));
        const float level = 20.0f * log10f(fmaxf(peak, 1.0e-6f));
        const float target = level > m_threshold ? (level - m_threshold) * slope : 0.0f;
        // The reduction follows rises with the attack time and falls back with the release.
        const float factor = target > reduction ? attack : release;
        reduction = target + (reduction - target) * factor;
        const float gain = powf(10.0f, (m_makeup - reduction) / 20.0f);
        left[i] *= gain;
        right[i] *= gain;
    }
}
