// The application initialised on loose files in a scratch folder (null
// textures, the content's programs, a primitives scene), ready to load scene
// files written there and draw them through the whole deferred frame.
#pragma once

#include "app/Tarvo.h"
#include "render/RenderTarget.h"
#include "render/RendererFixture.h"
#include "scene/format/QorFile.h"
#include "support/TemporaryFolder.h"

#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <vector>

class SceneFixture : public testing::Test
{
public:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 720;

    // Where a world point lands on the 1280 x 720 target through a_camera.
    static POINT pixelOf(const Camera& a_camera, const D3DXVECTOR3& a_point);
    static Texel at(const std::vector<Texel>& a_texels, POINT a_pixel);

protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a_file as "test.qor" and loads it into m_scene (replacing the last).
    Scene* load(const QorFile& a_file);

    // One deferred frame of m_scene from a_camera into m_output, as the
    // timeline draws it: materials, the ambient light m_ambient, the scene's
    // lights, self-illumination, combine, and fog from a_fogNear to a_fogFar
    // in m_fog.
    void drawFrame(Camera* a_camera, float a_fogNear = 100.0f, float a_fogFar = 200.0f);
    std::vector<Texel> readOutput() const;

    TemporaryFolder m_folder{true};
    MessageBoxRecorder m_boxes;
    HWND m_window = nullptr;
    Tarvo m_tarvo;
    Renderer* m_renderer = nullptr;
    Scene* m_scene = nullptr;
    RenderTarget* m_output = nullptr;  // the frame drawFrame draws
    float m_ambient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    float m_fog[4] = {0.0f, 0.0f, 1.0f, 1.0f};
};
