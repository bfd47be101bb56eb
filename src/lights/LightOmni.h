// A point light of a scene file: it draws the primitives scene's sphere,
// scaled to its reach, and adds its diffuse and specular light to the pixels
// the sphere covers.
#pragma once

#include "lights/Light.h"

class Mesh;
class Tarvo;

class LightOmni : public Light
{
public:
    // A light on the application's shared "omni.psh"/"omni.vsh" (loaded and
    // registered by the first omni light) and the primitives scene's first
    // mesh, or null when there is no such mesh (the primitives scene is not
    // loaded yet, or empty).
    static LightOmni* create(Renderer* a_renderer, Tarvo* a_tarvo);

    // Draws the volume's inside faces with additive blending where they lie
    // behind the scene's surfaces; leaves depth testing off and the culling
    // recorded in the renderer.
    void apply() override;

    // 0: plain diffuse light; toward 1, surfaces in reach are lit whatever
    // way they face ("omni.psa").
    float m_override = 0.0f;
    Mesh* m_mesh = nullptr;  // the light volume; not owned

private:
    LightOmni() = default;
};
