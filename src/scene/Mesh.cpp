// Meshes: creation, animation matrices and drawing.
#include "scene/Mesh.h"

#include "core/Assert.h"
#include "render/IndexBuffer.h"
#include "render/Renderer.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "render/VertexBuffer.h"
#include "scene/Material.h"

#include <new>

Mesh::Mesh()
{
    D3DXMatrixIdentity(&m_worldAnimationMatrix);
    D3DXMatrixIdentity(&m_normalAnimationMatrix);
    D3DXMatrixIdentity(&m_baseMatrix);
    D3DXMatrixIdentity(&m_baseNormalMatrix);
}

Mesh* Mesh::create(VertexBuffer* a_vertexBuffer, Renderer* a_renderer, IndexBuffer* a_indexBuffer)
{
    TARVO_ASSERT(a_vertexBuffer);
    Mesh* mesh = new (std::nothrow) Mesh();
    TARVO_ASSERT(mesh);
    mesh->m_renderer = a_renderer;
    mesh->m_vertexBuffer = a_vertexBuffer;
    mesh->m_indexBuffer = a_indexBuffer;
    mesh->m_primitiveCount =
        a_indexBuffer ? a_indexBuffer->m_count / 3 : a_vertexBuffer->m_vertexCount / 3;
    return mesh;
}

Mesh* Mesh::createInstance(const Mesh& a_source)
{
    Mesh* mesh = new (std::nothrow) Mesh();
    TARVO_ASSERT(mesh);
    mesh->m_renderer = a_source.m_renderer;
    mesh->m_vertexBuffer = a_source.m_vertexBuffer;
    mesh->m_indexBuffer = a_source.m_indexBuffer;
    mesh->m_primitiveType = a_source.m_primitiveType;
    mesh->m_primitiveCount = a_source.m_primitiveCount;
    mesh->m_material = a_source.m_material;
    mesh->m_sharedBuffers = true;
    return mesh;
}

Mesh::~Mesh()
{
    if (!m_sharedBuffers)
    {
        delete m_vertexBuffer;
        delete m_indexBuffer;
    }
    m_vertexBuffer = nullptr;
    m_indexBuffer = nullptr;
}

// The exported rotations turn the other way round from D3DX's quaternion
// matrices, hence the negated w.
void Mesh::update(float a_time)
{
    const D3DXVECTOR3 t = m_translationTrack.sample(a_time);
    const D3DXVECTOR3 s = m_scaleTrack.sample(a_time);
    const D3DXQUATERNION q = rotationAt(m_rotationTrack, a_time);
    const D3DXQUATERNION turned(q.x, q.y, q.z, -q.w);

    D3DXMATRIX translation, rotation, scaling, scaledRotated, moved;
    D3DXMatrixTranslation(&translation, t.x, t.y, t.z);
    D3DXMatrixRotationQuaternion(&rotation, &turned);
    D3DXMatrixScaling(&scaling, s.x, s.y, s.z);
    D3DXMatrixMultiply(&scaledRotated, &scaling, &rotation);
    D3DXMatrixMultiply(&moved, &scaledRotated, &translation);
    D3DXMatrixMultiply(&m_worldAnimationMatrix, &moved, &m_baseMatrix);
    D3DXMatrixMultiply(&m_normalAnimationMatrix, &scaledRotated, &m_baseNormalMatrix);
}

ReturnCode Mesh::draw(float a_time, bool a_animate)
{
    TARVO_ASSERT(m_vertexBuffer);
    m_vertexBuffer->bind();
    if (a_animate)
    {
        update(a_time);
        Shader* shader = m_renderer->m_vertexShader;
        shader->setMatrix("worldAnimationMatrix", m_worldAnimationMatrix);
        shader->setMatrix("normalAnimationMatrix", m_normalAnimationMatrix);
    }
    IDirect3DDevice9* device = m_renderer->device();
    if (m_indexBuffer)
    {
        device->SetIndices(m_indexBuffer->m_buffer);
        device->DrawIndexedPrimitive(m_primitiveType, 0, 0, m_vertexBuffer->m_vertexCount, 0,
                                     m_primitiveCount);
    }
    else
    {
        device->DrawPrimitive(m_primitiveType, 0, m_primitiveCount);
    }
    return ReturnCode(ReturnCode::kSuccess, true);
}

ReturnCode Mesh::drawSelfIllumination(float a_time)
{
    if (!m_material || !m_material->selfIlluminated())
        return ReturnCode(ReturnCode::kSuccess, true);
    m_renderer->m_pixelShader->setVector("color", m_material->m_selfIllumColor);
    if (m_material->m_texture0)
        m_material->m_texture0->bind(0);
    return draw(a_time, true);
}
