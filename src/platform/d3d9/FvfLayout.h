// A flexible vertex format code as GL vertex attributes: positions, normals,
// colours and texture coordinates at the locations the layer gives their
// D3D9 usages.
#pragma once

#include "Gl.h"

#include <d3d9.h>

struct FvfLayout
{
    struct Element
    {
        GLuint location;
        GLint components;  // GL_BGRA for D3DCOLOR
        GLenum type;
        GLboolean normalized;
        UINT offset;  // bytes from the start of the vertex
    };

    // Attribute locations by usage: POSITION0 (and POSITIONT0) -> 0,
    // NORMAL0 -> 1, COLOR0 -> 2, COLOR1 -> 3, TEXCOORDn -> 4 + n.
    static const GLuint LocationCount = 12;
    static const GLuint DiffuseLocation = 2;
    // The location of a D3DDECLUSAGE and index; -1 when it has none.
    static int location(int a_usage, int a_index);

    // False for codes with parts the layer does not support (blend weights).
    static bool decode(DWORD a_fvf, FvfLayout* a_layout);

    Element elements[LocationCount];
    UINT count = 0;
    UINT stride = 0;              // bytes per vertex the code describes
    bool pretransformed = false;  // D3DFVF_XYZRHW: screen pixels
};
