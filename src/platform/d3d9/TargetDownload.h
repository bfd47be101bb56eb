// A render target's texels on their way into a system-memory surface:
// glReadPixels into a pixel-pack buffer and a fence, so GetRenderTargetData
// only queues the copy (a driver that copies on the GPU returns before the
// drawing is done) and the lock that follows waits for the fence.
#pragma once

#include "Gl.h"

#include <stddef.h>

class Surface9;
struct Format;

class TargetDownload
{
public:
    TargetDownload() = default;
    ~TargetDownload();  // GL objects are the owner's to release first
    TargetDownload(const TargetDownload&) = delete;
    TargetDownload& operator=(const TargetDownload&) = delete;

    // Queues the copy of a_source's texels in D3D9's layout (rows top first,
    // packed) in a_format's upload format and type, and returns. A copy still
    // queued or mapped is replaced. False (logged) when GL refuses.
    bool start(const Surface9& a_source, const Format& a_format);
    // Waits for the copy, then maps it; null when GL fails. The bytes stay
    // valid until unmap; mapping twice returns the same bytes.
    const unsigned char* map();
    void unmap();
    bool mapped() const { return m_mapped != nullptr; }
    size_t size() const { return m_size; }  // bytes

    void releaseGl();

private:
    bool wait();

    GLuint m_buffer = 0;
    GLuint m_framebuffer = 0;
    GLsync m_fence = nullptr;
    size_t m_capacity = 0;  // bytes the buffer holds
    size_t m_size = 0;      // bytes of the last copy
    const unsigned char* m_mapped = nullptr;
};
