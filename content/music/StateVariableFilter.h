// A state-variable filter (the trapezoidal "TPT" form): low-, band- and high-pass outputs at once.
#pragma once

class StateVariableFilter
{
public:
    struct Output
    {
        float low;
        float band;
        float high;
    };

    // Cutoff in Hz; Q 0.7071 gives the Butterworth response.
    StateVariableFilter(float a_cutoff, float a_q);

    // Moves the cutoff and resonance without clearing the state (sweeps).
    void set(float a_cutoff, float a_q);

    // Filters one sample (inline: it runs for every sample of most voices).
    Output process(float a_input);

private:
    float m_k;
    float m_a1;
    float m_a2;
    float m_a3;
    float m_state1;
    float m_state2;
};

inline StateVariableFilter::Output StateVariableFilter::process(float a_input)
{
    // Zavalishin, "The Art of VA Filter Design", the SVF with trapezoidal integrators.
    const float v3 = a_input - m_state2;
    const float v1 = m_a1 * m_state1 + m_a2 * v3;
    const float v2 = m_state2 + m_a2 * m_state1 + m_a3 * v3;
    m_state1 = 2.0f * v1 - m_state1;
    m_state2 = 2.0f * v2 - m_state2;
    return Output{v2, v1, a_input - m_k * v1 - v2};
}
