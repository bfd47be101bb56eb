// A state-variable filter (the trapezoidal "TPT" form): low-, band- and high-pass outputs at once.
#include "StateVariableFilter.h"

#include "Tempo.h"

#include "core/Assert.h"

#include <math.h>

StateVariableFilter::StateVariableFilter(float a_cutoff, float a_q)
    : m_k(0.0f), m_a1(0.0f), m_a2(0.0f), m_a3(0.0f), m_state1(0.0f), m_state2(0.0f)
{
    set(a_cutoff, a_q);
}

void StateVariableFilter::set(float a_cutoff, float a_q)
{
    TARVO_ASSERT(a_q > 0.0f);
    // The bilinear transform prewarped at the cutoff: the analog prototype's gain at
    // the cutoff is kept exactly. Cutoffs are kept clear of Nyquist, where tan diverges.
    const float nyquist = 0.5f * Tempo::kSampleRate;
    const float cutoff = fminf(fmaxf(a_cutoff, 10.0f), 0.95f * nyquist);
    const float g = tanf(3.14159265f * cutoff / Tempo::kSampleRate);
    m_k = 1.0f / a_q;
    m_a1 = 1.0f / (1.0f + g * (g + m_k));
    m_a2 = g * m_a1;
    m_a3 = g * m_a2;
}
