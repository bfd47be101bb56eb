// A small deterministic noise source (xorshift32): the same seed gives the same song.
#pragma once

#include <stdint.h>

class Random
{
public:
    explicit Random(uint32_t a_seed);

    // Uniform noise in [-1, 1).
    float next();

private:
    uint32_t m_state;
};

inline float Random::next()
{
    // Marsaglia's xorshift32 triple (13, 17, 5); the state never becomes 0.
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return static_cast<float>(static_cast<int32_t>(m_state)) * (1.0f / 2147483648.0f);
}
