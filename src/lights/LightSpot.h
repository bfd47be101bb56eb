// A spot light of a scene file: projects the spot image from its position
// toward its aim, shadowed by a shadow map. It draws nothing until its owner
// attaches a shadow map, a depth source and a camera.
#pragma once

#include "lights/Light.h"

class Camera;
class RenderTarget;
class Tarvo;
class Texture;

class LightSpot : public Light
{
public:
    // A light with its own "spot.psh" and "quad.vsh" and the shared spot
    // image ("spot.jpg", registered as "spotShadow" by the first spot
    // light), or null when a program is missing.
    static LightSpot* create(Renderer* a_renderer, Tarvo* a_tarvo);
    ~LightSpot() override;

    // One screen-quad pass, additive; nothing at all without a shadow map.
    void apply() override;

    // The light's view and projection, for the light at a_position aiming
    // at a_target; and the same on to the spot image's texture coordinates
    // (before the divide by w).
    static D3DXMATRIX viewProjection(const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_target);
    static D3DXMATRIX spotMatrix(const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_target);

    Texture* m_texture = nullptr;  // the spot image; not owned
    // Attachments, set by the owner; none owned.
    RenderTarget* m_depthSource = nullptr;  // sampler 5: world position xyz, view distance a
    RenderTarget* m_shadowMap = nullptr;    // sampler 4: "depth.psh" seen from the light
    Camera* m_camera = nullptr;             // gives "camMatrix"

private:
    LightSpot() = default;
};
