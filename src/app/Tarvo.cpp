// Initialisation, the frame and the teardown of the application.
#include "app/Tarvo.h"

#include "core/FatalError.h"
#include "demo/ContentLoading.h"
#include "demo/DemoState.h"
#include "demo/Timeline.h"
#include "render/DeferredShading.h"
#include "render/Renderer.h"
#include "scene/QorLoader.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"
#include "sound/Timer.h"

namespace
{

// The pass programs every scene takes, in the order a scene stores them.
const struct
{
    const char* file;
    ShaderKind kind;
} g_sceneShaders[6] = {
    {"selfillum.vsh", ShaderKind::Vertex}, {"selfillum.psh", ShaderKind::Pixel},
    {"cubemap.vsh", ShaderKind::Vertex},   {"cubemap.psh", ShaderKind::Pixel},
    {"depth.vsh", ShaderKind::Vertex},     {"depth.psh", ShaderKind::Pixel},
};

}  // namespace

Tarvo::Tarvo(DemoState* a_demo) : m_demo(a_demo) {}

Tarvo::~Tarvo()
{
    shutdown();
}

// The steps run in this order: the renderer first, as everything draws
// through it; the window is shown only once the shared resources are there,
// then cleared to black before content loading draws into it.
ReturnCode Tarvo::init(HWND a_window)
{
    RECT rect = {};
    GetWindowRect(a_window, &rect);
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;

    m_renderer = Renderer::create();
    ReturnCode renderer = m_renderer->init(width, height, a_window);
    if (renderer.failed())
    {
        shutdown();
        return ReturnCode(ReturnCode::kFailure);
    }

    m_deferred = DeferredShading::create(m_renderer);
    if (!m_deferred)
    {
        shutdown();
        fatalError("Failed to initialize deferred shading.");
        return ReturnCode(ReturnCode::kFailure);
    }

    // A missing texture or shader has shown the file system's message; stop
    // here rather than register nothing under its name.
    ReturnCode textures = loadNullTextures();
    if (textures.failed())
    {
        shutdown();
        return ReturnCode(ReturnCode::kFailure);
    }
    ReturnCode shaders = loadSceneShaders();
    if (shaders.failed())
    {
        shutdown();
        return ReturnCode(ReturnCode::kFailure);
    }

    // The omni lights' volumes; a missing or damaged file has shown its message.
    m_primitives = QorLoader::load(m_renderer, this, "primitives.qor");
    if (!m_primitives)
    {
        shutdown();
        return ReturnCode(ReturnCode::kFailure);
    }

    ShowWindow(a_window, SW_SHOW);

    // One black frame; the results are not examined.
    IDirect3DDevice9* device = m_renderer->device();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);

    if (m_demo && !loadContent(this, m_demo))
        return ReturnCode(ReturnCode::kFailure);
    return ReturnCode(ReturnCode::kSuccess);
}

// The plain textures materials fall back on.
ReturnCode Tarvo::loadNullTextures()
{
    const struct
    {
        const char* file;
        const char* name;
    } kTextures[] = {
        {"null_white.jpg", "null_white"},
        {"null_grey.jpg", "null_grey"},
        {"null_black.jpg", "null_black"},
    };
    for (const auto& texture : kTextures)
    {
        Texture* loaded = Texture::load(texture.file, m_renderer);
        if (!loaded)
            return ReturnCode(ReturnCode::kFailure);
        m_textures.add(texture.name, loaded);
    }
    return ReturnCode(ReturnCode::kSuccess);
}

// The pass programs every scene takes at its creation, by file name.
ReturnCode Tarvo::loadSceneShaders()
{
    for (const auto& shader : g_sceneShaders)
    {
        Shader* loaded = Shader::create(shader.kind, m_renderer, shader.file);
        if (!loaded)
            return ReturnCode(ReturnCode::kFailure);
        m_shaders.add(shader.file, loaded);
    }
    return ReturnCode(ReturnCode::kSuccess);
}

bool Tarvo::advance()
{
    // Demo time 0 is the moment the first frame starts, after all loading.
    if (m_frame == 0)
    {
        Timer::reset();
        if (m_soundtrack)
        {
            BASS_ChannelPlay(m_soundtrack->m_stream, TRUE);
            Time::g_soundtrack = m_soundtrack;
        }
    }
    if (Time::g_soundtrack)
        Timer::update();
    else
        Timer::updateSilent();
    ++m_frame;
    if (m_demo)
    {
        m_demo->m_frame = describeFrame(m_demo, Time::g_time);
        m_ended = m_demo->m_frame.ended;
    }
    return !m_ended;
}

ReturnCode Tarvo::update()
{
    if (!advance())
        return ReturnCode(ReturnCode::kSuccess, true);
    ReturnCode begun = m_renderer->beginFrame();
    if (begun.failed())
        return ReturnCode(ReturnCode::kFailure);
    if (m_demo)
        drawFrame(m_demo, m_demo->m_frame);
    m_renderer->endFrame();
    return ReturnCode(ReturnCode::kSuccess, true);
}

ReturnCode Tarvo::shutdown()
{
    delete m_deferred;
    m_deferred = nullptr;
    if (m_soundtrack)
    {
        if (Time::g_soundtrack == m_soundtrack)
            Time::g_soundtrack = nullptr;
        delete m_soundtrack;
        m_soundtrack = nullptr;
    }
    if (m_renderer)
    {
        m_renderer->shutdown();
        delete m_renderer;
        m_renderer = nullptr;
    }
    delete m_primitives;
    m_primitives = nullptr;
    return ReturnCode(ReturnCode::kSuccess, true);
}

ReturnCode Tarvo::createSoundtrack(float a_bpm)
{
    m_soundtrack = Soundtrack::create(a_bpm);
    return ReturnCode(m_soundtrack ? ReturnCode::kSuccess : ReturnCode::kFailure, true);
}

Scene* Tarvo::createScene()
{
    Scene* scene = new Scene(m_renderer);
    Shader** shaders[6] = {&scene->m_selfIllumVertexShader, &scene->m_selfIllumPixelShader,
                           &scene->m_cubemapVertexShader,   &scene->m_cubemapPixelShader,
                           &scene->m_depthVertexShader,     &scene->m_depthPixelShader};
    for (int i = 0; i < 6; ++i)
    {
        *shaders[i] = m_shaders.find(g_sceneShaders[i].file);
        if (!*shaders[i])
        {
            delete scene;
            return nullptr;
        }
    }
    return scene;
}
