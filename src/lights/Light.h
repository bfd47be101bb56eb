// The common base of every light pass of the deferred renderer: colour,
// intensity, fall-off, position and aim (with their keyframe tracks) and the
// camera matrices the owner writes before each pass.
#pragma once

#include "scene/Track.h"

#include <d3dx9.h>

class Renderer;
class Shader;

class Light
{
public:
    // Draws the light with the device state, targets and textures the owner
    // prepared; the base draws nothing.
    virtual ~Light();
    virtual void apply();

    Track<D3DXVECTOR3> m_positionTrack;
    D3DXVECTOR3 m_position = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    Track<D3DXVECTOR3> m_targetTrack;  // spot lights only
    D3DXVECTOR3 m_target = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    D3DXVECTOR4 m_viewDirection;  // normalised eye-to-target, w = 1; written by the owner
    D3DXVECTOR4 m_color = D3DXVECTOR4(1.0f, 1.0f, 1.0f, 1.0f);
    float m_nearFallOff = 5.0f;
    float m_farFallOff = 10.0f;
    float m_intensity = 1.0f;  // scales all four colour components
    D3DXMATRIX m_view;         // written by the owner
    D3DXMATRIX m_projection;   // written by the owner
    D3DXMATRIX m_world = D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    Renderer* m_renderer = nullptr;    // not owned
    Shader* m_pixelShader = nullptr;   // owned by the full-screen kinds
    Shader* m_vertexShader = nullptr;  // owned by the full-screen kinds

protected:
    Light() = default;
    // For the full-screen kinds, which own both shaders: "quad.vsh" and
    // a_pixelName for a_renderer, false when either is missing (the one that
    // loaded stays for deleteShaders).
    bool loadScreenShaders(Renderer* a_renderer, const char* a_pixelName);
    void deleteShaders();

    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;
};
