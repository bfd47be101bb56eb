// A texture the program draws into and later reads from: 2D targets bound as
// colour targets 0 to 3, and small cube maps that are only read.
#pragma once

#include <d3d9.h>

#include <stdint.h>

class Renderer;

class RenderTarget
{
public:
    // A 2D target of one level, or null when the device refuses it (silently).
    static RenderTarget* create(Renderer* a_renderer, int32_t a_width, int32_t a_height,
                                D3DFORMAT a_format);
    // A 128 x 128 X8R8G8B8 cube target, or null when the device refuses it;
    // its faces start as a horizon (pale sky, warm glow, dark ground).
    static RenderTarget* createCube(Renderer* a_renderer);
    // The horizon's colour at a_height, 1 straight up to -1 straight down.
    static D3DCOLOR horizonColour(float a_height);
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Drawing into it: colour target a_index (0 to 3), recording its size in
    // the renderer whatever the index. unbind undoes the last bind: index 0
    // returns to the back buffer, other indices are emptied.
    void bind(int32_t a_index);
    void unbind();

    // Reading it on sampler a_stage: the cube texture of a cube target, else the texture.
    void bindTexture(DWORD a_stage);

    IDirect3DTexture9* m_texture = nullptr;          // 2D kind
    IDirect3DCubeTexture9* m_cubeTexture = nullptr;  // cube kind
    IDirect3DSurface9* m_surface = nullptr;          // level 0 of m_texture
    int32_t m_width = 0;                             // pixels
    int32_t m_height = 0;
    Renderer* m_renderer = nullptr;  // not owned
    int32_t m_index = -1;            // colour-target index of the last bind; -1 before any
    bool m_cubemap = false;

private:
    RenderTarget() = default;
    void paintHorizon();
    static RenderTarget* allocate(Renderer* a_renderer);
};
