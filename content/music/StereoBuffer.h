// Two channels of 32-bit float samples: an instrument bus, a mix or the finished song.
#pragma once

#include <stddef.h>

#include <vector>

class StereoBuffer
{
public:
    explicit StereoBuffer(size_t a_frames);

    // Size and raw channel access.
    size_t frames() const { return m_left.size(); }
    float* left() { return m_left.data(); }
    float* right() { return m_right.data(); }
    const float* left() const { return m_left.data(); }
    const float* right() const { return m_right.data(); }

    // Adds one frame; frames past the end are dropped, so a voice's tail may run over.
    void add(size_t a_frame, float a_left, float a_right)
    {
        if (a_frame < m_left.size())
        {
            m_left[a_frame] += a_left;
            m_right[a_frame] += a_right;
        }
    }

    // Adds another buffer of the same length, scaled by a_gain.
    void mix(const StereoBuffer& a_other, float a_gain);

    // Largest absolute sample of either channel.
    float peak() const;

private:
    std::vector<float> m_left;
    std::vector<float> m_right;
};
