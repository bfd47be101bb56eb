// The scene's own pass programs drawn over a known triangle and read back:
// the self-illumination glow in the light buffers, the cube-map reflection
// and the depth moments.
#include "render/RendererFixture.h"
#include "render/Shader.h"
#include "render/TestPrograms.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

// Small targets: identity camera matrices map the triangle over the lower
// left half of any target size.
const int g_size = 64;
const DWORD g_clear = 0xFF336699;
const float g_cleared[4] = {0.2f, 0.4f, 0.6f, 1.0f};

struct Pixel
{
    int x;
    int y;
};
// Pixels inside the triangle near three of the target's corners.
const Pixel g_topLeft = {2, 8};
const Pixel g_bottomLeft = {4, 60};
const Pixel g_bottomRight = {56, 62};
const Pixel g_centre = {20, 44};
const Pixel g_outside = {56, 8};

class ScenePassProgramsTest : public RendererFixture
{
protected:
    void SetUp() override
    {
        RendererFixture::SetUp();
        TestPrograms::writeScenePrograms();
    }

    void TearDown() override
    {
        m_targets.clear();
        m_vertex.reset();
        m_pixel.reset();
        RendererFixture::TearDown();
    }

    // Loads and binds the pair a_name with identity camera and a_world.
    void usePrograms(const char* a_name, const D3DXMATRIX& a_world)
    {
        m_vertex.reset(
            Shader::create(ShaderKind::Vertex, m_renderer, (std::string(a_name) + ".vsh").c_str()));
        m_pixel.reset(
            Shader::create(ShaderKind::Pixel, m_renderer, (std::string(a_name) + ".psh").c_str()));
        ASSERT_TRUE(m_vertex && m_pixel);
        m_vertex->bind();
        m_pixel->bind();
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        m_vertex->setMatrix("viewProjMatrix", identity);
        m_vertex->setMatrix("worldAnimationMatrix", a_world);
        m_vertex->setMatrix("normalAnimationMatrix", identity);
    }

    // A cleared target bound at a_index.
    RenderTarget& target(int32_t a_index, D3DFORMAT a_format)
    {
        m_targets.emplace_back(RenderTarget::create(m_renderer, g_size, g_size, a_format));
        RenderTarget& target = *m_targets.back();
        target.bind(a_index);
        return target;
    }

    // The triangle over a target cleared to g_clear, depth test off.
    void drawOverClear()
    {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, g_clear, 1.0f, 0);
        device()->SetRenderState(D3DRS_ZENABLE, FALSE);
        drawTriangle();
    }

    static Texel at(const std::vector<Texel>& a_texels, Pixel a_pixel)
    {
        return a_texels[size_t(a_pixel.y) * g_size + size_t(a_pixel.x)];
    }

    // The world position on the triangle where pixel a_pixel samples it
    // (pixel centres on integer coordinates), identity camera.
    static D3DXVECTOR3 positionAt(Pixel a_pixel, float a_z)
    {
        return D3DXVECTOR3(float(a_pixel.x) / g_size * 2.0f - 1.0f,
                           1.0f - float(a_pixel.y) / g_size * 2.0f, a_z);
    }

    std::unique_ptr<Shader> m_vertex;
    std::unique_ptr<Shader> m_pixel;
    std::vector<std::unique_ptr<RenderTarget>> m_targets;
};

D3DXMATRIX identityMatrix()
{
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    return identity;
}

struct ReleaseTexture
{
    void operator()(IDirect3DBaseTexture9* a_texture) const { a_texture->Release(); }
};

}

// The glow replaces the light at the surface: no diffuse light, texture 0
// (sampled at the vertex uv) times "color" as the specular sum; elsewhere
// both light buffers keep what they held.
TEST_F(ScenePassProgramsTest, SelfIlluminationGlowsWithTextureTimesColour)
{
    usePrograms("selfillum", identityMatrix());
    IDirect3DTexture9* raw = nullptr;
    ASSERT_EQ(device()->CreateTexture(2, 2, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                      &raw, nullptr),
              D3D_OK);
    std::unique_ptr<IDirect3DTexture9, ReleaseTexture> texture(raw);
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    const DWORD texels[2][2] = {{0xFF808080, 0xFFFFFFFF}, {0xFF404040, 0xFFC0C0C0}};
    for (int row = 0; row < 2; ++row)
        memcpy(static_cast<char*>(locked.pBits) + row * locked.Pitch, texels[row], 8);
    texture->UnlockRect(0);
    device()->SetTexture(0, texture.get());
    device()->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device()->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    const float colour[4] = {1.0f, 0.5f, 2.0f, 0.25f};
    m_pixel->setVector("color", D3DXVECTOR4(colour));

    RenderTarget& diffuse = target(0, D3DFMT_A16B16G16R16F);
    RenderTarget& specular = target(1, D3DFMT_A16B16G16R16F);
    drawOverClear();

    const std::vector<Texel> diffuseTexels = readTexels(diffuse, D3DFMT_A16B16G16R16F);
    const std::vector<Texel> specularTexels = readTexels(specular, D3DFMT_A16B16G16R16F);
    const struct
    {
        Pixel pixel;
        float grey;
    } cases[] = {{g_topLeft, 128.0f / 255.0f},
                 {g_bottomLeft, 64.0f / 255.0f},
                 {g_bottomRight, 192.0f / 255.0f}};
    const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "pixel " << c.pixel.x << ", " << c.pixel.y);
        const float glow[4] = {c.grey * colour[0], c.grey * colour[1], c.grey * colour[2], 1.0f};
        expectTexel(at(diffuseTexels, c.pixel), black, 1e-3f);
        expectTexel(at(specularTexels, c.pixel), glow, 4e-3f);
    }
    expectTexel(at(diffuseTexels, g_outside), g_cleared, 1e-3f);
    expectTexel(at(specularTexels, g_outside), g_cleared, 1e-3f);
}

// The view direction reflected about the normal picks the cube face: seen
// from in front the reflection looks back along -z, seen from far to the
// left at a grazing angle it looks on along +x.
TEST_F(ScenePassProgramsTest, CubeMapShowsTheReflectedFace)
{
    usePrograms("cubemap", identityMatrix());
    IDirect3DCubeTexture9* raw = nullptr;
    ASSERT_EQ(device()->CreateCubeTexture(1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &raw, nullptr),
              D3D_OK);
    std::unique_ptr<IDirect3DCubeTexture9, ReleaseTexture> cube(raw);
    const DWORD faces[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
    for (int face = 0; face < 6; ++face)
    {
        D3DLOCKED_RECT locked = {};
        ASSERT_EQ(cube->LockRect(D3DCUBEMAP_FACES(face), 0, &locked, nullptr, 0), D3D_OK);
        *static_cast<DWORD*>(locked.pBits) = faces[face];
        cube->UnlockRect(D3DCUBEMAP_FACES(face), 0);
    }
    device()->SetTexture(2, cube.get());
    const float colour[4] = {0.5f, 1.0f, 1.0f, 0.5f};
    m_pixel->setVector("color", D3DXVECTOR4(colour));

    const struct
    {
        const char* name;
        D3DXVECTOR4 eye;
        float expected[4];
    } cases[] = {
        {"from in front", D3DXVECTOR4(0.0f, 0.0f, -2.0f, 1.0f), {0.5f, 0.0f, 1.0f, 1.0f}},
        {"grazing from the left", D3DXVECTOR4(-10.0f, 0.0f, 0.45f, 1.0f), {0.5f, 0.0f, 0.0f, 1.0f}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_pixel->setVector("viewPosition", c.eye);
        RenderTarget& output = target(0, D3DFMT_A16B16G16R16F);
        drawOverClear();
        const std::vector<Texel> texels = readTexels(output, D3DFMT_A16B16G16R16F);
        expectTexel(at(texels, g_centre), c.expected, 2e-3f);
        expectTexel(at(texels, g_outside), g_cleared, 1e-3f);
        output.unbind();
    }
}

// The distance from "viewPosition" to the surface moved by the world matrix,
// and its square.
TEST_F(ScenePassProgramsTest, DepthWritesDistanceAndItsSquare)
{
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, 0.0f, 0.0f, 0.25f);
    usePrograms("depth", world);
    const D3DXVECTOR3 eye(0.5f, -1.0f, -2.0f);
    m_pixel->setVector("viewPosition", D3DXVECTOR4(eye.x, eye.y, eye.z, 1.0f));
    RenderTarget& output = target(0, D3DFMT_G32R32F);
    drawOverClear();

    const std::vector<Texel> texels = readTexels(output, D3DFMT_G32R32F);
    for (Pixel pixel : {g_topLeft, g_centre, g_bottomRight})
    {
        SCOPED_TRACE(testing::Message() << "pixel " << pixel.x << ", " << pixel.y);
        const D3DXVECTOR3 offset = positionAt(pixel, 0.75f) - eye;
        const float distance = sqrtf(D3DXVec3Dot(&offset, &offset));
        const float expected[4] = {distance, distance * distance, 0.0f, 0.0f};
        expectTexel(at(texels, pixel), expected, 1e-4f * distance * distance);
    }
    const float cleared[4] = {g_cleared[0], g_cleared[1], 0.0f, 0.0f};
    expectTexel(at(texels, g_outside), cleared, 1e-6f);
}
