// The GL buffer behind a vertex or index buffer, with the staging copy that
// Lock hands out and Unlock uploads. The copy stays, so a later lock sees
// what was written before, as in D3D9, and draws can check indices on the CPU.
#pragma once

#include "Gl.h"

#include <d3d9.h>

#include <vector>

class GlBuffer
{
public:
    explicit GlBuffer(UINT a_length);  // GL objects are the owner's to release
    GlBuffer(const GlBuffer&) = delete;
    GlBuffer& operator=(const GlBuffer&) = delete;

    // Makes the GL buffer; false (logged) when GL refuses.
    bool create();
    void releaseGl();

    GLuint name() const { return m_name; }
    UINT length() const { return static_cast<UINT>(m_bytes.size()); }
    const unsigned char* bytes() const { return m_bytes.data(); }
    // Bumped by every unlock, so users can tell when derived data is stale.
    unsigned version() const { return m_version; }

    // D3D9's rule: offset and size 0 lock the whole buffer.
    HRESULT lock(UINT a_offset, UINT a_size, void** a_data);
    HRESULT unlock();

private:
    std::vector<unsigned char> m_bytes;
    GLuint m_name = 0;
    bool m_locked = false;
    UINT m_lockedOffset = 0;
    UINT m_lockedSize = 0;
    unsigned m_version = 0;
};
