// A render target's texels on their way into a system-memory surface.
#include "TargetDownload.h"

#include "Format.h"
#include "Surface9.h"

#include <SDL.h>

namespace
{

// How long one wait for the fence lasts before it is asked again.
const GLuint64 kWaitNanoseconds = 1000000000;

}  // namespace

TargetDownload::~TargetDownload() = default;

// The read goes through a framebuffer of its own, so the draw framebuffer
// the state cache keeps stays as it is; the read framebuffer and the pack
// buffer are bound only for the call, as the other reads expect neither.
// glFlush hands the copy to the driver now rather than with the next frame's
// first target change.
bool TargetDownload::start(const Surface9& a_source, const Format& a_format)
{
    unmap();
    if (m_fence)
        glDeleteSync(m_fence);
    m_fence = nullptr;
    while (glGetError() != GL_NO_ERROR)
    {
    }
    const GLsizei width = GLsizei(a_source.width());
    const GLsizei height = GLsizei(a_source.height());
    m_size = size_t(width) * size_t(height) * a_format.bytesPerPixel;
    if (!m_framebuffer)
        glCreateFramebuffers(1, &m_framebuffer);
    if (!m_buffer)
        glCreateBuffers(1, &m_buffer);
    if (m_size > m_capacity)
    {
        glNamedBufferData(m_buffer, GLsizeiptr(m_size), nullptr, GL_STREAM_READ);
        m_capacity = m_size;
    }
    a_source.attachTo(m_framebuffer, GL_COLOR_ATTACHMENT0);
    glNamedFramebufferReadBuffer(m_framebuffer, GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, m_buffer);
    glReadPixels(0, 0, width, height, a_format.uploadFormat, a_format.uploadType, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
    {
        SDL_Log("d3d9: GL refused to read a %dx%d %s target back (GL error 0x%x)", width, height,
                a_format.name, error);
        m_size = 0;
        return false;
    }
    m_fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    glFlush();
    return m_fence != nullptr;
}

const unsigned char* TargetDownload::map()
{
    if (m_mapped)
        return m_mapped;
    if (!m_buffer || m_size == 0 || !wait())
        return nullptr;
    m_mapped = static_cast<const unsigned char*>(
        glMapNamedBufferRange(m_buffer, 0, GLsizeiptr(m_size), GL_MAP_READ_BIT));
    return m_mapped;
}

void TargetDownload::unmap()
{
    if (m_mapped)
        glUnmapNamedBuffer(m_buffer);
    m_mapped = nullptr;
}

void TargetDownload::releaseGl()
{
    unmap();
    if (m_fence)
        glDeleteSync(m_fence);
    if (m_buffer)
        glDeleteBuffers(1, &m_buffer);
    if (m_framebuffer)
        glDeleteFramebuffers(1, &m_framebuffer);
    m_fence = nullptr;
    m_buffer = 0;
    m_framebuffer = 0;
    m_capacity = 0;
    m_size = 0;
}

// A fence once passed stays signalled, so it is dropped then and later maps
// do not ask again.
bool TargetDownload::wait()
{
    while (m_fence)
    {
        const GLenum status =
            glClientWaitSync(m_fence, GL_SYNC_FLUSH_COMMANDS_BIT, kWaitNanoseconds);
        if (status == GL_WAIT_FAILED)
        {
            SDL_Log("d3d9: waiting for a read-back failed (GL error 0x%x)", glGetError());
            return false;
        }
        if (status == GL_ALREADY_SIGNALED || status == GL_CONDITION_SATISFIED)
        {
            glDeleteSync(m_fence);
            m_fence = nullptr;
        }
    }
    return true;
}
