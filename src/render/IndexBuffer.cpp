// Index buffers: creation and filling.
#include "render/IndexBuffer.h"

#include "core/Assert.h"
#include "render/Renderer.h"

#include <new>

IndexBuffer* IndexBuffer::create(Renderer* a_renderer, uint32_t a_count)
{
    TARVO_ASSERT(a_renderer);
    IndexBuffer* buffer = new (std::nothrow) IndexBuffer();
    TARVO_ASSERT(buffer);
    // A length past 32 bits would wrap into a smaller buffer than the count describes.
    const uint64_t length = uint64_t(a_count) * sizeof(uint32_t);
    if (length > UINT32_MAX || FAILED(a_renderer->device()->CreateIndexBuffer(
                                   static_cast<UINT>(length), D3DUSAGE_WRITEONLY, D3DFMT_INDEX32,
                                   D3DPOOL_DEFAULT, &buffer->m_buffer, nullptr)))
    {
        buffer->m_buffer = nullptr;
        delete buffer;
        return nullptr;
    }
    buffer->m_count = a_count;
    buffer->m_renderer = a_renderer;
    return buffer;
}

IndexBuffer::~IndexBuffer()
{
    if (m_buffer)
    {
        m_buffer->Release();
        m_buffer = nullptr;
    }
}

ReturnCode IndexBuffer::lock(void*& a_pointer)
{
    a_pointer = nullptr;
    if (FAILED(m_buffer->Lock(0, 0, &a_pointer, 0)))
        a_pointer = nullptr;
    return ReturnCode(a_pointer ? ReturnCode::kSuccess : ReturnCode::kFailure, true);
}

ReturnCode IndexBuffer::unlock()
{
    m_buffer->Unlock();
    return ReturnCode(ReturnCode::kSuccess, true);
}
