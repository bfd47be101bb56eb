// Everything one scene file describes (meshes, cameras, materials, lights)
// with the frame time and camera the timeline picks, and the three passes
// it draws in the deferred frame: materials, lights, self-illumination.
#pragma once

#include "lights/Light.h"
#include "scene/Camera.h"
#include "scene/Container.h"
#include "scene/Material.h"
#include "scene/Mesh.h"

#include <d3dx9.h>

class LightSpot;
class RenderTarget;
class Renderer;
class Shader;

class Scene
{
public:
    // Empty, for the renderer; Tarvo::createScene adds the pass shaders.
    explicit Scene(Renderer* a_renderer);
    // The containers go lights, materials, cameras, meshes.
    ~Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // The material pass: every mesh into the G-buffer with the shaders and
    // camera constants the caller made current.
    void render();
    // The light pass: every light with the camera's view at m_time.
    void renderLights();
    // The glowing meshes, with the scene's own self-illumination shaders.
    void renderSelfIllumination();
    // A spot light's shadow map: the distances from a_light (at m_time) to
    // the nearest surfaces, as "depth.psh" writes them, into a_shadowMap
    // (G32R32F); 0 where there is no surface. The light's inputs are then
    // a_shadowMap, a depth source and a camera (LightSpot).
    void renderShadowMap(LightSpot& a_light, RenderTarget& a_shadowMap);

    Renderer* m_renderer = nullptr;  // not owned
    Container<Mesh> m_meshes;
    Container<Camera> m_cameras;
    Container<Material> m_materials;
    Container<Light> m_lights;
    // From Tarvo::m_shaders; not owned.
    Shader* m_selfIllumPixelShader = nullptr;
    Shader* m_selfIllumVertexShader = nullptr;
    Shader* m_cubemapPixelShader = nullptr;
    Shader* m_cubemapVertexShader = nullptr;
    Shader* m_depthPixelShader = nullptr;
    Shader* m_depthVertexShader = nullptr;
    float m_time = 0.0f;         // frames; set by the timeline
    Camera* m_camera = nullptr;  // one of m_cameras; set by the timeline
    D3DXMATRIX m_worldMatrix;    // identity; copied into meshes and lights
};
