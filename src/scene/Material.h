// The surface of a set of meshes: the textures and constants the material
// (G-buffer) pass binds before drawing them.
#pragma once

#include <d3dx9.h>

class Renderer;
class RenderTarget;
class Texture;

class Material
{
public:
    // All defaults: no textures, white diffuse, no self-illumination.
    explicit Material(Renderer* a_renderer);
    // Releases the cube target; textures belong to the application.
    ~Material();
    Material(const Material&) = delete;
    Material& operator=(const Material&) = delete;

    // Binds the textures that are set and the constants, on the renderer's
    // current pixel shader (the material pass's).
    void bind();

    // Whether the self-illumination pass draws meshes of this material.
    bool selfIlluminated() const;

    Texture* m_texture0 = nullptr;         // sampler 0: colour; not owned
    Texture* m_texture1 = nullptr;         // sampler 1: height; not owned
    RenderTarget* m_cubeTarget = nullptr;  // sampler 2 and "cubemap"; owned
    Texture* m_texture3 = nullptr;         // sampler 3: occlusion; not owned
    Texture* m_texture4 = nullptr;         // sampler 4: reflection mask; not owned
    Texture* m_texture5 = nullptr;         // sampler 5: opacity; not owned
    float m_glossiness = 0.0f;
    float m_specularPower = 0.0f;
    D3DXVECTOR4 m_diffuseColor = D3DXVECTOR4(1.0f, 1.0f, 1.0f, 1.0f);
    D3DXVECTOR4 m_selfIllumColor = D3DXVECTOR4(-1.0f, -1.0f, -1.0f, 1.0f);  // this value: none
    D3DXVECTOR4 m_uvScroll = D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f);
    Renderer* m_renderer = nullptr;  // not owned
};
