// One drawable object of a scene: its vertex and index buffers, its material
// and the tracks that move it.
#pragma once

#include "core/ReturnCode.h"
#include "scene/Track.h"

#include <d3d9.h>
#include <d3dx9.h>

#include <stdint.h>

class IndexBuffer;
class Material;
class Renderer;
class VertexBuffer;

class Mesh
{
public:
    // A mesh that owns a_vertexBuffer and a_indexBuffer (which may be null:
    // the vertices are then a plain triangle list).
    static Mesh* create(VertexBuffer* a_vertexBuffer, Renderer* a_renderer,
                        IndexBuffer* a_indexBuffer);
    // A mesh drawing a_source's buffers with a_source's material; its tracks
    // are its own, and it never releases the buffers.
    static Mesh* createInstance(const Mesh& a_source);
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // The animation matrices at a_time (frames): scale, rotation and
    // translation, then the base matrix the scene copied in.
    void update(float a_time);

    // Draws with the renderer's current shaders; with a_animate, the
    // animation matrices at a_time go to the current vertex shader first.
    // Both return success, already checked.
    ReturnCode draw(float a_time, bool a_animate);
    // Draws with the material's glow colour when it has one.
    ReturnCode drawSelfIllumination(float a_time);

    Renderer* m_renderer = nullptr;          // not owned
    VertexBuffer* m_vertexBuffer = nullptr;  // owned unless m_sharedBuffers
    IndexBuffer* m_indexBuffer = nullptr;    // owned unless m_sharedBuffers; null for sprites
    D3DPRIMITIVETYPE m_primitiveType = D3DPT_TRIANGLELIST;
    uint32_t m_primitiveCount = 0;  // triangles
    Track<D3DXVECTOR3> m_translationTrack;
    Track<D3DXQUATERNION> m_rotationTrack;
    Track<D3DXVECTOR3> m_scaleTrack;
    bool m_sharedBuffers = false;
    Material* m_material = nullptr;      // not owned; may be null
    D3DXMATRIX m_worldAnimationMatrix;   // "worldAnimationMatrix"
    D3DXMATRIX m_normalAnimationMatrix;  // "normalAnimationMatrix"
    D3DXMATRIX m_baseMatrix;             // the scene's world matrix
    D3DXMATRIX m_baseNormalMatrix;       // the scene's world matrix too

private:
    Mesh();
};
