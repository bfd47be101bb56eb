// A Direct3D buffer of 32-bit triangle-list indices, as meshes draw them.
#pragma once

#include "core/ReturnCode.h"

#include <d3d9.h>

#include <stdint.h>

class Renderer;

class IndexBuffer
{
public:
    // A write-only buffer of a_count indices in video memory, or null when
    // the device refuses it (silently).
    static IndexBuffer* create(Renderer* a_renderer, uint32_t a_count);
    ~IndexBuffer();
    IndexBuffer(const IndexBuffer&) = delete;
    IndexBuffer& operator=(const IndexBuffer&) = delete;

    // The whole buffer for writing; results come already checked, and
    // a_pointer is null on failure.
    ReturnCode lock(void*& a_pointer);
    ReturnCode unlock();

    IDirect3DIndexBuffer9* m_buffer = nullptr;  // D3DFMT_INDEX32
    uint32_t m_count = 0;                       // indices
    Renderer* m_renderer = nullptr;             // not owned

private:
    IndexBuffer() = default;
};
