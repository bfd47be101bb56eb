// The deferred renderer's four stages: the geometry pass into a G-buffer of
// four targets, the light pass into two light buffers, the combine into an
// output target and the fog over it.
#pragma once

#include <d3dx9.h>

class LightAmbient;
class LightFog;
class Renderer;
class RenderTarget;
class Shader;

class DeferredShading
{
public:
    // The pipeline with its six targets at the renderer's internal size, its
    // shaders and its ambient light and fog, or null when a target or shader
    // cannot be made (a missing file has shown its message).
    static DeferredShading* create(Renderer* a_renderer);
    ~DeferredShading();
    DeferredShading(const DeferredShading&) = delete;
    DeferredShading& operator=(const DeferredShading&) = delete;

    // The geometry pass: the G-buffer bound and cleared, "deferred.vsh/.psh"
    // current; the caller writes the camera members before setViewConstants,
    // which gives the vertex program the view too (sprites face the camera).
    void beginGeometryPass();
    void setViewConstants();
    // Between beginGeometryPass and endGeometryPass the scene may be drawn
    // twice: first after beginDepthPass, which writes only depth (false, and
    // nothing changed, without "deferreddepth.psh"), then after
    // beginShadingPass, which shades only the surfaces whose depth equals
    // what the first drawing left, the nearest. The G-buffer holds what one
    // drawing with depth writes would leave, where surfaces lie over each
    // other the last one drawn at the nearest depth, at a fraction of the
    // shading. beginShadingPass turns colour writes back on, endGeometryPass
    // depth writes.
    bool beginDepthPass();
    void beginShadingPass();
    void endGeometryPass();

    // The light pass: light buffers bound and cleared, G-buffer 1 to 3 on
    // samplers 0 to 2, the ambient light drawn; end puts depth back on,
    // blending off and the back buffer back.
    void beginLightPass(const float* a_ambientColor);
    void endLightPass();

    // Into a_target, which is unbound again afterwards (the back buffer at 0).
    void combine(RenderTarget& a_target, float a_contrast, float a_saturation, float a_brightness);
    void applyFog(RenderTarget& a_target, const float* a_color, float a_near, float a_far);

    // What each G-buffer target holds, as "deferred.psh" writes it:
    //   0  surface colour rgb (texture 0 x "diffuseColor", plus the cube
    //      reflection x "glossiness" when "cubemap"), a = 1
    //   1  unit world-space normal xyz, a = "glossiness"
    //   2  world-space position xyz, a = distance from "viewPosition"
    //   3  r = distance from "viewPosition", g = "specularPower"
    // The clear leaves distance 0 where nothing was drawn.
    Renderer* m_renderer = nullptr;  // not owned
    RenderTarget* m_gbuffer[4] = {nullptr, nullptr, nullptr, nullptr};
    RenderTarget* m_lightBuffers[2] = {nullptr, nullptr};  // light sums, read by combine
    Shader* m_deferredPixelShader = nullptr;
    Shader* m_deferredVertexShader = nullptr;
    Shader* m_combinePixelShader = nullptr;
    Shader* m_quadVertexShader = nullptr;  // the combine pass's
    Shader* m_depthPixelShader = nullptr;  // "deferreddepth.psh", or null: no depth pass
    D3DXMATRIX m_view;                     // written by the caller every frame
    D3DXMATRIX m_projection;
    D3DXVECTOR4 m_viewPosition;  // eye x, y, z and 1
    LightFog* m_fog = nullptr;
    LightAmbient* m_ambient = nullptr;

private:
    DeferredShading() = default;
    void clearTextures();
};
