// Omni lights from scene files: shared programs and volume, the loader's
// limits on reach and intensity, the constants and states of a pass, and
// lit frames read back (fall-off, camera inside and outside the volume, two
// lights adding, highlights that follow the view, texel-exact reads).
#include "lights/LightOmni.h"

#include "app/Tarvo.h"
#include "render/DeferredShading.h"
#include "render/Renderer.h"
#include "scene/Scene.h"
#include "scene/SceneFixture.h"
#include "support/SceneFiles.h"

#include <gtest/gtest.h>

#include <math.h>

namespace
{

QorLight omni(const char* a_name, const D3DXVECTOR3& a_position, float a_near, float a_far,
              float a_intensity = 1.0f, uint32_t a_frames = 1)
{
    QorLight light;
    light.name = a_name;
    light.color = D3DXVECTOR3(1, 1, 1);
    light.nearRange = a_near;
    light.farRange = a_far;
    light.intensities.assign(a_frames, a_intensity);
    light.positions.assign(a_frames, a_position);
    return light;
}

// A white floor across y = 0 and a camera; a_glossy floors are black and
// mirror-like, so that only their highlights show.
QorFile floorScene(const D3DXVECTOR3& a_eye, bool a_glossy = false)
{
    QorFile file;
    QorMaterial material =
        SceneFiles::material("floor", a_glossy ? D3DXVECTOR3(0, 0, 0) : D3DXVECTOR3(1, 1, 1));
    material.glossiness = a_glossy ? 1.0f : 0.0f;
    material.specularPower = 32.0f;
    file.records.push_back(material);
    file.records.push_back(
        SceneFiles::box("floor", D3DXVECTOR3(-60, -1, -60), D3DXVECTOR3(60, 0, 60), 0));
    file.records.push_back(SceneFiles::camera("Camera01", a_eye, D3DXVECTOR3(0, 0, 0)));
    return file;
}

// smoothstep from far (0) to near (1) times the cosine: the light "omni.psa"
// documents, for a white surface facing up under a white light.
float expectedDiffuse(const D3DXVECTOR3& a_light, const D3DXVECTOR3& a_point, float a_near,
                      float a_far)
{
    const D3DXVECTOR3 toLight = a_light - a_point;
    const float distance = D3DXVec3Length(&toLight);
    const float t = fminf(fmaxf((a_far - distance) / (a_far - a_near), 0.0f), 1.0f);
    return t * t * (3.0f - 2.0f * t) * fmaxf(toLight.y / distance, 0.0f);
}

class LightOmniTest : public SceneFixture
{
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        m_ambient[0] = m_ambient[1] = m_ambient[2] = 0.0f;
    }

    float red(const std::vector<Texel>& a_frame, const D3DXVECTOR3& a_point)
    {
        return at(a_frame, pixelOf(*m_scene->m_cameras.at(0), a_point)).c[0];
    }
};

}  // namespace

// Omni lights of two scene files share one program pair, loaded once and
// registered by file name, and the primitives' first mesh; deleting one
// scene leaves the other's lights drawing.
TEST_F(LightOmniTest, LightsShareTheirProgramsAndVolume)
{
    QorFile first = floorScene(D3DXVECTOR3(0, 30, -30));
    first.records.push_back(omni("a", D3DXVECTOR3(0, 2, 0), 1, 10));
    Scene* one = load(first);
    ASSERT_NE(one, nullptr);
    m_scene = nullptr;
    const uint32_t shaders = m_tarvo.m_shaders.count();
    QorFile second = first;
    second.records.push_back(omni("b", D3DXVECTOR3(5, 2, 0), 1, 10));
    ASSERT_NE(load(second), nullptr);
    EXPECT_EQ(m_tarvo.m_shaders.count(), shaders) << "nothing loaded again";

    LightOmni* a = static_cast<LightOmni*>(one->m_lights.at(0));
    for (uint32_t i = 0; i < 2; ++i)
    {
        LightOmni* light = static_cast<LightOmni*>(m_scene->m_lights.at(i));
        EXPECT_EQ(light->m_pixelShader, a->m_pixelShader);
        EXPECT_EQ(light->m_vertexShader, a->m_vertexShader);
        EXPECT_EQ(light->m_pixelShader, m_tarvo.m_shaders.find("omni.psh"));
        EXPECT_EQ(light->m_vertexShader, m_tarvo.m_shaders.find("omni.vsh"));
        EXPECT_EQ(light->m_mesh, m_tarvo.m_primitives->m_meshes.at(0));
        EXPECT_EQ(light->m_override, 0.0f);
    }
    delete one;
    drawFrame(m_scene->m_cameras.at(0));
    EXPECT_GT(red(readOutput(), D3DXVECTOR3(0, 0, 0)), 0.5f);
}

// Far reach is capped at 2000 and near never passes far; a negative last
// intensity is none, and only the last one counts.
TEST_F(LightOmniTest, LoaderLimitsReachAndIntensity)
{
    const struct
    {
        float nearRange, farRange;
        std::vector<float> intensities;
        float nearFallOff, farFallOff, intensity;
    } cases[] = {
        {10, 100, {1, 3}, 10, 100, 3},
        {3000, 5000, {1}, 2000, 2000, 1},
        {50, 10, {1}, 10, 10, 1},
        {1, 10, {2, -0.5f}, 1, 10, 0},
    };
    QorFile file = floorScene(D3DXVECTOR3(0, 30, -30));
    file.frameCount = 2;
    file.records[2] =
        SceneFiles::camera("Camera01", D3DXVECTOR3(0, 30, -30), D3DXVECTOR3(0, 0, 0), 2);
    for (const auto& c : cases)
    {
        QorLight light = omni("light", D3DXVECTOR3(1, 2, 3), c.nearRange, c.farRange, 1.0f, 2);
        light.intensities = c.intensities;
        light.intensities.resize(2, c.intensities.back());
        light.color = D3DXVECTOR3(0.5f, 0.25f, 1.0f);
        file.records.push_back(light);
    }
    ASSERT_NE(load(file), nullptr);
    ASSERT_EQ(m_scene->m_lights.count(), 4u);
    for (uint32_t i = 0; i < 4; ++i)
    {
        SCOPED_TRACE(i);
        const Light* light = m_scene->m_lights.at(i);
        EXPECT_EQ(light->m_nearFallOff, cases[i].nearFallOff);
        EXPECT_EQ(light->m_farFallOff, cases[i].farFallOff);
        EXPECT_EQ(light->m_intensity, cases[i].intensity);
        EXPECT_TRUE(light->m_color == D3DXVECTOR4(0.5f, 0.25f, 1.0f, 1.0f));
        EXPECT_EQ(light->m_positionTrack.count(), 2u);
        EXPECT_EQ(light->m_targetTrack.count(), 0u);
    }
}

// The pass: "position" through the scene's world, the volume scaled to
// twice the reach around the light, then the states it leaves.
TEST_F(LightOmniTest, PassConstantsAndStates)
{
    QorFile file = floorScene(D3DXVECTOR3(0, 30, -30));
    file.records.push_back(omni("light", D3DXVECTOR3(1, 2, 3), 2, 10));
    ASSERT_NE(load(file), nullptr);
    LightOmni* light = static_cast<LightOmni*>(m_scene->m_lights.at(0));
    D3DXMatrixTranslation(&light->m_world, 5.0f, 0.0f, 0.0f);
    light->m_position = D3DXVECTOR3(1, 2, 3);
    D3DXMatrixIdentity(&light->m_view);
    D3DXMatrixIdentity(&light->m_projection);
    light->m_viewDirection = D3DXVECTOR4(0, 0, 1, 1);
    IDirect3DDevice9* device = m_renderer->device();
    m_tarvo.m_deferred->beginLightPass(m_ambient);
    light->apply();

    float position[4];
    device->GetPixelShaderConstantF(0, position, 1);
    EXPECT_EQ(position[0], 6.0f);
    EXPECT_EQ(position[1], 2.0f);
    EXPECT_EQ(position[2], 3.0f);
    EXPECT_EQ(position[3], 1.0f);
    // "worldViewProj" by columns: scale 20, origin at (6, 2, 3).
    float columns[16];
    device->GetVertexShaderConstantF(0, columns, 4);
    const float expected[16] = {20, 0, 0, 6, 0, 20, 0, 2, 0, 0, 20, 3, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(columns[i], expected[i]) << i;

    const struct
    {
        D3DRENDERSTATETYPE state;
        DWORD value;
    } states[] = {{D3DRS_ZENABLE, FALSE},
                  {D3DRS_ZWRITEENABLE, FALSE},
                  {D3DRS_ALPHABLENDENABLE, TRUE},
                  {D3DRS_SRCBLEND, D3DBLEND_ONE},
                  {D3DRS_DESTBLEND, D3DBLEND_ONE},
                  {D3DRS_CULLMODE, D3DCULL_CW},
                  // The volume's depth test ends with the pass.
                  {D3DRS_ZFUNC, D3DCMP_LESSEQUAL}};
    for (const auto& s : states)
    {
        DWORD value = 0;
        device->GetRenderState(s.state, &value);
        EXPECT_EQ(value, s.value) << s.state;
    }
    EXPECT_EQ(m_renderer->m_cullMode, D3DCULL_CW);
    for (DWORD sampler = 0; sampler < 3; ++sampler)
    {
        DWORD filter = 0;
        device->GetSamplerState(sampler, D3DSAMP_MINFILTER, &filter);
        EXPECT_EQ(filter, DWORD(D3DTEXF_POINT)) << sampler;
    }
    m_tarvo.m_deferred->endLightPass();
}

// A floor under one light: brightest below it, fading as the documented
// curve says, black beyond the reach; the same with the camera outside the
// volume and inside it.
TEST_F(LightOmniTest, FloorFallsOffAroundTheLight)
{
    const D3DXVECTOR3 lamp(0, 2, 0);
    const struct
    {
        const char* where;
        D3DXVECTOR3 eye;
    } cameras[] = {{"outside", D3DXVECTOR3(0, 30, -30)}, {"inside", D3DXVECTOR3(0, 4, -6)}};
    for (const auto& camera : cameras)
    {
        SCOPED_TRACE(camera.where);
        QorFile file = floorScene(camera.eye);
        file.records.push_back(omni("lamp", lamp, 1, 10));
        ASSERT_NE(load(file), nullptr);
        drawFrame(m_scene->m_cameras.at(0));
        const std::vector<Texel> frame = readOutput();
        const D3DXVECTOR3 points[] = {D3DXVECTOR3(0, 0, 0),  D3DXVECTOR3(3, 0, 0),
                                      D3DXVECTOR3(-6, 0, 2), D3DXVECTOR3(0, 0, 8),
                                      D3DXVECTOR3(0, 0, 12), D3DXVECTOR3(8, 0, 8)};
        for (const D3DXVECTOR3& point : points)
        {
            SCOPED_TRACE(point.x + point.z * 100);
            EXPECT_NEAR(red(frame, point), expectedDiffuse(lamp, point, 1, 10), 0.02f);
        }
        EXPECT_EQ(red(frame, D3DXVECTOR3(0, 0, 12)), 0.0f);
        EXPECT_GT(red(frame, D3DXVECTOR3(0, 0, 0)), red(frame, D3DXVECTOR3(3, 0, 0)));
    }
}

// Two lights add up where both reach.
TEST_F(LightOmniTest, TwoLightsAdd)
{
    const D3DXVECTOR3 eye(0, 30, -30);
    const D3DXVECTOR3 points[] = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(-2, 0, 1),
                                  D3DXVECTOR3(4, 0, 0)};
    std::vector<float> sums(3, 0.0f);
    for (const D3DXVECTOR3& position : {D3DXVECTOR3(-3, 2, 0), D3DXVECTOR3(3, 2, 0)})
    {
        QorFile file = floorScene(eye);
        file.records.push_back(omni("one", position, 1, 8));
        ASSERT_NE(load(file), nullptr);
        drawFrame(m_scene->m_cameras.at(0));
        const std::vector<Texel> frame = readOutput();
        for (size_t i = 0; i < 3; ++i)
            sums[i] += red(frame, points[i]);
    }
    QorFile both = floorScene(eye);
    both.records.push_back(omni("left", D3DXVECTOR3(-3, 2, 0), 1, 8));
    both.records.push_back(omni("right", D3DXVECTOR3(3, 2, 0), 1, 8));
    ASSERT_NE(load(both), nullptr);
    drawFrame(m_scene->m_cameras.at(0));
    const std::vector<Texel> frame = readOutput();
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_GT(sums[i], 0.1f);
        EXPECT_NEAR(red(frame, points[i]), sums[i], 0.01f) << i;
    }
}

// On a glossy floor the highlight sits between the light and the viewer:
// seen from the -x side it lies at x < 0, from the +x side at x > 0.
TEST_F(LightOmniTest, HighlightFollowsTheView)
{
    const D3DXVECTOR3 left(-4, 0, 0), right(4, 0, 0);
    for (float side : {-1.0f, 1.0f})
    {
        SCOPED_TRACE(side);
        QorFile file = floorScene(D3DXVECTOR3(10 * side, 5, 0), true);
        file.records.push_back(omni("lamp", D3DXVECTOR3(0, 2, 0), 5, 20));
        ASSERT_NE(load(file), nullptr);
        drawFrame(m_scene->m_cameras.at(0));
        const std::vector<Texel> frame = readOutput();
        const float near = red(frame, side < 0 ? left : right);
        const float far = red(frame, side < 0 ? right : left);
        EXPECT_GT(near, 0.5f);
        EXPECT_LT(far, near * 0.2f);
    }
}

// Every pixel's light comes from its own G-buffer texel: across the sharp
// edges of a box in front of a wall out of reach, the diffuse light buffer
// matches the curve applied to each pixel's own position.
TEST_F(LightOmniTest, ReadsTheGBufferTexelForTexel)
{
    QorFile file;
    file.records.push_back(SceneFiles::material("white", D3DXVECTOR3(1, 1, 1)));
    file.records.push_back(
        SceneFiles::box("box", D3DXVECTOR3(-1.3f, -0.7f, -1), D3DXVECTOR3(1.1f, 0.9f, 1), 0));
    file.records.push_back(
        SceneFiles::box("wall", D3DXVECTOR3(-50, -50, 30), D3DXVECTOR3(50, 50, 31), 0));
    file.records.push_back(
        SceneFiles::camera("Camera01", D3DXVECTOR3(0.3f, 0.2f, -6), D3DXVECTOR3(0, 0, 0)));
    file.records.push_back(omni("lamp", D3DXVECTOR3(0, 0, -2), 0.5f, 12));
    ASSERT_NE(load(file), nullptr);
    static_cast<LightOmni*>(m_scene->m_lights.at(0))->m_override = 1.0f;
    drawFrame(m_scene->m_cameras.at(0));
    const std::vector<Texel> positions =
        RendererFixture::readTexels(*m_tarvo.m_deferred->m_gbuffer[2], D3DFMT_A16B16G16R16F);
    const std::vector<Texel> diffuse =
        RendererFixture::readTexels(*m_tarvo.m_deferred->m_lightBuffers[0], D3DFMT_A16B16G16R16F);
    size_t lit = 0, mismatched = 0;
    for (size_t i = 0; i < positions.size(); ++i)
    {
        const D3DXVECTOR3 position(positions[i].c[0], positions[i].c[1], positions[i].c[2]);
        const D3DXVECTOR3 toLight = D3DXVECTOR3(0, 0, -2) - position;
        const float distance = D3DXVec3Length(&toLight);
        const float t = fminf(fmaxf((12.0f - distance) / 11.5f, 0.0f), 1.0f);
        const float expected = positions[i].c[3] > 0.0f ? t * t * (3.0f - 2.0f * t) : 0.0f;
        lit += expected > 0.0f;
        mismatched += fabsf(diffuse[i].c[0] - expected) > 0.01f;
    }
    EXPECT_GT(lit, 10000u);
    EXPECT_EQ(mismatched, 0u);
}
