// Render targets: creation, binding as colour target and as texture.
#include "render/RenderTarget.h"

#include "core/Assert.h"
#include "render/Renderer.h"

#include <math.h>

#include <new>

namespace
{

// D3D9's colour-target indices run from 0 to 3.
const int32_t g_targetCount = 4;
const UINT g_cubeEdge = 128;

}

RenderTarget* RenderTarget::allocate(Renderer* a_renderer)
{
    TARVO_ASSERT(a_renderer);
    RenderTarget* target = new (std::nothrow) RenderTarget();
    TARVO_ASSERT(target);
    return target;
}

RenderTarget* RenderTarget::create(Renderer* a_renderer, int32_t a_width, int32_t a_height,
                                   D3DFORMAT a_format)
{
    RenderTarget* target = allocate(a_renderer);
    if (a_width <= 0 || a_height <= 0 ||
        FAILED(a_renderer->device()->CreateTexture(UINT(a_width), UINT(a_height), 1,
                                                   D3DUSAGE_RENDERTARGET, a_format, D3DPOOL_DEFAULT,
                                                   &target->m_texture, nullptr)))
    {
        target->m_texture = nullptr;
        delete target;
        return nullptr;
    }
    target->m_texture->GetSurfaceLevel(0, &target->m_surface);
    target->m_width = a_width;
    target->m_height = a_height;
    target->m_renderer = a_renderer;
    return target;
}

RenderTarget* RenderTarget::createCube(Renderer* a_renderer)
{
    RenderTarget* target = allocate(a_renderer);
    if (FAILED(a_renderer->device()->CreateCubeTexture(g_cubeEdge, 1, D3DUSAGE_RENDERTARGET,
                                                       D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT,
                                                       &target->m_cubeTexture, nullptr)))
    {
        target->m_cubeTexture = nullptr;
        delete target;
        return nullptr;
    }
    target->m_width = int32_t(g_cubeEdge);
    target->m_height = int32_t(g_cubeEdge);
    target->m_renderer = a_renderer;
    target->m_cubemap = true;
    target->paintHorizon();
    return target;
}

// Nothing draws into a cube target later, so what its faces start with is
// what every reflecting surface shows: a studio horizon reads on chrome and
// tells up from down. The side faces' top rows look up (+y), as the cube
// map's face layout has it.
void RenderTarget::paintHorizon()
{
    IDirect3DDevice9* device = m_renderer->device();
    IDirect3DSurface9* previous = nullptr;
    device->GetRenderTarget(0, &previous);
    // Sky at the top of a side face, the warm horizon at its middle, the
    // dark ground below; up and down are their own colours.
    const int bands = 32;
    for (DWORD face = 0; face < 6; ++face)
    {
        IDirect3DSurface9* surface = nullptr;
        if (FAILED(m_cubeTexture->GetCubeMapSurface(D3DCUBEMAP_FACES(face), 0, &surface)))
            continue;
        device->SetRenderTarget(0, surface);
        if (face == D3DCUBEMAP_FACE_POSITIVE_Y)
            device->Clear(0, nullptr, D3DCLEAR_TARGET, horizonColour(1.0f), 1.0f, 0);
        else if (face == D3DCUBEMAP_FACE_NEGATIVE_Y)
            device->Clear(0, nullptr, D3DCLEAR_TARGET, horizonColour(-1.0f), 1.0f, 0);
        else
        {
            for (int band = 0; band < bands; ++band)
            {
                const LONG top = LONG(g_cubeEdge) * band / bands;
                const LONG bottom = LONG(g_cubeEdge) * (band + 1) / bands;
                const D3DRECT rect = {0, top, LONG(g_cubeEdge), bottom};
                // The band's middle, from 1 (up) to -1 (down).
                const float height = 1.0f - 2.0f * (float(band) + 0.5f) / float(bands);
                device->Clear(1, &rect, D3DCLEAR_TARGET, horizonColour(height), 1.0f, 0);
            }
        }
        surface->Release();
    }
    device->SetRenderTarget(0, previous);
    if (previous)
        previous->Release();
}

// The colour seen at a_height (1: straight up, 0: the horizon, -1: down):
// a pale cool sky, a warm glow around the horizon, a deep blue-black ground.
D3DCOLOR RenderTarget::horizonColour(float a_height)
{
    const float sky = a_height > 0.0f ? a_height : 0.0f;
    const float ground = a_height < 0.0f ? -a_height : 0.0f;
    const float glow = expf(-a_height * a_height * 40.0f);
    const float red = 0.55f + 0.25f * sky - 0.5f * ground + 0.45f * glow;
    const float green = 0.62f + 0.28f * sky - 0.55f * ground + 0.2f * glow;
    const float blue = 0.8f + 0.2f * sky - 0.6f * ground - 0.1f * glow;
    auto channel = [](float a_value) {
        return DWORD(lroundf(fminf(fmaxf(a_value, 0.0f), 1.0f) * 255.0f));
    };
    return 0xFF000000 | channel(red) << 16 | channel(green) << 8 | channel(blue);
}

RenderTarget::~RenderTarget()
{
    if (m_surface)
    {
        m_surface->Release();
        m_surface = nullptr;
    }
    if (m_texture)
    {
        m_texture->Release();
        m_texture = nullptr;
    }
    if (m_cubeTexture)
    {
        m_cubeTexture->Release();
        m_cubeTexture = nullptr;
    }
}

// A cube target has no 2D surface and nothing draws into one: it keeps the
// content it was created with.
void RenderTarget::bind(int32_t a_index)
{
    TARVO_ASSERT(m_surface);
    TARVO_ASSERT(!m_cubemap);
    TARVO_ASSERT(a_index >= 0 && a_index < g_targetCount);
    m_renderer->device()->SetRenderTarget(DWORD(a_index), m_surface);
    m_renderer->m_width = m_width;
    m_renderer->m_height = m_height;
    m_index = a_index;
}

// Index 0 goes back to the back buffer; indices 1 to 3 are emptied and leave
// index 0 and the size record alone (Renderer::restoreBackBuffer clears them all).
void RenderTarget::unbind()
{
    TARVO_ASSERT(m_index >= 0);
    IDirect3DDevice9* device = m_renderer->device();
    if (m_index != 0)
    {
        device->SetRenderTarget(DWORD(m_index), nullptr);
        return;
    }
    device->SetRenderTarget(0, m_renderer->m_backBuffer);
    m_renderer->m_width = m_renderer->m_backBufferWidth;
    m_renderer->m_height = m_renderer->m_backBufferHeight;
}

void RenderTarget::bindTexture(DWORD a_stage)
{
    IDirect3DBaseTexture9* texture = m_cubemap ? static_cast<IDirect3DBaseTexture9*>(m_cubeTexture)
                                               : static_cast<IDirect3DBaseTexture9*>(m_texture);
    m_renderer->device()->SetTexture(a_stage, texture);
}
