// D3D9 enumerations translated to GL by tables indexed by the D3D9 value.
#include "GlEnums.h"

namespace
{

template <size_t N>
GLenum lookUp(const GLenum (&a_table)[N], DWORD a_value)
{
    return a_value < N ? a_table[a_value] : GlEnums::None;
}

const GLenum g_compare[] = {
    GlEnums::None,  // 0
    GL_NEVER,       // D3DCMP_NEVER
    GL_LESS,        // D3DCMP_LESS
    GL_EQUAL,       // D3DCMP_EQUAL
    GL_LEQUAL,      // D3DCMP_LESSEQUAL
    GL_GREATER,     // D3DCMP_GREATER
    GL_NOTEQUAL,    // D3DCMP_NOTEQUAL
    GL_GEQUAL,      // D3DCMP_GREATEREQUAL
    GL_ALWAYS,      // D3DCMP_ALWAYS
};

const GLenum g_blend[] = {
    GlEnums::None,           // 0
    GL_ZERO,                 // D3DBLEND_ZERO
    GL_ONE,                  // D3DBLEND_ONE
    GL_SRC_COLOR,            // D3DBLEND_SRCCOLOR
    GL_ONE_MINUS_SRC_COLOR,  // D3DBLEND_INVSRCCOLOR
    GL_SRC_ALPHA,            // D3DBLEND_SRCALPHA
    GL_ONE_MINUS_SRC_ALPHA,  // D3DBLEND_INVSRCALPHA
    GL_DST_ALPHA,            // D3DBLEND_DESTALPHA
    GL_ONE_MINUS_DST_ALPHA,  // D3DBLEND_INVDESTALPHA
    GL_DST_COLOR,            // D3DBLEND_DESTCOLOR
    GL_ONE_MINUS_DST_COLOR,  // D3DBLEND_INVDESTCOLOR
    GL_SRC_ALPHA_SATURATE,   // D3DBLEND_SRCALPHASAT
};

const GLenum g_blendOp[] = {
    GlEnums::None,             // 0
    GL_FUNC_ADD,               // D3DBLENDOP_ADD
    GL_FUNC_SUBTRACT,          // D3DBLENDOP_SUBTRACT
    GL_FUNC_REVERSE_SUBTRACT,  // D3DBLENDOP_REVSUBTRACT
    GL_MIN,                    // D3DBLENDOP_MIN
    GL_MAX,                    // D3DBLENDOP_MAX
};

const GLenum g_address[] = {
    GlEnums::None,            // 0
    GL_REPEAT,                // D3DTADDRESS_WRAP
    GL_MIRRORED_REPEAT,       // D3DTADDRESS_MIRROR
    GL_CLAMP_TO_EDGE,         // D3DTADDRESS_CLAMP
    GL_CLAMP_TO_BORDER,       // D3DTADDRESS_BORDER
    GL_MIRROR_CLAMP_TO_EDGE,  // D3DTADDRESS_MIRRORONCE
};

const GLenum g_primitive[] = {
    GlEnums::None,      // 0
    GL_POINTS,          // D3DPT_POINTLIST
    GL_LINES,           // D3DPT_LINELIST
    GL_LINE_STRIP,      // D3DPT_LINESTRIP
    GL_TRIANGLES,       // D3DPT_TRIANGLELIST
    GL_TRIANGLE_STRIP,  // D3DPT_TRIANGLESTRIP
    GL_TRIANGLE_FAN,    // D3DPT_TRIANGLEFAN
};

// Rows: D3DSAMP_MINFILTER (none, point, linear, anisotropic); columns:
// D3DSAMP_MIPFILTER (none, point, linear). Anisotropic filtering is linear here.
const GLenum g_minFilter[4][3] = {
    {GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST_MIPMAP_LINEAR},  // D3DTEXF_NONE
    {GL_NEAREST, GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST_MIPMAP_LINEAR},  // D3DTEXF_POINT
    {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_LINEAR},     // D3DTEXF_LINEAR
    {GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_LINEAR},     // D3DTEXF_ANISOTROPIC
};

const GLenum g_magFilter[] = {
    GL_NEAREST,  // D3DTEXF_NONE
    GL_NEAREST,  // D3DTEXF_POINT
    GL_LINEAR,   // D3DTEXF_LINEAR
    GL_LINEAR,   // D3DTEXF_ANISOTROPIC
};

}  // namespace

GLenum GlEnums::compare(DWORD a_d3dCmpFunc)
{
    return lookUp(g_compare, a_d3dCmpFunc);
}
GLenum GlEnums::blend(DWORD a_d3dBlend)
{
    return lookUp(g_blend, a_d3dBlend);
}
GLenum GlEnums::blendOp(DWORD a_d3dBlendOp)
{
    return lookUp(g_blendOp, a_d3dBlendOp);
}
GLenum GlEnums::address(DWORD a_d3dAddress)
{
    return lookUp(g_address, a_d3dAddress);
}
GLenum GlEnums::primitive(DWORD a_d3dPrimitive)
{
    return lookUp(g_primitive, a_d3dPrimitive);
}
GLenum GlEnums::magFilter(DWORD a_d3dMagFilter)
{
    return lookUp(g_magFilter, a_d3dMagFilter);
}

GLenum GlEnums::minFilter(DWORD a_d3dMinFilter, DWORD a_d3dMipFilter)
{
    if (a_d3dMinFilter >= 4 || a_d3dMipFilter >= 3)
        return None;
    return g_minFilter[a_d3dMinFilter][a_d3dMipFilter];
}

uint64_t GlEnums::vertexCount(DWORD a_d3dPrimitiveType, UINT a_primitiveCount)
{
    if (a_primitiveCount == 0)
        return 0;
    switch (a_d3dPrimitiveType)
    {
    case D3DPT_POINTLIST:
        return a_primitiveCount;
    case D3DPT_LINELIST:
        return uint64_t(a_primitiveCount) * 2;
    case D3DPT_LINESTRIP:
        return uint64_t(a_primitiveCount) + 1;
    case D3DPT_TRIANGLELIST:
        return uint64_t(a_primitiveCount) * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        return uint64_t(a_primitiveCount) + 2;
    default:
        return 0;
    }
}

void GlEnums::color(D3DCOLOR a_color, float a_rgba[4])
{
    a_rgba[0] = float((a_color >> 16) & 0xFF) / 255.0f;
    a_rgba[1] = float((a_color >> 8) & 0xFF) / 255.0f;
    a_rgba[2] = float(a_color & 0xFF) / 255.0f;
    a_rgba[3] = float((a_color >> 24) & 0xFF) / 255.0f;
}
