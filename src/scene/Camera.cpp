// Camera sampling, the camera-shake noise and the projection.
#include "scene/Camera.h"

#include "sound/Time.h"

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

// 16 / 9 in single precision, the aspect every projection uses whatever the
// monitor's; the exported field of view is horizontal for that aspect.
constexpr float kAspect = 1.7777778f;

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

}

Camera::Camera()
{
    using namespace CameraShake;
    if (g_shakeNoise.count() != 0)
        return;

    std::vector<D3DXVECTOR3> keys = randomNoiseKeys();
    for (int pass = 0; pass < kSmoothingPasses; ++pass)
        smoothNoise(keys);
    g_shakeNoise.reset(kNoiseKeyCount);
    for (const D3DXVECTOR3& key : keys)
        g_shakeNoise.append(key);
}

D3DXVECTOR3 Camera::eye() const
{
    const D3DXVECTOR3 position = m_positionTrack.sample(m_time);
    D3DXVECTOR3 direction = position - m_targetTrack.sample(m_time);
    D3DXVec3Normalize(&direction, &direction);
    // Each axis is scaled by 1 - d: an eye on the positive side of its target
    // along an axis does not shake along it, one on the negative side twice.
    const D3DXVECTOR3 noise = shake(2.0);
    return position + D3DXVECTOR3((1.0f - direction.x) * noise.x * m_positionShake,
                                  (1.0f - direction.y) * noise.y * m_positionShake,
                                  (1.0f - direction.z) * noise.z * m_positionShake);
}

D3DXVECTOR3 Camera::lookAt() const
{
    return m_targetTrack.sample(m_time) + shake(4.0) * m_targetShake;
}

float Camera::rollAngle() const
{
    return m_rollTrack.sample(m_time) + shake(4.0).z * m_rollShake;
}

D3DXMATRIX Camera::viewMatrix() const
{
    const D3DXVECTOR3 eyePoint = eye();
    const D3DXVECTOR3 target = lookAt();
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view, roll;
    D3DXMatrixLookAtLH(&view, &eyePoint, &target, &up);
    D3DXMatrixRotationZ(&roll, rollAngle());
    return view * roll;
}

D3DXMATRIX Camera::projectionMatrix() const
{
    const float fovY =
        static_cast<float>(m_fovTrack.sample(m_time) / static_cast<double>(kAspect) * m_fovScale);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, fovY, kAspect, m_near, m_far);
    return projection;
}

D3DXVECTOR3 Camera::shake(double a_rate) const
{
    return CameraShake::g_shakeNoise.sample(
        static_cast<float>(Time::g_time * a_rate + m_shakePhase));
}
