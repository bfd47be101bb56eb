// D3D9 enumerations translated to GL by tables indexed by the D3D9 value.
#pragma once

#include "Gl.h"

#include <d3d9.h>

#include <stdint.h>

class GlEnums
{
public:
    // What each returns for a value the table has no row for (0 is GL_ZERO
    // and GL_POINTS, so it cannot mark a missing row).
    static constexpr GLenum None = GL_INVALID_ENUM;

    static GLenum compare(DWORD a_d3dCmpFunc);
    static GLenum blend(DWORD a_d3dBlend);
    static GLenum blendOp(DWORD a_d3dBlendOp);
    static GLenum address(DWORD a_d3dAddress);
    static GLenum primitive(DWORD a_d3dPrimitive);
    // GL minification filter for a D3D9 minification and mip filter pair.
    static GLenum minFilter(DWORD a_d3dMinFilter, DWORD a_d3dMipFilter);
    static GLenum magFilter(DWORD a_d3dMagFilter);
    // A D3DCOLOR (0xAARRGGBB) as GL's red, green, blue, alpha in 0..1.
    static void color(D3DCOLOR a_color, float a_rgba[4]);

    // Vertices that a primitive count of a primitive type takes; 0 for an
    // unknown type or no primitives.
    static uint64_t vertexCount(DWORD a_d3dPrimitiveType, UINT a_primitiveCount);
};
