// Content loading and the loading bar.
#include "demo/ContentLoading.h"

#include "app/Tarvo.h"
#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "demo/DemoState.h"
#include "demo/Timeline.h"
#include "filters/FilterBlur.h"
#include "filters/FilterBreak.h"
#include "filters/FilterDof.h"
#include "filters/FilterGlow.h"
#include "filters/FilterRadialBlur.h"
#include "render/DeferredShading.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Texture.h"
#include "render/VertexBuffer.h"
#include "scene/QorLoader.h"

#include <windows.h>

#include <stdlib.h>

namespace
{

// Eleven steps of the float nearest 1/11, added in double precision.
constexpr double kProgressStep = 0.09090909361839294;

// A loading-bar corner: screen position, then texture coordinate.
struct BarVertex
{
    float x, y, z, rhw;
    float u, v;
};
static_assert(sizeof(BarVertex) == 24, "pre-transformed vertices are 24 bytes");

const char* const g_titleImages[3] = {"title1.jpg", "title2.jpg", "title3.jpg"};

void step(DemoState* a_demo, float& a_progress)
{
    a_progress = static_cast<float>(static_cast<double>(a_progress) + kProgressStep);
    drawLoadingBar(a_demo, a_progress);
}

// A filter whose programs are missing would draw nothing where the
// sequence relies on it: loading stops, after the file system's message.
bool initFilter(Filter* a_filter, Renderer* a_renderer)
{
    ReturnCode initialised = a_filter->init(a_renderer);
    if (initialised.failed())
    {
        fatalError(a_filter->name(), "Failed to initialize the filter.");
        return false;
    }
    return true;
}

bool loadImage(Texture*& a_image, const char* a_name, Renderer* a_renderer)
{
    a_image = Texture::load(a_name, a_renderer);
    return a_image != nullptr;
}

}  // namespace

Scene* loadScene(DemoState* a_demo, const char* a_name)
{
    Container<Scene>& scenes = a_demo->m_tarvo->m_scenes;
    Scene* scene = scenes.find(a_name);
    if (scene)
        return scene;
    scene = QorLoader::load(a_demo->m_renderer, a_demo->m_tarvo, a_name);
    if (scene)
        scenes.add(a_name, scene);
    return scene;
}

// The steps and their order are the loading screen's: the bar grows by one
// eleventh after each group. Every piece is part of the shipped sequence,
// so the first that cannot be had ends loading with its message.
bool loadContent(Tarvo* a_tarvo, DemoState* a_demo)
{
    a_demo->m_tarvo = a_tarvo;
    a_demo->m_renderer = a_tarvo->m_renderer;
    a_demo->m_loadStartTick = GetTickCount();
    Renderer* renderer = a_demo->m_renderer;
    if (!loadImage(a_demo->m_loadBar, "loadbar.jpg", renderer))
        return false;
    float progress = 0.0f;
    step(a_demo, progress);

    ReturnCode soundtrack = a_tarvo->createSoundtrack(Timeline::kBeatsPerMinute);
    if (soundtrack.failed())
        return false;
    step(a_demo, progress);

    a_demo->m_blur = new FilterBlur();
    a_demo->m_blur->setParameter("area", 1.0f);
    if (!initFilter(a_demo->m_blur, renderer))
        return false;
    a_demo->m_radialBlur = new FilterRadialBlur();
    if (!initFilter(a_demo->m_radialBlur, renderer))
        return false;
    a_demo->m_dof = new FilterDof();
    if (!initFilter(a_demo->m_dof, renderer))
        return false;
    a_demo->m_dof->m_gbufferTarget = a_tarvo->m_deferred->m_gbuffer[2];
    a_demo->m_glow = new FilterGlow();
    if (!initFilter(a_demo->m_glow, renderer))
        return false;
    a_demo->m_break = new FilterBreak();
    if (!initFilter(a_demo->m_break, renderer))
        return false;
    step(a_demo, progress);

    for (RenderTarget*& target : a_demo->m_targets)
    {
        target = RenderTarget::create(renderer, renderer->m_width, renderer->m_height,
                                      D3DFMT_A16B16G16R16F);
        if (!target)
        {
            fatalError("Failed to create the demo's render targets.");
            return false;
        }
    }

    const struct
    {
        Scene** scene;
        const char* name;
    } scenes[] = {{&a_demo->m_testScene, "test.qor"},
                  {&a_demo->m_hogScene, "hog.qor"},
                  {&a_demo->m_ballsScene, "balls.qor"},
                  {&a_demo->m_blobScene, "blob.qor"},
                  {&a_demo->m_satelliteScene, "satellite.qor"}};
    for (const auto& scene : scenes)
    {
        *scene.scene = loadScene(a_demo, scene.name);
        if (!*scene.scene)
            return false;
        step(a_demo, progress);
    }

    if (!loadImage(a_demo->m_titleImages[0], g_titleImages[0], renderer) ||
        !loadImage(a_demo->m_titleImages[1], g_titleImages[1], renderer))
        return false;
    step(a_demo, progress);
    if (!loadImage(a_demo->m_titleImages[2], g_titleImages[2], renderer) ||
        !loadImage(a_demo->m_goImage, "go.jpg", renderer))
        return false;
    step(a_demo, progress);

    const struct
    {
        Texture** image;
        const char* name;
    } overlays[] = {
        {&a_demo->m_jumpImage, "jump.jpg"},         {&a_demo->m_stepImage, "step.jpg"},
        {&a_demo->m_logoImage, "logo.jpg"},         {&a_demo->m_holditImage, "holdit.jpg"},
        {&a_demo->m_credits1Image, "credits1.jpg"}, {&a_demo->m_credits2Image, "credits2.jpg"}};
    for (const auto& overlay : overlays)
    {
        if (!loadImage(*overlay.image, overlay.name, renderer))
            return false;
    }
    Texture* noise = nullptr;
    if (!loadImage(noise, "smnoise.jpg", renderer))
        return false;
    a_tarvo->m_textures.add("smnoise", noise);
    step(a_demo, progress);

    drawLoadingBar(a_demo, 0.0f);
    Sleep(1500);
    return true;
}

// Segments are placed in pixels of a 1280 x 720 frame, whatever the back
// buffer's size; the generator is reseeded for every redraw, so segments
// already shown keep their heights and only new ones are added.
void drawLoadingBar(DemoState* a_demo, float a_progress)
{
    Renderer* renderer = a_demo->m_renderer;
    IDirect3DDevice9* device = renderer->device();
    VertexBuffer* buffer =
        VertexBuffer::create(renderer, 4, sizeof(BarVertex), D3DFVF_XYZRHW | D3DFVF_TEX1);
    if (!buffer)
        return;
    // Pre-transformed vertices take the fixed-function path.
    device->SetVertexShader(nullptr);
    device->SetPixelShader(nullptr);
    buffer->bind();
    if (a_demo->m_loadBar)
        a_demo->m_loadBar->bind(0);
    renderer->setLinearFiltering(0);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 0.0f, 0);
    device->BeginScene();

    srand(a_demo->m_loadStartTick);
    const int32_t segments = static_cast<int32_t>(a_progress * 100.0f);
    for (int32_t i = 0; i < segments; ++i)
    {
        const int32_t r = rand() % 100;
        const double halfHeight =
            i == segments - 1 ? 0.05 : double(r) / 100.0 / kFrameHeight * 21.0 + 0.01;
        const float left = static_cast<float>(313.6 + 6.0 * i);
        const float right = static_cast<float>(336.64 + 6.0 * i);
        const float top = static_cast<float>((0.8 - halfHeight) * kFrameHeight);
        const float bottom = static_cast<float>((0.8 + halfHeight) * kFrameHeight);
        const BarVertex corners[4] = {{left, top, 0.0f, 1.0f, 0.0f, 0.0f},
                                      {right, top, 0.0f, 1.0f, 1.0f, 0.0f},
                                      {left, bottom, 0.0f, 1.0f, 0.0f, 1.0f},
                                      {right, bottom, 0.0f, 1.0f, 1.0f, 1.0f}};
        buffer->fill(corners, 4);
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    }

    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    delete buffer;
}
