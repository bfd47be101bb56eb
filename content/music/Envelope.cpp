// An ADSR envelope: linear attack, exponential decay to the sustain level and exponential release.
#include "Envelope.h"

#include "Tempo.h"

#include "core/Assert.h"

#include <math.h>

namespace
{

constexpr float kSilent = 1.0e-4f;  // -80 dB

float factorForTimeConstant(float a_seconds)
{
    return expf(-1.0f / (fmaxf(a_seconds, 1.0e-4f) * Tempo::kSampleRate));
}

}

Envelope::Envelope(float a_attack, float a_decay, float a_sustain, float a_release)
    : m_stage(Stage::Attack), m_level(0.0f),
      m_attackStep(1.0f / (fmaxf(a_attack, 1.0e-4f) * Tempo::kSampleRate)),
      m_decayFactor(factorForTimeConstant(a_decay)), m_sustain(a_sustain),
      m_releaseFactor(factorForTimeConstant(a_release))
{
    TARVO_ASSERT(a_sustain >= 0.0f && a_sustain <= 1.0f);
}

void Envelope::release()
{
    if (m_stage != Stage::Done)
        m_stage = Stage::Release;
}

float Envelope::next()
{
    switch (m_stage)
    {
    case Stage::Attack:
        m_level += m_attackStep;
        if (m_level >= 1.0f)
        {
            m_level = 1.0f;
            m_stage = Stage::Decay;
        }
        break;
    case Stage::Decay:
        m_level = m_sustain + (m_level - m_sustain) * m_decayFactor;
        if (m_sustain == 0.0f && m_level < kSilent)
            m_stage = Stage::Done;
        break;
    case Stage::Release:
        m_level *= m_releaseFactor;
        if (m_level < kSilent)
            m_stage = Stage::Done;
        break;
    case Stage::Done:
        m_level = 0.0f;
        break;
    }
    return m_level;
}
