// The scene fixture: the application, scene files and whole frames.
#include "scene/SceneFixture.h"

#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "app/MainWindow.h"
#include "render/DeferredShading.h"
#include "render/Renderer.h"
#include "render/TestJpeg.h"
#include "render/TestPrograms.h"
#include "scene/QorLoader.h"
#include "scene/Scene.h"
#include "support/ArchiveBuilder.h"
#include "support/SceneFiles.h"
#include "support/LaunchSettings.h"

#include <stdlib.h>

POINT SceneFixture::pixelOf(const Camera& a_camera, const D3DXVECTOR3& a_point)
{
    const D3DXMATRIX view = a_camera.viewMatrix();
    const D3DXMATRIX projection = a_camera.projectionMatrix();
    D3DXMATRIX both;
    D3DXMatrixMultiply(&both, &view, &projection);
    D3DXVECTOR3 clip;
    D3DXVec3TransformCoord(&clip, &a_point, &both);
    return POINT{LONG((clip.x + 1.0f) * 0.5f * kWidth), LONG((1.0f - clip.y) * 0.5f * kHeight)};
}

Texel SceneFixture::at(const std::vector<Texel>& a_texels, POINT a_pixel)
{
    if (a_pixel.x < 0 || a_pixel.x >= kWidth || a_pixel.y < 0 || a_pixel.y >= kHeight)
    {
        ADD_FAILURE() << "pixel (" << a_pixel.x << ", " << a_pixel.y << ") is off the screen";
        return Texel{{-1.0f, -1.0f, -1.0f, -1.0f}};
    }
    return a_texels[size_t(a_pixel.y) * kWidth + size_t(a_pixel.x)];
}

void SceneFixture::SetUp()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    LaunchSettings::launchWindowed();
    writeJpeg("null_white.jpg", blockPicture(1, 1, {0xFFFFFF}), JpegKind::Grey);
    writeJpeg("null_grey.jpg", blockPicture(1, 1, {0x808080}), JpegKind::Grey);
    writeJpeg("null_black.jpg", blockPicture(1, 1, {0x000000}), JpegKind::Grey);
    TestPrograms::writeQuadPrograms();
    TestPrograms::writeDeferredPrograms();
    TestPrograms::writeScenePrograms();
    TestPrograms::writeLightPrograms();
    writeBytes("primitives.qor", SceneFiles::bytes(SceneFiles::primitives()));
    m_window = createMainWindow(GetModuleHandleA(nullptr));
    ReturnCode initialised = m_tarvo.init(m_window);
    ASSERT_TRUE(initialised.succeeded());
    m_renderer = m_tarvo.m_renderer;
}

void SceneFixture::TearDown()
{
    delete m_output;
    m_output = nullptr;
    delete m_scene;
    m_scene = nullptr;
    m_tarvo.shutdown();
    DestroyWindow(m_window);
    LaunchSettings::reset();
}

Scene* SceneFixture::load(const QorFile& a_file)
{
    writeBytes("test.qor", SceneFiles::bytes(a_file));
    delete m_scene;
    m_scene = QorLoader::load(m_renderer, &m_tarvo, "test.qor");
    return m_scene;
}

void SceneFixture::drawFrame(Camera* a_camera, float a_fogNear, float a_fogFar)
{
    if (!m_output)
        m_output = RenderTarget::create(m_renderer, kWidth, kHeight, D3DFMT_A16B16G16R16F);
    ASSERT_NE(m_output, nullptr);
    DeferredShading* deferred = m_tarvo.m_deferred;
    m_scene->m_camera = a_camera;
    m_renderer->m_cullMode = D3DCULL_CCW;
    m_renderer->device()->BeginScene();
    deferred->beginGeometryPass();
    deferred->m_view = a_camera->viewMatrix();
    deferred->m_projection = a_camera->projectionMatrix();
    const D3DXVECTOR3 eye = a_camera->eye();
    deferred->m_viewPosition = D3DXVECTOR4(eye.x, eye.y, eye.z, 1.0f);
    deferred->setViewConstants();
    m_scene->render();
    deferred->endGeometryPass();
    deferred->beginLightPass(m_ambient);
    m_scene->renderLights();
    m_scene->renderSelfIllumination();
    deferred->endLightPass();
    deferred->combine(*m_output, 1.0f, 1.0f, 1.0f);
    deferred->applyFog(*m_output, m_fog, a_fogNear, a_fogFar);
    m_renderer->device()->EndScene();
}

std::vector<Texel> SceneFixture::readOutput() const
{
    return RendererFixture::readTexels(*m_output, D3DFMT_A16B16G16R16F);
}
