// The cost of one deferred frame at the demo's 1280 x 720, on SDL's offscreen
// driver and Mesa: the geometry pass over a textured sphere of 36,864
// triangles filling most of the picture, the light pass with the ambient
// light, combine into a full-screen target, fog over it, the letterboxed copy
// to the back buffer and the present. The programs are the content folder's.
#include "BenchmarkDisplay.h"
#include "core/LauncherSettings.h"
#include "render/DeferredShading.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Shader.h"
#include "render/VertexBuffer.h"

#include <D3D9Testing.h>

#include <benchmark/benchmark.h>
#include <windows.h>

#include <math.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace
{

LRESULT CALLBACK procedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
}

struct Vertex
{
    float position[3];
    float normal[3];
    float uv[2];
};

// A unit sphere as a triangle list, a_rings x a_segments quads.
std::vector<Vertex> sphere(int a_rings, int a_segments)
{
    const float pi = 3.14159265f;
    auto point = [&](int a_ring, int a_segment) {
        const float theta = pi * float(a_ring) / float(a_rings);
        const float phi = 2.0f * pi * float(a_segment) / float(a_segments);
        const float x = sinf(theta) * cosf(phi);
        const float y = cosf(theta);
        const float z = sinf(theta) * sinf(phi);
        return Vertex{{x, y, z},
                      {x, y, z},
                      {float(a_segment) / float(a_segments), float(a_ring) / float(a_rings)}};
    };
    std::vector<Vertex> vertices;
    for (int ring = 0; ring < a_rings; ++ring)
        for (int segment = 0; segment < a_segments; ++segment)
        {
            const Vertex a = point(ring, segment), b = point(ring, segment + 1);
            const Vertex c = point(ring + 1, segment), d = point(ring + 1, segment + 1);
            vertices.insert(vertices.end(), {a, b, c, b, d, c});
        }
    return vertices;
}

class Frame
{
public:
    Frame()
    {
        if (chdir(TARVO_CONTENT_FILES) != 0)
            return;
        WNDCLASSA description = {};
        description.lpfnWndProc = procedure;
        description.lpszClassName = "framebench";
        RegisterClassA(&description);
        useBenchmarkDisplay(1280, 720);
        m_window = CreateWindowExA(0, "framebench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 720,
                                   nullptr, nullptr, nullptr, nullptr);
        m_renderer.reset(Renderer::create());
        ReturnCode initialised = m_renderer->init(1280, 720, m_window);
        if (initialised.failed())
            return;
        m_pipeline.reset(DeferredShading::create(m_renderer.get()));
        m_output.reset(RenderTarget::create(m_renderer.get(), 1280, 720, D3DFMT_A16B16G16R16F));

        const std::vector<Vertex> vertices = sphere(96, 192);
        m_sphere.reset(VertexBuffer::create(m_renderer.get(), uint32_t(vertices.size()),
                                            sizeof(Vertex),
                                            D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
        if (!m_pipeline || !m_output || !m_sphere)
            return;
        ReturnCode filled = m_sphere->fill(vertices.data(), uint32_t(vertices.size()));
        m_triangles = uint32_t(vertices.size() / 3);

        IDirect3DDevice9* device = m_renderer->device();
        if (filled.failed() ||
            FAILED(device->CreateTexture(256, 256, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8,
                                         D3DPOOL_DEFAULT, &m_texture, nullptr)))
            return;
        D3DLOCKED_RECT locked = {};
        m_texture->LockRect(0, &locked, nullptr, 0);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                static_cast<DWORD*>(locked.pBits)[y * locked.Pitch / 4 + x] =
                    ((x / 32 + y / 32) % 2) ? 0xFFE0C090 : 0xFF305070;
        m_texture->UnlockRect(0);
        // What a material leaves on its other maps: flat height, no
        // occlusion, full reflection and opacity.
        if (FAILED(device->CreateTexture(1, 1, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8,
                                         D3DPOOL_DEFAULT, &m_white, nullptr)))
            return;
        m_white->LockRect(0, &locked, nullptr, 0);
        *static_cast<DWORD*>(locked.pBits) = 0xFFFFFFFF;
        m_white->UnlockRect(0);
        m_ready = true;
    }

    ~Frame()
    {
        if (m_texture)
            m_texture->Release();
        if (m_white)
            m_white->Release();
        m_sphere.reset();
        m_output.reset();
        m_pipeline.reset();
        if (m_renderer)
            m_renderer->shutdown();
        m_renderer.reset();
        if (m_window)
            DestroyWindow(m_window);
    }

    bool ready() const { return m_ready; }
    uint32_t triangles() const { return m_triangles; }

    void draw(float a_angle)
    {
        m_renderer->beginFrame();
        m_pipeline->beginGeometryPass();
        const D3DXVECTOR3 eye(0.0f, 0.4f, -2.2f), target(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
        D3DXMatrixLookAtLH(&m_pipeline->m_view, &eye, &target, &up);
        D3DXMatrixPerspectiveFovLH(&m_pipeline->m_projection, 1.0f, 16.0f / 9.0f, 0.1f, 100.0f);
        m_pipeline->m_viewPosition = D3DXVECTOR4(eye.x, eye.y, eye.z, 1.0f);
        m_pipeline->setViewConstants();
        D3DXMATRIX world;
        D3DXMatrixRotationY(&world, a_angle);
        Shader* vertex = m_pipeline->m_deferredVertexShader;
        Shader* pixel = m_pipeline->m_deferredPixelShader;
        vertex->setMatrix("worldAnimationMatrix", world);
        vertex->setMatrix("normalAnimationMatrix", world);
        pixel->setBool("cubemap", FALSE);
        pixel->setVector("diffuseColor", D3DXVECTOR4(1.0f, 1.0f, 1.0f, 1.0f));
        pixel->setFloat("glossiness", 0.5f);
        pixel->setFloat("specularPower", 32.0f);
        pixel->setVector("uvScroll", D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f));
        m_renderer->device()->SetTexture(0, m_texture);
        for (DWORD stage : {1u, 3u, 4u, 5u})
            m_renderer->device()->SetTexture(stage, m_white);
        m_sphere->bind();
        m_renderer->device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, m_triangles);
        m_pipeline->endGeometryPass();

        const float ambient[4] = {0.6f, 0.6f, 0.7f, 1.0f};
        m_pipeline->beginLightPass(ambient);
        m_pipeline->endLightPass();
        m_pipeline->combine(*m_output, 1.1f, 0.9f, 1.0f);
        const float fog[4] = {0.1f, 0.1f, 0.15f, 1.0f};
        m_pipeline->applyFog(*m_output, fog, 1.5f, 3.5f);
        m_renderer->drawToScreen(m_output.get());
        m_renderer->endFrame();
    }

private:
    HWND m_window = nullptr;
    std::unique_ptr<Renderer> m_renderer;
    std::unique_ptr<DeferredShading> m_pipeline;
    std::unique_ptr<RenderTarget> m_output;
    std::unique_ptr<VertexBuffer> m_sphere;
    IDirect3DTexture9* m_texture = nullptr;
    IDirect3DTexture9* m_white = nullptr;
    uint32_t m_triangles = 0;
    bool m_ready = false;
};

void BM_DeferredFrame(benchmark::State& a_state)
{
    Frame frame;
    if (!frame.ready())
    {
        a_state.SkipWithError("the renderer or the content's programs are missing");
        return;
    }
    float angle = 0.0f;
    for (auto _ : a_state)
    {
        // The present waits for the frame to be drawn, so each iteration is
        // one whole frame.
        frame.draw(angle);
        angle += 0.01f;
    }
    a_state.counters["triangles"] = float(frame.triangles());
    a_state.counters["fps"] =
        benchmark::Counter(double(a_state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DeferredFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}
