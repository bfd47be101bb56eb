// Two channels of 32-bit float samples: an instrument bus, a mix or the finished song.
#include "StereoBuffer.h"

#include "core/Assert.h"

#include <math.h>

StereoBuffer::StereoBuffer(size_t a_frames) : m_left(a_frames, 0.0f), m_right(a_frames, 0.0f) {}

void StereoBuffer::mix(const StereoBuffer& a_other, float a_gain)
{
    TARVO_ASSERT(a_other.frames() == frames());
    for (size_t i = 0; i < m_left.size(); ++i)
    {
        m_left[i] += a_gain * a_other.m_left[i];
        m_right[i] += a_gain * a_other.m_right[i];
    }
}

float StereoBuffer::peak() const
{
    float result = 0.0f;
    for (size_t i = 0; i < m_left.size(); ++i)
        result = fmaxf(result, fmaxf(fabsf(m_left[i]), fabsf(m_right[i])));
    return result;
}
