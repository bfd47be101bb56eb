// The surface formats the layer supports and their GL equivalents.
#pragma once

#include "Gl.h"

#include <d3d9.h>

// The largest side of a surface, texture or back buffer the layer creates:
// larger ones are refused with D3DERR_INVALIDCALL, as drivers of D3D9's
// generation refuse them.
constexpr UINT kMaxSurfaceSide = 16384;

struct Format
{
    D3DFORMAT format;
    const char* name;
    GLenum internalFormat;
    GLenum uploadFormat;  // of locked bytes, in D3D9's memory order
    GLenum uploadType;
    UINT bytesPerPixel;
    // What each of red, green, blue and alpha reads as when sampled.
    GLint swizzle[4];
    bool depth;
    bool stencil;

    // The row of a format; null for formats the layer does not support.
    static const Format* find(D3DFORMAT a_format);
    // Every supported format, for tests that walk the table.
    static const Format* table(UINT* a_count);
};
