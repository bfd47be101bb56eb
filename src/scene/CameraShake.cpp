// The camera-shake noise.
#include "scene/CameraShake.h"

namespace
{

// The linear congruential generator of the C runtime's rand(), which the
// noise was originally drawn from: 15-bit values from the high half of state.
class RuntimeRandom
{
public:
    explicit RuntimeRandom(uint32_t a_seed) : m_state(a_seed) {}

    uint32_t next()
    {
        m_state = m_state * 214013u + 2531011u;
        return (m_state >> 16) & 0x7FFFu;
    }

private:
    uint32_t m_state;
};

float noiseComponent(RuntimeRandom& a_random)
{
    const uint32_t r = a_random.next() % 1000;
    const float c = static_cast<float>(r / 1000.0 * 2.0 - 1.0);
    return c * 1.2f;
}

}

namespace CameraShake
{

Track<D3DXVECTOR3> g_shakeNoise;

std::vector<D3DXVECTOR3> randomNoiseKeys()
{
    RuntimeRandom random(125612);
    std::vector<D3DXVECTOR3> keys(kNoiseKeyCount);
    for (D3DXVECTOR3& key : keys)
    {
        // Separate statements: the components draw in the order x, y, z.
        key.x = noiseComponent(random);
        key.y = noiseComponent(random);
        key.z = noiseComponent(random);
    }
    return keys;
}

void smoothNoise(std::vector<D3DXVECTOR3>& a_keys)
{
    const size_t count = a_keys.size();
    for (size_t i = 0; i < count; ++i)
        a_keys[i] = (a_keys[(i + 1) % count] + a_keys[(i + count - 1) % count]) * 0.5f;
}

void build()
{
    if (g_shakeNoise.count() != 0)
        return;

    std::vector<D3DXVECTOR3> keys = randomNoiseKeys();
    for (int pass = 0; pass < kSmoothingPasses; ++pass)
        smoothNoise(keys);
    g_shakeNoise.reset(kNoiseKeyCount);
    for (const D3DXVECTOR3& key : keys)
        g_shakeNoise.append(key);
}

}
