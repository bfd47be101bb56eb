// Vertex buffers: creation, filling and binding.
#include "render/VertexBuffer.h"

#include "core/Assert.h"
#include "render/Renderer.h"

#include <string.h>

#include <new>

VertexBuffer* VertexBuffer::create(Renderer* a_renderer, uint32_t a_vertexCount,
                                   uint32_t a_vertexSize, DWORD a_fvf)
{
    TARVO_ASSERT(a_renderer && a_vertexCount != 0 && a_vertexSize != 0);
    VertexBuffer* vb = new (std::nothrow) VertexBuffer();
    TARVO_ASSERT(vb);

    // A length past 32 bits would wrap into a smaller buffer than the counts describe.
    const uint64_t length = uint64_t(a_vertexSize) * a_vertexCount;
    if (length > UINT32_MAX || FAILED(a_renderer->device()->CreateVertexBuffer(
                                   static_cast<UINT>(length), D3DUSAGE_WRITEONLY, a_fvf,
                                   D3DPOOL_DEFAULT, &vb->m_buffer, nullptr)))
    {
        vb->m_buffer = nullptr;
        delete vb;
        return nullptr;
    }
    vb->m_vertexSize = a_vertexSize;
    vb->m_vertexCount = a_vertexCount;
    vb->m_fvf = a_fvf;
    vb->m_renderer = a_renderer;
    return vb;
}

VertexBuffer::~VertexBuffer()
{
    if (m_buffer)
    {
        m_buffer->Release();
        m_buffer = nullptr;
    }
}

ReturnCode VertexBuffer::fill(const void* a_data, uint32_t a_vertexCount)
{
    TARVO_ASSERT(a_data);
    void* pointer = nullptr;
    ReturnCode locked = lock(a_vertexCount, pointer);
    if (locked.failed())
        return ReturnCode(ReturnCode::kFailure, true);
    memcpy(pointer, a_data, size_t(m_vertexSize) * a_vertexCount);
    m_buffer->Unlock();
    return ReturnCode(ReturnCode::kSuccess, true);
}

// A count past the buffer's fails before the multiplication, whose 32 bits
// could wrap to a size that Lock accepts and fill then overruns.
ReturnCode VertexBuffer::lock(uint32_t a_vertexCount, void*& a_pointer)
{
    a_pointer = nullptr;
    if (a_vertexCount > m_vertexCount ||
        FAILED(m_buffer->Lock(0, m_vertexSize * a_vertexCount, &a_pointer, 0)))
    {
        a_pointer = nullptr;
        return ReturnCode(ReturnCode::kFailure, true);
    }
    return ReturnCode(ReturnCode::kSuccess, true);
}

ReturnCode VertexBuffer::unlock()
{
    const bool unlocked = SUCCEEDED(m_buffer->Unlock());
    return ReturnCode(unlocked ? ReturnCode::kSuccess : ReturnCode::kFailure, true);
}

void VertexBuffer::bind()
{
    IDirect3DDevice9* device = m_renderer->device();
    device->SetStreamSource(0, m_buffer, 0, m_vertexSize);
    device->SetFVF(m_fvf);
}
