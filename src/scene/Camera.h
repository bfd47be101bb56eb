// An animated viewpoint from a scene file, shaken by the demo's camera-shake
// noise, and the one projection used with every camera.
#pragma once

#include "scene/CameraShake.h"
#include "scene/Track.h"

#include <d3dx9.h>

class Camera
{
public:
    // Builds the shake noise if nothing has yet.
    Camera();

    // The view at m_time, shaken at demo time Time::g_time; pure functions of
    // the fields, the noise and the clock.
    D3DXVECTOR3 eye() const;
    D3DXVECTOR3 lookAt() const;
    float rollAngle() const;  // radians
    // lookAt matrix x roll about the view axis.
    D3DXMATRIX viewMatrix() const;
    // Fixed 16:9 aspect; the vertical angle is the exported one over 16:9,
    // times m_fovScale.
    D3DXMATRIX projectionMatrix() const;

    Track<D3DXVECTOR3> m_positionTrack;  // eye per frame
    Track<D3DXVECTOR3> m_targetTrack;    // point looked at per frame
    Track<float> m_rollTrack;            // radians per frame
    Track<float> m_fovTrack;             // radians per frame, before the 16:9 correction
    float m_near = 1.0f;
    float m_far = 5000.0f;
    float m_time = 0.0f;           // frames; set by the timeline
    float m_positionShake = 0.0f;  // amplitude of the eye shake
    float m_targetShake = 0.0f;    // amplitude of the target shake
    float m_rollShake = 0.0f;      // radians
    float m_shakePhase = 0.0f;     // added to the noise time
    float m_fovScale = 1.0f;       // factor on the vertical field of view

private:
    // The noise at Time::g_time x a_rate + m_shakePhase, rounded to float.
    D3DXVECTOR3 shake(double a_rate) const;
};
