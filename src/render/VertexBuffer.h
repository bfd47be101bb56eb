// One Direct3D vertex buffer with what filling and drawing it needs: the size
// of a vertex, the number of vertices and the FVF code.
#pragma once

#include "core/ReturnCode.h"

#include <d3d9.h>

#include <stdint.h>

class Renderer;

class VertexBuffer
{
public:
    // A write-only buffer of a_vertexCount vertices of a_vertexSize bytes in
    // video memory, or null when the device refuses it (silently).
    static VertexBuffer* create(Renderer* a_renderer, uint32_t a_vertexCount, uint32_t a_vertexSize,
                                DWORD a_fvf);
    ~VertexBuffer();
    VertexBuffer(const VertexBuffer&) = delete;
    VertexBuffer& operator=(const VertexBuffer&) = delete;

    // Writing the first a_vertexCount vertices; results come already checked.
    // More vertices than the buffer holds is a failure.
    ReturnCode fill(const void* a_data, uint32_t a_vertexCount);
    ReturnCode lock(uint32_t a_vertexCount, void*& a_pointer);  // a_pointer null on failure
    ReturnCode unlock();

    // Stream 0 and the vertex layout for the next draw.
    void bind();

    IDirect3DVertexBuffer9* m_buffer = nullptr;
    uint32_t m_vertexSize = 0;  // bytes; also the stream stride
    uint32_t m_vertexCount = 0;
    DWORD m_fvf = 0;
    Renderer* m_renderer = nullptr;  // not owned

private:
    VertexBuffer() = default;
};
