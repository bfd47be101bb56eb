// The light base and the two full-screen lights: defaults, the constants and
// blend states each pass sets, and creation failures.
#include "lights/Light.h"
#include "lights/LightAmbient.h"
#include "lights/LightFog.h"

#include "core/FatalError.h"
#include "render/RendererFixture.h"
#include "render/TestPrograms.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

namespace
{

class LightTest : public RendererFixture
{
protected:
    void SetUp() override
    {
        RendererFixture::SetUp();
        TestPrograms::writeDeferredPrograms();
    }

    DWORD renderState(D3DRENDERSTATETYPE a_state)
    {
        DWORD value = 0xDEAD;
        device()->GetRenderState(a_state, &value);
        return value;
    }

    // Pixel-shader registers c0 to c2: "color", and for the fog its fall-offs.
    void pixelConstants(float (&a_values)[12])
    {
        device()->GetPixelShaderConstantF(0, a_values, 3);
    }
};

// The plain base is only a data holder: its apply is an empty draw.
class PlainLight : public Light
{
};

// The base apply changes no device state.
TEST_F(LightTest, BaseApplyChangesNothing)
{
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device()->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTCOLOR);
    const float marker[4] = {7.0f, 8.0f, 9.0f, 10.0f};
    device()->SetPixelShaderConstantF(0, marker, 1);
    PlainLight light;
    light.apply();
    EXPECT_EQ(renderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    EXPECT_EQ(renderState(D3DRS_SRCBLEND), DWORD(D3DBLEND_DESTCOLOR));
    float values[12] = {};
    pixelConstants(values);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(values[i], marker[i]);
}

// Ambient "color" is the colour times the intensity, drawn with additive
// blending that stays on; fog "color" is doubled, its fall-offs follow, and
// its blending by source alpha is off again afterwards.
TEST_F(LightTest, PassesSetTheirConstantsAndBlending)
{
    const struct
    {
        const char* name;
        bool fog;
        D3DXVECTOR4 color;
        float intensity;
        float expected[6];  // "color", then near and far for the fog
        DWORD blend, source, destination;
    } cases[] = {
        {"ambient",
         false,
         {0.5f, 0.25f, 1.0f, 1.0f},
         0.5f,
         {0.25f, 0.125f, 0.5f, 0.5f},
         TRUE,
         D3DBLEND_ONE,
         D3DBLEND_ONE},
        {"ambient, intensity 0",
         false,
         {0.5f, 0.25f, 1.0f, 1.0f},
         0.0f,
         {0, 0, 0, 0},
         TRUE,
         D3DBLEND_ONE,
         D3DBLEND_ONE},
        {"fog",
         true,
         {0.5f, 0.25f, 0.0f, 1.0f},
         1.0f,
         {1.0f, 0.5f, 0.0f, 2.0f, 3.0f, 40.0f},
         FALSE,
         D3DBLEND_SRCALPHA,
         D3DBLEND_INVSRCALPHA},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Light* light = c.fog ? static_cast<Light*>(LightFog::create(m_renderer))
                             : static_cast<Light*>(LightAmbient::create(m_renderer));
        ASSERT_NE(light, nullptr);
        light->m_color = c.color;
        light->m_intensity = c.intensity;
        light->m_nearFallOff = 3.0f;
        light->m_farFallOff = 40.0f;
        device()->SetRenderState(D3DRS_ALPHABLENDENABLE, c.fog ? FALSE : TRUE);
        light->apply();
        float values[12] = {};
        pixelConstants(values);
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(values[i], c.expected[i]) << "color " << i;
        if (c.fog)
        {
            EXPECT_EQ(values[4], c.expected[4]);
            EXPECT_EQ(values[8], c.expected[5]);
        }
        EXPECT_EQ(renderState(D3DRS_ALPHABLENDENABLE), c.blend);
        EXPECT_EQ(renderState(D3DRS_SRCBLEND), c.source);
        EXPECT_EQ(renderState(D3DRS_DESTBLEND), c.destination);
        // The screen quad ends with depth back on.
        EXPECT_EQ(renderState(D3DRS_ZENABLE), DWORD(D3DZB_TRUE));
        delete light;
    }
}

// A missing program makes create return null after the file system's
// message only; the other program goes with the light.
TEST_F(LightTest, MissingProgramFailsCreate)
{
    for (const char* missing : {"ambient.psh", "fog.psh"})
    {
        SCOPED_TRACE(missing);
        TestPrograms::writeDeferredPrograms();
        ASSERT_EQ(remove(missing), 0);
        g_fatalErrorShown = false;
        const size_t shown = m_boxes.boxes().size();
        Light* light = std::string(missing) == "fog.psh"
                           ? static_cast<Light*>(LightFog::create(m_renderer))
                           : static_cast<Light*>(LightAmbient::create(m_renderer));
        EXPECT_EQ(light, nullptr);
        ASSERT_EQ(m_boxes.boxes().size(), shown + 1);
        EXPECT_EQ(m_boxes.boxes().back().text, std::string(missing) + ": File not found.");
    }
}

// A null renderer fails the assertion with its expression and source name.
TEST_F(LightTest, NullRendererFailsAssertion)
{
    EXPECT_DEATH(LightAmbient::create(nullptr), "a_renderer, file LightAmbient\\.cpp");
    EXPECT_DEATH(LightFog::create(nullptr), "a_renderer, file LightFog\\.cpp");
}

}
