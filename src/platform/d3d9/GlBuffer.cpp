// The GL buffer behind a vertex or index buffer, with its staging copy.
#include "GlBuffer.h"

#include <SDL.h>

GlBuffer::GlBuffer(UINT a_length) : m_bytes(a_length, 0) {}

bool GlBuffer::create()
{
    while (glGetError() != GL_NO_ERROR)
    {
    }
    glCreateBuffers(1, &m_name);
    glNamedBufferData(m_name, static_cast<GLsizeiptr>(m_bytes.size()), m_bytes.data(),
                      GL_DYNAMIC_DRAW);
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return true;
    SDL_Log("d3d9: GL refused a buffer of %zu bytes (GL error 0x%x)", m_bytes.size(), error);
    releaseGl();
    return false;
}

void GlBuffer::releaseGl()
{
    if (m_name)
        glDeleteBuffers(1, &m_name);
    m_name = 0;
}

HRESULT GlBuffer::lock(UINT a_offset, UINT a_size, void** a_data)
{
    if (!a_data)
        return D3DERR_INVALIDCALL;
    *a_data = nullptr;
    const UINT length = this->length();
    if (m_locked || !m_name || a_offset > length)
        return D3DERR_INVALIDCALL;
    const UINT size = a_size == 0 ? length - a_offset : a_size;
    if (size > length - a_offset)
        return D3DERR_INVALIDCALL;
    m_locked = true;
    m_lockedOffset = a_offset;
    m_lockedSize = size;
    *a_data = m_bytes.data() + a_offset;
    return D3D_OK;
}

HRESULT GlBuffer::unlock()
{
    if (!m_name)
        return D3DERR_INVALIDCALL;
    // An unlock with no lock open succeeds and changes nothing, as the runtime's.
    if (!m_locked)
        return D3D_OK;
    glNamedBufferSubData(m_name, static_cast<GLintptr>(m_lockedOffset),
                         static_cast<GLsizeiptr>(m_lockedSize), m_bytes.data() + m_lockedOffset);
    m_locked = false;
    ++m_version;
    return D3D_OK;
}
