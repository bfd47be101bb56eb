// The surface formats the layer supports and their GL equivalents.
#include "Format.h"

namespace
{

// D3D9 names channels from the most significant bit down, so a little-endian
// A8R8G8B8 pixel is the bytes blue, green, red, alpha, and A16B16G16R16F is
// the halves red, green, blue, alpha. Formats without some channels read
// them as 1 in D3D9 (X8R8G8B8's alpha; the blue and alpha of the two-channel
// formats; green, blue and alpha of R16F and R32F), and L8 reads its one
// channel in red, green and blue: the swizzle does both when sampling. X8R8G8B8 is stored without alpha
// so that blending with the destination's alpha reads 1 there too, as GL
// does for targets without alpha, and locks read alpha 255.
const Format g_formats[] = {
    {D3DFMT_A8R8G8B8,
     "A8R8G8B8",
     GL_RGBA8,
     GL_BGRA,
     GL_UNSIGNED_BYTE,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     false},
    {D3DFMT_X8R8G8B8,
     "X8R8G8B8",
     GL_RGB8,
     GL_BGRA,
     GL_UNSIGNED_BYTE,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE},
     false,
     false},
    {D3DFMT_D24S8,
     "D24S8",
     GL_DEPTH24_STENCIL8,
     GL_DEPTH_STENCIL,
     GL_UNSIGNED_INT_24_8,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     true,
     true},
    {D3DFMT_D24X8,
     "D24X8",
     GL_DEPTH_COMPONENT24,
     GL_DEPTH_COMPONENT,
     GL_UNSIGNED_INT,
     4,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     true,
     false},
    {D3DFMT_A16B16G16R16F,
     "A16B16G16R16F",
     GL_RGBA16F,
     GL_RGBA,
     GL_HALF_FLOAT,
     8,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     false},
    {D3DFMT_G32R32F,
     "G32R32F",
     GL_RG32F,
     GL_RG,
     GL_FLOAT,
     8,
     {GL_RED, GL_GREEN, GL_ONE, GL_ONE},
     false,
     false},
    {D3DFMT_L8,
     "L8",
     GL_R8,
     GL_RED,
     GL_UNSIGNED_BYTE,
     1,
     {GL_RED, GL_RED, GL_RED, GL_ONE},
     false,
     false},
    {D3DFMT_G16R16,
     "G16R16",
     GL_RG16,
     GL_RG,
     GL_UNSIGNED_SHORT,
     4,
     {GL_RED, GL_GREEN, GL_ONE, GL_ONE},
     false,
     false},
    {D3DFMT_R16F,
     "R16F",
     GL_R16F,
     GL_RED,
     GL_HALF_FLOAT,
     2,
     {GL_RED, GL_ONE, GL_ONE, GL_ONE},
     false,
     false},
    {D3DFMT_G16R16F,
     "G16R16F",
     GL_RG16F,
     GL_RG,
     GL_HALF_FLOAT,
     4,
     {GL_RED, GL_GREEN, GL_ONE, GL_ONE},
     false,
     false},
    {D3DFMT_R32F,
     "R32F",
     GL_R32F,
     GL_RED,
     GL_FLOAT,
     4,
     {GL_RED, GL_ONE, GL_ONE, GL_ONE},
     false,
     false},
    {D3DFMT_A32B32G32R32F,
     "A32B32G32R32F",
     GL_RGBA32F,
     GL_RGBA,
     GL_FLOAT,
     16,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false,
     false},
};

}  // namespace

const Format* Format::find(D3DFORMAT a_format)
{
    for (const Format& format : g_formats)
        if (format.format == a_format)
            return &format;
    return nullptr;
}

const Format* Format::table(UINT* a_count)
{
    *a_count = sizeof(g_formats) / sizeof(g_formats[0]);
    return g_formats;
}
