// The application object: owns the renderer, the shared textures and
// shaders and the soundtrack, initialises them and runs one frame per update.
#pragma once

#include "core/ReturnCode.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "scene/Container.h"
#include "scene/Scene.h"

#include <windows.h>

#include <stdint.h>

class DeferredShading;
struct DemoState;
class Renderer;
class Soundtrack;

class Tarvo
{
public:
    // a_demo: the demo's content and timeline state, filled by init and read
    // by every update; without one, init loads no content and frames are black.
    explicit Tarvo(DemoState* a_demo = nullptr);
    // Shuts down again, then destroys the containers.
    ~Tarvo();
    Tarvo(const Tarvo&) = delete;
    Tarvo& operator=(const Tarvo&) = delete;

    // Everything the demo needs, in order, for a_window (hidden until the
    // shared resources are loaded).
    ReturnCode init(HWND a_window);
    // The first half of a frame, without the device: the clock, then the
    // frame the timeline describes for it (m_demo->m_frame). The first call
    // starts the soundtrack and the clock. Once the timeline has ended (the
    // last beat with Loop off) m_ended is set and the result is false.
    bool advance();
    // One frame: advance, then draw the frame described (nothing once the
    // demo has ended).
    ReturnCode update();
    // Releases in order; safe to call again.
    ReturnCode shutdown();

    // Content loading's soundtrack, kept in m_soundtrack; checked either way.
    ReturnCode createSoundtrack(float a_bpm);
    // An empty scene with the pass shaders of m_shaders, or null when one
    // of them is not registered.
    Scene* createScene();

    Renderer* m_renderer = nullptr;         // owned
    DeferredShading* m_deferred = nullptr;  // owned
    // Destroyed in reverse: shaders, scenes, then textures.
    Container<Texture> m_textures;       // shared textures by name ("null_white" ...)
    Container<Scene> m_scenes;           // by file name ("hog.qor" ...)
    Container<Shader> m_shaders;         // shared shaders by file name
    uint32_t m_frame = 0;                // frames advanced
    bool m_ended = false;                // the demo reached its end
    Soundtrack* m_soundtrack = nullptr;  // owned; null until content loading
    Scene* m_primitives = nullptr;       // owned; "primitives.qor", the light volumes
    DemoState* m_demo = nullptr;         // not owned; never freed

private:
    ReturnCode loadNullTextures();
    ReturnCode loadSceneShaders();
};
