// The screen quad: its vertices, its programs and its two draws.
#include "render/Quad.h"

#include "core/Assert.h"
#include "render/Renderer.h"
#include "render/Shader.h"
#include "render/VertexBuffer.h"

#include <d3d9.h>

#include <new>

namespace
{

// x, y, z, u, v in strip order: top-left, top-right, bottom-left,
// bottom-right of clip space, (u, v) = (0, 0) at the top left. No half-pixel
// offset: every pass samples as D3D9 places pixel centres.
const float g_vertices[4][5] = {
    {-1.0f, 1.0f, 0.0f, 0.0f, 0.0f},
    {1.0f, 1.0f, 0.0f, 1.0f, 0.0f},
    {-1.0f, -1.0f, 0.0f, 0.0f, 1.0f},
    {1.0f, -1.0f, 0.0f, 1.0f, 1.0f},
};

const uint32_t g_vertexSize = sizeof(g_vertices[0]);
const DWORD g_fvf = D3DFVF_XYZ | D3DFVF_TEX1;

void setAddressMode(IDirect3DDevice9* a_device, DWORD a_sampler, DWORD a_mode)
{
    a_device->SetSamplerState(a_sampler, D3DSAMP_ADDRESSU, a_mode);
    a_device->SetSamplerState(a_sampler, D3DSAMP_ADDRESSV, a_mode);
}

}

Quad* Quad::create(Renderer* a_renderer)
{
    TARVO_ASSERT(a_renderer);
    Quad* quad = new (std::nothrow) Quad();
    TARVO_ASSERT(quad);
    ReturnCode initialised = quad->init(a_renderer);
    if (initialised.failed())
    {
        delete quad;
        return nullptr;
    }
    return quad;
}

Quad::~Quad()
{
    delete m_vertexBuffer;
    m_vertexBuffer = nullptr;
    delete m_quadShaders.vertex;
    m_quadShaders.vertex = nullptr;
    delete m_quadShaders.pixel;
    m_quadShaders.pixel = nullptr;
}

// Stops at the first part that cannot be made; the destructor frees the rest.
ReturnCode Quad::init(Renderer* a_renderer)
{
    TARVO_ASSERT(a_renderer);
    m_renderer = a_renderer;
    m_vertexBuffer = VertexBuffer::create(a_renderer, 4, g_vertexSize, g_fvf);
    if (!m_vertexBuffer)
        return ReturnCode(ReturnCode::kFailure);
    ReturnCode filled = m_vertexBuffer->fill(g_vertices, 4);
    if (filled.failed())
        return ReturnCode(ReturnCode::kFailure);
    m_quadShaders.vertex = Shader::create(ShaderKind::Vertex, a_renderer, "quad.vsh");
    if (!m_quadShaders.vertex)
        return ReturnCode(ReturnCode::kFailure);
    m_quadShaders.pixel = Shader::create(ShaderKind::Pixel, a_renderer, "quad.psh");
    if (!m_quadShaders.pixel)
        return ReturnCode(ReturnCode::kFailure);
    return ReturnCode(ReturnCode::kSuccess);
}

// "yscale" goes through the quad's own "quad.vsh" table whatever vertex
// shader the pair names: every pass's vertex shader is its own instance of
// "quad.vsh", so the register is the same.
ReturnCode Quad::draw(const ShaderPair& a_shaders)
{
    TARVO_ASSERT(m_vertexBuffer);
    m_renderer->setShaders(a_shaders);
    m_quadShaders.vertex->setFloat("yscale", 1.0f);
    setDrawStates();
    m_renderer->setLinearFiltering(2);
    m_renderer->setLinearFiltering(3);
    drawAndRestore();
    setAddressMode(m_renderer->device(), 1, D3DTADDRESS_WRAP);
    return ReturnCode(ReturnCode::kSuccess, true);
}

ReturnCode Quad::draw()
{
    return draw(m_quadShaders);
}

ReturnCode Quad::drawScreen(float a_yscale)
{
    TARVO_ASSERT(m_vertexBuffer);
    m_renderer->setShaders(m_quadShaders);
    m_quadShaders.vertex->setFloat("yscale", a_yscale);
    setDrawStates();
    drawAndRestore();
    return ReturnCode(ReturnCode::kSuccess, true);
}

// No depth, and the image on sampler 0 clamped so its edges do not wrap in.
void Quad::setDrawStates()
{
    IDirect3DDevice9* device = m_renderer->device();
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    setAddressMode(device, 0, D3DTADDRESS_CLAMP);
}

// Draws, then puts back the depth states and sampler 0's wrapping that the
// scene passes expect.
void Quad::drawAndRestore()
{
    IDirect3DDevice9* device = m_renderer->device();
    m_vertexBuffer->bind();
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    setAddressMode(device, 0, D3DTADDRESS_WRAP);
}
