// A flexible vertex format code as GL vertex attributes.
#include "FvfLayout.h"

namespace
{

const int g_usagePosition = 0;
const int g_usageNormal = 3;
const int g_usageTexcoord = 5;
const int g_usagePositionT = 9;
const int g_usageColor = 10;

const DWORD g_known = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_PSIZE | D3DFVF_DIFFUSE |
                      D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK | D3DFVF_LASTBETA_UBYTE4 |
                      D3DFVF_LASTBETA_D3DCOLOR | 0xFFFF0000;
const DWORD g_lastBeta = D3DFVF_LASTBETA_UBYTE4 | D3DFVF_LASTBETA_D3DCOLOR;

// Floats per texture coordinate set, by its two D3DFVF_TEXTUREFORMAT bits.
const GLint g_texcoordFloats[4] = {2, 3, 4, 1};

}  // namespace

int FvfLayout::location(int a_usage, int a_index)
{
    if ((a_usage == g_usagePosition || a_usage == g_usagePositionT || a_usage == g_usageNormal) &&
        a_index == 0)
        return a_usage == g_usageNormal ? 1 : 0;
    if (a_usage == g_usageColor && a_index < 2)
        return 2 + a_index;
    if (a_usage == g_usageTexcoord && a_index < 8)
        return 4 + a_index;
    return -1;
}

bool FvfLayout::decode(DWORD a_fvf, FvfLayout* a_layout)
{
    FvfLayout layout;
    const DWORD position = a_fvf & D3DFVF_POSITION_MASK;
    const bool blended = position >= D3DFVF_XYZB1 && position <= D3DFVF_XYZB5;
    if ((a_fvf & ~g_known) != 0 || (a_fvf & g_lastBeta) == g_lastBeta ||
        ((a_fvf & g_lastBeta) != 0 && !blended))
        return false;
    UINT offset = 0;
    auto add = [&](GLuint a_location, GLint a_components, GLenum a_type, UINT a_bytes) {
        layout.elements[layout.count++] =
            Element{a_location, a_components, a_type, a_type == GL_UNSIGNED_BYTE, offset};
        offset += a_bytes;
    };
    switch (position)
    {
    case D3DFVF_XYZ:
        add(0, 3, GL_FLOAT, 12);
        break;
    case D3DFVF_XYZRHW:
        add(0, 4, GL_FLOAT, 16);
        layout.pretransformed = true;
        break;
    case D3DFVF_XYZB1:
    case D3DFVF_XYZB2:
    case D3DFVF_XYZB3:
    case D3DFVF_XYZB4:
    case D3DFVF_XYZB5:
        // Blend weights (the last one perhaps four index bytes) reach no
        // input of ours: vertex blending is for the fixed-function pipeline.
        add(0, 3, GL_FLOAT, 12);
        offset += 4 * ((position - D3DFVF_XYZRHW) / 2);
        break;
    default:
        return false;  // none, or XYZW
    }
    if (a_fvf & D3DFVF_NORMAL)
        add(1, 3, GL_FLOAT, 12);
    if (a_fvf & D3DFVF_PSIZE)
        offset += 4;  // point size: no input of ours
    if (a_fvf & D3DFVF_DIFFUSE)
        add(2, GL_BGRA, GL_UNSIGNED_BYTE, 4);
    if (a_fvf & D3DFVF_SPECULAR)
        add(3, GL_BGRA, GL_UNSIGNED_BYTE, 4);
    const DWORD sets = (a_fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (sets > 8)
        return false;
    for (DWORD i = 0; i < sets; ++i)
    {
        const GLint floats = g_texcoordFloats[(a_fvf >> (16 + 2 * i)) & 3];
        add(4 + i, floats, GL_FLOAT, UINT(floats) * 4);
    }
    layout.stride = offset;
    *a_layout = layout;
    return true;
}
