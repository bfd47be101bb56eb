// The layer's translation tables: every D3D9 value the system can pass has
// a row, FVF codes give the vertex sizes D3D9 gives them, and primitive
// counts the vertex counts D3D9 documents.
#include "Format.h"
#include "FvfLayout.h"
#include "GlEnums.h"

#include <gtest/gtest.h>

namespace
{

// Each enumeration's documented values all translate; the values just
// outside do not.
TEST(Tables, EveryDocumentedValueHasARow)
{
    struct Range
    {
        const char* name;
        GLenum (*translate)(DWORD);
        DWORD first;
        DWORD last;
    };
    const Range ranges[] = {
        {"D3DCMPFUNC", GlEnums::compare, D3DCMP_NEVER, D3DCMP_ALWAYS},
        {"D3DBLEND", GlEnums::blend, D3DBLEND_ZERO, D3DBLEND_SRCALPHASAT},
        {"D3DBLENDOP", GlEnums::blendOp, D3DBLENDOP_ADD, D3DBLENDOP_MAX},
        {"D3DTEXTUREADDRESS", GlEnums::address, D3DTADDRESS_WRAP, D3DTADDRESS_MIRRORONCE},
        {"D3DPRIMITIVETYPE", GlEnums::primitive, D3DPT_POINTLIST, D3DPT_TRIANGLEFAN},
        {"D3DTEXTUREFILTERTYPE", GlEnums::magFilter, D3DTEXF_NONE, D3DTEXF_ANISOTROPIC},
    };
    for (const Range& range : ranges)
    {
        SCOPED_TRACE(range.name);
        for (DWORD value = range.first; value <= range.last; ++value)
            EXPECT_NE(range.translate(value), GlEnums::None) << value;
        EXPECT_EQ(range.translate(range.last + 1), GlEnums::None);
        if (range.first > 0)
        {
            EXPECT_EQ(range.translate(range.first - 1), GlEnums::None);
        }
    }
    for (DWORD minFilter = D3DTEXF_NONE; minFilter <= D3DTEXF_ANISOTROPIC; ++minFilter)
        for (DWORD mipFilter = D3DTEXF_NONE; mipFilter <= D3DTEXF_LINEAR; ++mipFilter)
            EXPECT_NE(GlEnums::minFilter(minFilter, mipFilter), GlEnums::None);
    EXPECT_EQ(GlEnums::minFilter(D3DTEXF_LINEAR, D3DTEXF_ANISOTROPIC), GlEnums::None);
}

// Vertices per primitive count, as D3D9 documents each primitive type.
TEST(Tables, PrimitiveCountsGiveD3D9VertexCounts)
{
    struct Case
    {
        D3DPRIMITIVETYPE type;
        UINT primitives;
        uint64_t vertices;
    };
    const Case cases[] = {
        {D3DPT_POINTLIST, 5, 5},     {D3DPT_LINELIST, 5, 10},
        {D3DPT_LINESTRIP, 5, 6},     {D3DPT_TRIANGLELIST, 12, 36},
        {D3DPT_TRIANGLESTRIP, 2, 4}, {D3DPT_TRIANGLEFAN, 2, 4},
        {D3DPT_TRIANGLELIST, 0, 0},  {D3DPT_TRIANGLELIST, 0xFFFFFFFF, 0x2FFFFFFFDull},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(testing::Message() << test.type << " x " << test.primitives);
        EXPECT_EQ(GlEnums::vertexCount(test.type, test.primitives), test.vertices);
    }
}

// The vertex formats the system uses have the sizes its buffers give them,
// with their parts at D3D9's offsets.
TEST(Tables, FvfCodesGiveTheSystemsVertexSizes)
{
    struct Case
    {
        const char* name;
        DWORD fvf;
        UINT stride;
        UINT elements;
        bool pretransformed;
    };
    const Case cases[] = {
        {"screen quad: XYZ | TEX1", 0x102, 20, 2, false},
        // TEX4 has sets 0 to 3, so only set 3 takes three floats: 60 bytes
        // of the system's 64-byte mesh vertex.
        {"mesh: XYZ | NORMAL | TEX4 | TEXCOORDSIZE3(3) | TEXCOORDSIZE3(4)", 0x1400412, 60, 6,
         false},
        {"loading bar: XYZRHW | TEX1", 0x104, 24, 2, true},
        {"XYZRHW | DIFFUSE | TEX1", 0x144, 28, 3, true},
        {"XYZ | DIFFUSE | SPECULAR: two D3DCOLORs", D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR,
         20, 3, false},
        {"XYZ | PSIZE | SPECULAR: the point size has no input",
         D3DFVF_XYZ | D3DFVF_PSIZE | D3DFVF_SPECULAR, 20, 2, false},
        {"XYZB1 | TEX1: the weight has no input", D3DFVF_XYZB1 | D3DFVF_TEX1, 24, 2, false},
        {"XYZB5 | LASTBETA_UBYTE4 | NORMAL: four weights and the index bytes",
         D3DFVF_XYZB5 | D3DFVF_LASTBETA_UBYTE4 | D3DFVF_NORMAL, 44, 2, false},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        FvfLayout layout;
        ASSERT_TRUE(FvfLayout::decode(test.fvf, &layout));
        EXPECT_EQ(layout.stride, test.stride);
        EXPECT_EQ(layout.count, test.elements);
        EXPECT_EQ(layout.pretransformed, test.pretransformed);
    }
    FvfLayout mesh;
    ASSERT_TRUE(FvfLayout::decode(0x1400412, &mesh));
    const UINT offsets[6] = {0, 12, 24, 32, 40, 48};  // position, normal, sets 0 to 3
    const GLint floats[6] = {3, 3, 2, 2, 2, 3};
    for (UINT i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(mesh.elements[i].offset, offsets[i]);
        EXPECT_EQ(mesh.elements[i].components, floats[i]);
    }
    FvfLayout refused;
    EXPECT_FALSE(FvfLayout::decode(D3DFVF_XYZ | D3DFVF_LASTBETA_UBYTE4, &refused))
        << "index bytes need weights";
    EXPECT_FALSE(FvfLayout::decode(D3DFVF_XYZB2 | D3DFVF_LASTBETA_UBYTE4 | D3DFVF_LASTBETA_D3DCOLOR,
                                   &refused));
    EXPECT_FALSE(FvfLayout::decode(D3DFVF_NORMAL, &refused)) << "no position";
}

// Each supported format is found by its value, with D3D9's pixel size.
TEST(Tables, FormatsHaveD3D9PixelSizes)
{
    struct Case
    {
        D3DFORMAT format;
        UINT bytes;
    };
    const Case cases[] = {
        {D3DFMT_A8R8G8B8, 4}, {D3DFMT_X8R8G8B8, 4},      {D3DFMT_D24S8, 4},
        {D3DFMT_D24X8, 4},    {D3DFMT_A16B16G16R16F, 8}, {D3DFMT_G32R32F, 8},
        {D3DFMT_L8, 1},       {D3DFMT_G16R16, 4},        {D3DFMT_R16F, 2},
        {D3DFMT_G16R16F, 4},  {D3DFMT_R32F, 4},          {D3DFMT_A32B32G32R32F, 16}};
    UINT count = 0;
    Format::table(&count);
    EXPECT_EQ(count, sizeof(cases) / sizeof(cases[0]));
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.format);
        const Format* format = Format::find(test.format);
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(format->bytesPerPixel, test.bytes);
    }
    EXPECT_EQ(Format::find(D3DFMT_UNKNOWN), nullptr);
    EXPECT_EQ(Format::find(D3DFMT_INDEX16), nullptr);
}

}  // namespace
