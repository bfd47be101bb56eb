// The Direct3D 9 device and everything the drawing code shares: the back
// buffer, the screen quad, the filters' scratch targets, the shaders bound
// last, the size of the colour target bound last and the cull mode the scene
// passes record.
#pragma once

#include "core/ReturnCode.h"
#include "render/ShaderPair.h"

#include <d3d9.h>

#include <stdint.h>

class Quad;
class RenderTarget;
class Shader;

class Renderer
{
public:
    // The renderer with its Direct3D object; the device comes with init.
    static Renderer* create();
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Creates the device for the launcher's display mode and window choice.
    // a_width x a_height is the internal resolution: the main window's outer
    // size before a windowed window is fitted to the mode.
    ReturnCode init(int32_t a_width, int32_t a_height, HWND a_window);
    // Releases everything; safe to call again.
    ReturnCode shutdown();

    // One frame: begin, and end with present; a lost device ends the process.
    ReturnCode beginFrame();
    ReturnCode endFrame();

    // Drawing state shared by the drawing code.
    void restoreBackBuffer();
    void setShaders(const ShaderPair& a_shaders);
    void setLinearFiltering(DWORD a_stage);
    void setPointFiltering(DWORD a_stage);  // texel for texel

    // The last drawing step of a frame: a_target scaled onto the back buffer,
    // letterboxed for the launcher's aspect.
    void drawToScreen(RenderTarget* a_target);

    // Scratch targets of the internal size for the filters, 0 to 2.
    RenderTarget* getTarget(uint32_t a_index);

    IDirect3DDevice9* device() const { return m_device; }

    IDirect3D9* m_d3d = nullptr;
    IDirect3DDevice9* m_device = nullptr;
    IDirect3DSurface9* m_backBuffer = nullptr;  // colour target 0 as the device made it
    Shader* m_pixelShader = nullptr;            // bound last; not owned
    Shader* m_vertexShader = nullptr;           // bound last; not owned
    Quad* m_quad = nullptr;                     // owned
    int32_t m_width = 0;                        // pixels of the colour target bound last
    int32_t m_height = 0;
    int32_t m_backBufferWidth = 0;  // the display mode's
    int32_t m_backBufferHeight = 0;
    D3DCULL m_cullMode = D3DCULL_CW;  // recorded by the scene passes; never set here
    RenderTarget* m_targets[3] = {nullptr, nullptr, nullptr};  // owned; A16B16G16R16F

private:
    Renderer() = default;
    ReturnCode checkCapabilities();
    // Shuts down after the device exists and answers failure.
    ReturnCode failInit();
};
