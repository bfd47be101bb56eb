// A ping-pong echo with darkening repeats, for stabs, plucks and the lead.
#include "Echo.h"

#include "StateVariableFilter.h"
#include "StereoBuffer.h"

#include "core/Assert.h"

#include <vector>

Echo::Echo(size_t a_delay, float a_feedback, float a_mix, float a_damping)
    : m_delay(a_delay), m_feedback(a_feedback), m_mix(a_mix), m_damping(a_damping)
{
    TARVO_ASSERT(a_delay > 0 && a_feedback >= 0.0f && a_feedback < 1.0f);
}

void Echo::process(StereoBuffer& a_buffer) const
{
    std::vector<float> left(m_delay, 0.0f);
    std::vector<float> right(m_delay, 0.0f);
    StateVariableFilter leftDamping(m_damping, 0.7f);
    StateVariableFilter rightDamping(m_damping, 0.7f);
    float* outLeft = a_buffer.left();
    float* outRight = a_buffer.right();
    size_t index = 0;
    for (size_t i = 0; i < a_buffer.frames(); ++i)
    {
        const float echoLeft = left[index];
        const float echoRight = right[index];
        // The dry sound enters on the left; each repeat crosses to the other side.
        left[index] =
            0.5f * (outLeft[i] + outRight[i]) + m_feedback * rightDamping.process(echoRight).low;
        right[index] = m_feedback * leftDamping.process(echoLeft).low;
        outLeft[i] += m_mix * echoLeft;
        outRight[i] += m_mix * echoRight;
        index = index + 1 == m_delay ? 0 : index + 1;
    }
}
