// Spot lights from scene files: the shared spot image, the inactive light
// that touches nothing, the light's projection, and a lit floor with an
// occluder's shadow once a shadow map, a depth source and a camera are
// attached.
#include "lights/LightSpot.h"

#include "app/Tarvo.h"
#include "render/DeferredShading.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/TestJpeg.h"
#include "scene/Scene.h"
#include "scene/SceneFixture.h"
#include "support/LoggingDevice.h"
#include "support/SceneFiles.h"

#include <gtest/gtest.h>

namespace
{

QorLight spot(const char* a_name, const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_target)
{
    QorLight light;
    light.name = a_name;
    light.spot = 1;
    light.nearRange = 1;
    light.farRange = 100;
    light.intensities = {1};
    light.positions = {a_position};
    light.targets = {a_target};
    return light;
}

class LightSpotTest : public SceneFixture
{
protected:
    void SetUp() override
    {
        SceneFixture::SetUp();
        // A plain white spot with a black rim, so the cone's edge shows.
        std::vector<uint32_t> blocks(8 * 8, 0xFFFFFF);
        for (int i = 0; i < 8; ++i)
            blocks[size_t(i)] = blocks[size_t(56 + i)] = blocks[size_t(i * 8)] =
                blocks[size_t(i * 8 + 7)] = 0;
        writeJpeg("spot.jpg", blockPicture(8, 8, blocks), JpegKind::Grey);
        m_ambient[0] = m_ambient[1] = m_ambient[2] = 0.0f;
    }
};

}  // namespace

// Three spot lights load "spot.jpg" once and share it as "spotShadow".
TEST_F(LightSpotTest, LightsShareTheSpotImage)
{
    QorFile file;
    for (const char* name : {"a", "b", "c"})
        file.records.push_back(spot(name, D3DXVECTOR3(0, 10, -1), D3DXVECTOR3(0, 0, 0)));
    ASSERT_NE(load(file), nullptr);
    Texture* image = m_tarvo.m_textures.find("spotShadow");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(m_tarvo.m_textures.count(), 4u);
    for (uint32_t i = 0; i < 3; ++i)
    {
        LightSpot* light = static_cast<LightSpot*>(m_scene->m_lights.at(i));
        EXPECT_EQ(light->m_texture, image);
        EXPECT_EQ(light->m_shadowMap, nullptr);
        EXPECT_EQ(light->m_targetTrack.count(), 1u);
    }
}

// Without a shadow map the light makes no device call at all.
TEST_F(LightSpotTest, InactiveLightTouchesNothing)
{
    QorFile file;
    file.records.push_back(spot("a", D3DXVECTOR3(0, 10, -1), D3DXVECTOR3(0, 0, 0)));
    ASSERT_NE(load(file), nullptr);
    IDirect3DDevice9* device = m_renderer->m_device;
    LoggingDevice logging(device);
    m_renderer->m_device = &logging;
    m_scene->m_lights.at(0)->apply();
    m_renderer->m_device = device;
    EXPECT_TRUE(logging.calls().empty());
}

// The light at (0, 0, -10) aiming at the origin sees it in the middle of
// the spot image, half a texel of 512 past the centre.
TEST(LightSpotMatrixTest, OriginMapsToTheBiasedCentre)
{
    const D3DXMATRIX matrix = LightSpot::spotMatrix(D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 0));
    D3DXVECTOR4 mapped;
    const D3DXVECTOR3 origin(0, 0, 0);
    D3DXVec3Transform(&mapped, &origin, &matrix);
    EXPECT_FLOAT_EQ(mapped.x / mapped.w, 0.5009765625f);
    EXPECT_FLOAT_EQ(mapped.y / mapped.w, 0.5009765625f);
}

// With its inputs attached, the spot lights the floor inside its cone,
// leaves it dark outside, and a box between the light and the floor casts
// its shadow.
TEST_F(LightSpotTest, AttachedLightProjectsItsImageWithShadows)
{
    QorFile file;
    file.records.push_back(SceneFiles::material("white", D3DXVECTOR3(1, 1, 1)));
    file.records.push_back(
        SceneFiles::box("floor", D3DXVECTOR3(-40, -1, -40), D3DXVECTOR3(40, 0, 40), 0));
    file.records.push_back(
        SceneFiles::box("block", D3DXVECTOR3(1, 3, -1), D3DXVECTOR3(3, 4, 1), 0));
    file.records.push_back(
        SceneFiles::camera("Camera01", D3DXVECTOR3(0, 25, -25), D3DXVECTOR3(0, 0, 0)));
    file.records.push_back(spot("spot", D3DXVECTOR3(0, 10, -0.5f), D3DXVECTOR3(0, 0, 0)));
    ASSERT_NE(load(file), nullptr);
    LightSpot* light = static_cast<LightSpot*>(m_scene->m_lights.at(0));
    RenderTarget* shadowMap = RenderTarget::create(m_renderer, 512, 512, D3DFMT_G32R32F);
    ASSERT_NE(shadowMap, nullptr);
    Camera* camera = m_scene->m_cameras.at(0);
    m_scene->renderShadowMap(*light, *shadowMap);
    light->m_shadowMap = shadowMap;
    light->m_depthSource = m_tarvo.m_deferred->m_gbuffer[2];
    light->m_camera = camera;
    drawFrame(camera);
    const std::vector<Texel> frame = readOutput();
    delete shadowMap;

    // The block's shadow: from the light at (0, 10, -0.5) through the
    // block's middle (2, 3.5, 0) down to the floor.
    const D3DXVECTOR3 lightPosition(0, 10, -0.5f), blockMiddle(2, 3.5f, 0);
    const D3DXVECTOR3 shadow = lightPosition + (blockMiddle - lightPosition) * (10.0f / 6.5f);
    EXPECT_GT(at(frame, pixelOf(*camera, D3DXVECTOR3(-2, 0, 0))).c[0], 0.8f) << "in the cone";
    EXPECT_LT(at(frame, pixelOf(*camera, shadow)).c[0], 0.05f) << "in the shadow";
    EXPECT_EQ(at(frame, pixelOf(*camera, D3DXVECTOR3(-15, 0, 5))).c[0], 0.0f) << "outside the cone";
}
