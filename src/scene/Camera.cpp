// Camera sampling, shaking and the projection.
#include "scene/Camera.h"

#include "scene/format/QorFile.h"
#include "sound/Time.h"

Camera::Camera()
{
    CameraShake::build();
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
    const float fovY = static_cast<float>(m_fovTrack.sample(m_time) /
                                          static_cast<double>(kQorFovAspect) * m_fovScale);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, fovY, kQorFovAspect, m_near, m_far);
    return projection;
}

D3DXVECTOR3 Camera::shake(double a_rate) const
{
    return CameraShake::g_shakeNoise.sample(
        static_cast<float>(Time::g_time * a_rate + m_shakePhase));
}
