// The device's state read back through its Get calls (render, sampler and
// texture stage states with their documented defaults, constant registers,
// textures, capabilities and formats), textures of every pool, the D24S8
// automatic depth-stencil buffer, vertex colours, and the texture stage
// states of pre-transformed draws without shaders.
//
// Untested: stencil testing (no stencil render state is part of the layer).
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{

class State : public testing::Test
{
protected:
    TestDevice m_device{8, 8};
};

const float g_byte = 1.5f / 255.0f;

// A new device reports D3D9's documented default render states, and each
// state reads back what was last set.
TEST_F(State, RenderStatesStartAtTheirDefaultsAndReadBack)
{
    struct Case
    {
        const char* name;
        D3DRENDERSTATETYPE state;
        DWORD initial;
        DWORD set;
    };
    const Case cases[] = {
        {"ZENABLE with an automatic depth buffer", D3DRS_ZENABLE, D3DZB_TRUE, D3DZB_FALSE},
        {"ZWRITEENABLE", D3DRS_ZWRITEENABLE, TRUE, FALSE},
        {"SRCBLEND", D3DRS_SRCBLEND, D3DBLEND_ONE, D3DBLEND_SRCALPHA},
        {"DESTBLEND", D3DRS_DESTBLEND, D3DBLEND_ZERO, D3DBLEND_INVSRCALPHA},
        {"CULLMODE", D3DRS_CULLMODE, D3DCULL_CCW, D3DCULL_NONE},
        {"ZFUNC", D3DRS_ZFUNC, D3DCMP_LESSEQUAL, D3DCMP_GREATER},
        {"ALPHABLENDENABLE", D3DRS_ALPHABLENDENABLE, FALSE, TRUE},
        {"COLORWRITEENABLE", D3DRS_COLORWRITEENABLE, 0xF, D3DCOLORWRITEENABLE_RED},
        {"BLENDOP", D3DRS_BLENDOP, D3DBLENDOP_ADD, D3DBLENDOP_MAX},
        {"SCISSORTESTENABLE", D3DRS_SCISSORTESTENABLE, FALSE, TRUE},
        {"LIGHTING", D3DRS_LIGHTING, TRUE, FALSE},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        DWORD value = 0xDEADBEEF;
        ASSERT_EQ(m_device->GetRenderState(test.state, &value), D3D_OK);
        EXPECT_EQ(value, test.initial);
        ASSERT_EQ(m_device->SetRenderState(test.state, test.set), D3D_OK);
        ASSERT_EQ(m_device->GetRenderState(test.state, &value), D3D_OK);
        EXPECT_EQ(value, test.set);
    }
}

// A render state past the last D3D9 defines is refused.
TEST_F(State, RenderStatesPastTheTableAreRefused)
{
    DWORD value = 0;
    EXPECT_EQ(m_device->GetRenderState(D3DRENDERSTATETYPE(4096), &value), D3DERR_INVALIDCALL);
}

// Sampler states of every sampler start at D3D9's defaults (wrap, point
// filtering, no mip-maps, border 0) and read back what was set.
TEST_F(State, SamplerStatesStartAtTheirDefaultsAndReadBack)
{
    struct Case
    {
        D3DSAMPLERSTATETYPE type;
        DWORD initial;
        DWORD set;
    };
    const Case cases[] = {
        {D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP, D3DTADDRESS_CLAMP},
        {D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP, D3DTADDRESS_MIRROR},
        {D3DSAMP_ADDRESSW, D3DTADDRESS_WRAP, D3DTADDRESS_BORDER},
        {D3DSAMP_BORDERCOLOR, 0, 0xFF102030},
        {D3DSAMP_MAGFILTER, D3DTEXF_POINT, D3DTEXF_LINEAR},
        {D3DSAMP_MINFILTER, D3DTEXF_POINT, D3DTEXF_LINEAR},
        {D3DSAMP_MIPFILTER, D3DTEXF_NONE, D3DTEXF_LINEAR},
    };
    for (DWORD sampler : {0u, 15u})
        for (const Case& test : cases)
        {
            SCOPED_TRACE(testing::Message() << "sampler " << sampler << ", state " << test.type);
            DWORD value = 0xDEADBEEF;
            ASSERT_EQ(m_device->GetSamplerState(sampler, test.type, &value), D3D_OK);
            EXPECT_EQ(value, test.initial);
            ASSERT_EQ(m_device->SetSamplerState(sampler, test.type, test.set), D3D_OK);
            ASSERT_EQ(m_device->GetSamplerState(sampler, test.type, &value), D3D_OK);
            EXPECT_EQ(value, test.set);
        }
}

// Texture stage states start as D3D9 documents (stage 0 modulates texture
// and current colour and selects the texture's alpha; later stages are
// disabled) and read back what was set.
TEST_F(State, TextureStageStatesStartAtTheirDefaultsAndReadBack)
{
    struct Case
    {
        DWORD stage;
        D3DTEXTURESTAGESTATETYPE type;
        DWORD initial;
    };
    const Case cases[] = {
        {0, D3DTSS_COLOROP, D3DTOP_MODULATE}, {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
        {0, D3DTSS_COLORARG2, D3DTA_CURRENT}, {0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
        {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {0, D3DTSS_ALPHAARG2, D3DTA_CURRENT},
        {1, D3DTSS_COLOROP, D3DTOP_DISABLE},  {1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
        {7, D3DTSS_COLOROP, D3DTOP_DISABLE},  {7, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(testing::Message() << "stage " << test.stage << ", state " << test.type);
        DWORD value = 0xDEADBEEF;
        ASSERT_EQ(m_device->GetTextureStageState(test.stage, test.type, &value), D3D_OK);
        EXPECT_EQ(value, test.initial);
        ASSERT_EQ(m_device->SetTextureStageState(test.stage, test.type, D3DTOP_SELECTARG2), D3D_OK);
        ASSERT_EQ(m_device->GetTextureStageState(test.stage, test.type, &value), D3D_OK);
        EXPECT_EQ(value, DWORD(D3DTOP_SELECTARG2));
    }
}

// Sampler 16 and texture stage 8 are past the last of each (the samplers
// s0-s15 of ps_3_0; stages 0-7): they are refused, and refused ones are not
// kept.
TEST_F(State, StagesPastTheLastAreRefused)
{
    DWORD value = 0;
    EXPECT_EQ(m_device->SetSamplerState(16, D3DSAMP_MINFILTER, D3DTEXF_POINT), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetSamplerState(16, D3DSAMP_MINFILTER, &value), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_DISABLE),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetTextureStageState(8, D3DTSS_COLOROP, &value), D3DERR_INVALIDCALL);
    IDirect3DTexture9* texture = m_device.texture(1, 1, {0xFF000000});
    EXPECT_EQ(m_device->SetTexture(16, texture), D3DERR_INVALIDCALL);
    IDirect3DBaseTexture9* bound = nullptr;
    EXPECT_EQ(m_device->GetTexture(16, &bound), D3DERR_INVALIDCALL);
    EXPECT_EQ(bound, nullptr);
    EXPECT_EQ(texture->Release(), 0u) << "a refused texture is not held";
}

// Get calls given nowhere to write, and Set calls given nothing to read,
// are refused.
TEST_F(State, NullPointersAreRefused)
{
    EXPECT_EQ(m_device->GetRenderState(D3DRS_ZENABLE, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetSamplerState(0, D3DSAMP_MINFILTER, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetTextureStageState(0, D3DTSS_COLOROP, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetViewport(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetViewport(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetTexture(0, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetVertexShaderConstantF(0, nullptr, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetVertexShaderConstantF(0, nullptr, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetPixelShaderConstantI(0, nullptr, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetPixelShaderConstantB(0, nullptr, 1), D3DERR_INVALIDCALL);
}

// The six constant register files, each with its Set and Get calls.
struct ConstantFile
{
    const char* name;
    UINT registers;
    UINT width;  // values per register
    std::function<HRESULT(UINT, const void*, UINT)> set;
    std::function<HRESULT(UINT, void*, UINT)> get;
};

std::vector<ConstantFile> constantFiles(IDirect3DDevice9* device)
{
    return {
        {"vertex float", 256, 4,
         [device](UINT a, const void* d, UINT c) {
             return device->SetVertexShaderConstantF(a, static_cast<const float*>(d), c);
         },
         [device](UINT a, void* d, UINT c) {
             return device->GetVertexShaderConstantF(a, static_cast<float*>(d), c);
         }},
        {"pixel float", 224, 4,
         [device](UINT a, const void* d, UINT c) {
             return device->SetPixelShaderConstantF(a, static_cast<const float*>(d), c);
         },
         [device](UINT a, void* d, UINT c) {
             return device->GetPixelShaderConstantF(a, static_cast<float*>(d), c);
         }},
        {"vertex int", 16, 4,
         [device](UINT a, const void* d, UINT c) {
             return device->SetVertexShaderConstantI(a, static_cast<const int*>(d), c);
         },
         [device](UINT a, void* d, UINT c) {
             return device->GetVertexShaderConstantI(a, static_cast<int*>(d), c);
         }},
        {"pixel int", 16, 4,
         [device](UINT a, const void* d, UINT c) {
             return device->SetPixelShaderConstantI(a, static_cast<const int*>(d), c);
         },
         [device](UINT a, void* d, UINT c) {
             return device->GetPixelShaderConstantI(a, static_cast<int*>(d), c);
         }},
        {"vertex bool", 16, 1,
         [device](UINT a, const void* d, UINT c) {
             return device->SetVertexShaderConstantB(a, static_cast<const BOOL*>(d), c);
         },
         [device](UINT a, void* d, UINT c) {
             return device->GetVertexShaderConstantB(a, static_cast<BOOL*>(d), c);
         }},
        {"pixel bool", 16, 1,
         [device](UINT a, const void* d, UINT c) {
             return device->SetPixelShaderConstantB(a, static_cast<const BOOL*>(d), c);
         },
         [device](UINT a, void* d, UINT c) {
             return device->GetPixelShaderConstantB(a, static_cast<BOOL*>(d), c);
         }},
    };
}

// Writes the two registers that end at the last one of a file, with 32-bit
// patterns that are the same whether read as floats, ints or BOOLs, and
// answers what was written.
std::vector<int32_t> fillLastTwo(const ConstantFile& a_file)
{
    std::vector<int32_t> written(2 * a_file.width);
    for (size_t i = 0; i < written.size(); ++i)
        written[i] = int32_t(0x3F800000 + i);
    EXPECT_EQ(a_file.set(a_file.registers - 2, written.data(), 2), D3D_OK);
    return written;
}

// Every kind of constant register reads back what was written, up to the
// last register of its file.
TEST_F(State, ConstantRegistersReadBack)
{
    for (const ConstantFile& file : constantFiles(m_device.device()))
    {
        SCOPED_TRACE(file.name);
        const std::vector<int32_t> written = fillLastTwo(file);
        std::vector<int32_t> read(written.size(), 0);
        ASSERT_EQ(file.get(file.registers - 2, read.data(), 2), D3D_OK);
        EXPECT_EQ(read, written);
    }
}

// A range that runs past the last register of its file is refused, whether
// written or read, and the refused write changes nothing.
void expectRangesPastTheEndRefused(const ConstantFile& a_file)
{
    SCOPED_TRACE(a_file.name);
    const std::vector<int32_t> written = fillLastTwo(a_file);
    const UINT start = a_file.registers - 1;
    std::vector<int32_t> other(2 * a_file.width, 7);
    std::vector<int32_t> read(written.size(), 0);
    EXPECT_EQ(a_file.set(start, other.data(), 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(a_file.get(start, read.data(), 2), D3DERR_INVALIDCALL);
    ASSERT_EQ(a_file.get(start - 1, read.data(), 2), D3D_OK);
    EXPECT_EQ(read, written) << "a refused write changes nothing";
}

TEST_F(State, FloatRangesPastTheLastRegisterAreRefused)
{
    for (const ConstantFile& file : constantFiles(m_device.device()))
        if (file.registers > 16)
            expectRangesPastTheEndRefused(file);
}

TEST_F(State, IntAndBoolRangesPastTheLastRegisterAreRefused)
{
    for (const ConstantFile& file : constantFiles(m_device.device()))
        if (file.registers == 16)
            expectRangesPastTheEndRefused(file);
}

// GetViewport answers the viewport last set, every field as given; a
// viewport D3D9 refuses (empty, past the 8 x 8 target, depth outside 0..1)
// leaves it as it was.
TEST_F(State, ViewportReadsBackAsSet)
{
    const D3DVIEWPORT9 set = {1, 2, 5, 6, 0.25f, 0.75f};
    ASSERT_EQ(m_device->SetViewport(&set), D3D_OK);
    struct Case
    {
        const char* name;
        D3DVIEWPORT9 viewport;
    };
    const Case refused[] = {
        {"past the right edge", {4, 0, 5, 4, 0, 1}},
        {"past the bottom edge", {0, 1, 4, 8, 0, 1}},
        {"MinZ below 0", {0, 0, 4, 4, -0.5f, 1}},
        {"MaxZ above 1", {0, 0, 4, 4, 0, 1.5f}},
    };
    for (const Case& test : refused)
    {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(m_device->SetViewport(&test.viewport), D3DERR_INVALIDCALL);
        D3DVIEWPORT9 viewport = {};
        ASSERT_EQ(m_device->GetViewport(&viewport), D3D_OK);
        EXPECT_EQ(viewport.X, set.X);
        EXPECT_EQ(viewport.Y, set.Y);
        EXPECT_EQ(viewport.Width, set.Width);
        EXPECT_EQ(viewport.Height, set.Height);
        EXPECT_EQ(viewport.MinZ, set.MinZ);
        EXPECT_EQ(viewport.MaxZ, set.MaxZ);
    }
}

// An empty viewport lies inside the target: it is kept, and a clear or a
// draw inside it changes no pixel.
TEST_F(State, EmptyViewportClearsAndDrawsNothing)
{
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0), D3D_OK);
    const std::vector<DWORD> before = m_device.readArgb(back);
    struct Case
    {
        const char* name;
        D3DVIEWPORT9 viewport;
    };
    const Case cases[] = {
        {"no width", {2, 2, 0, 4, 0, 1}},
        {"no height", {2, 2, 4, 0, 0, 1}},
        {"no width at the right edge", {8, 0, 0, 8, 0, 1}},
    };
    const float red[4] = {1, 0, 0, 1};
    struct Vertex
    {
        float x, y, z;
    };
    const Vertex quad[4] = {{-1, 1, 0.5f}, {1, 1, 0.5f}, {-1, -1, 0.5f}, {1, -1, 0.5f}};
    IDirect3DVertexBuffer9* buffer =
        m_device.bindVertices(quad, sizeof(quad), sizeof(Vertex), D3DFVF_XYZ);
    IDirect3DVertexShader9* vertexShader = m_device.vertexShader(TestDevice::g_passVertexShader);
    IDirect3DPixelShader9* pixelShader = m_device.pixelShader("ps_3_0\nmov oC0, c0\n");
    m_device->SetVertexShader(vertexShader);
    m_device->SetPixelShader(pixelShader);
    m_device->SetPixelShaderConstantF(0, red, 1);
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        ASSERT_EQ(m_device->SetViewport(&test.viewport), D3D_OK);
        D3DVIEWPORT9 viewport = {};
        ASSERT_EQ(m_device->GetViewport(&viewport), D3D_OK);
        EXPECT_EQ(viewport.Width, test.viewport.Width);
        EXPECT_EQ(viewport.Height, test.viewport.Height);
        EXPECT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0), D3D_OK);
        EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        EXPECT_EQ(m_device.readArgb(back), before);
    }
    m_device->SetVertexShader(nullptr);
    m_device->SetPixelShader(nullptr);
    m_device->SetStreamSource(0, nullptr, 0, 0);
    for (IUnknown* object :
         std::initializer_list<IUnknown*>{buffer, vertexShader, pixelShader, back})
        object->Release();
}

// GetTexture answers the texture bound to a stage, with a reference, or null.
TEST_F(State, GetTextureAnswersWhatIsBound)
{
    IDirect3DBaseTexture9* bound = reinterpret_cast<IDirect3DBaseTexture9*>(this);
    ASSERT_EQ(m_device->GetTexture(3, &bound), D3D_OK);
    EXPECT_EQ(bound, nullptr);
    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(
        m_device->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr),
        D3D_OK);
    ASSERT_EQ(m_device->SetTexture(3, cube), D3D_OK);
    ASSERT_EQ(m_device->GetTexture(3, &bound), D3D_OK);
    EXPECT_EQ(bound, static_cast<IDirect3DBaseTexture9*>(cube));
    EXPECT_EQ(bound->GetType(), D3DRTYPE_CUBETEXTURE);
    bound->Release();
    m_device->SetTexture(3, nullptr);
    EXPECT_EQ(cube->Release(), 0u);
}

// CheckDeviceFormat answers D3D_OK for what the device can create and
// D3DERR_NOTAVAILABLE for the rest, against the display format X8R8G8B8.
TEST_F(State, CheckDeviceFormatAgreesWithCreation)
{
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    struct Case
    {
        const char* name;
        DWORD usage;
        D3DRESOURCETYPE type;
        D3DFORMAT format;
        HRESULT expected;
    };
    const Case cases[] = {
        {"A8R8G8B8 texture", 0, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8, D3D_OK},
        {"X8R8G8B8 render target", D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE, D3DFMT_X8R8G8B8,
         D3D_OK},
        {"A16B16G16R16F render-target texture", D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE,
         D3DFMT_A16B16G16R16F, D3D_OK},
        {"G32R32F render-target cube", D3DUSAGE_RENDERTARGET, D3DRTYPE_CUBETEXTURE, D3DFMT_G32R32F,
         D3D_OK},
        {"automatic mip-maps", D3DUSAGE_AUTOGENMIPMAP, D3DRTYPE_TEXTURE, D3DFMT_A8R8G8B8, D3D_OK},
        {"D24S8 depth-stencil", D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D24S8, D3D_OK},
        {"D24X8 depth-stencil", D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D24X8, D3D_OK},
        {"D24S8 as a render target", D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE, D3DFMT_D24S8,
         D3DERR_NOTAVAILABLE},
        {"A8R8G8B8 as depth-stencil", D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_A8R8G8B8,
         D3DERR_NOTAVAILABLE},
        {"unknown format", 0, D3DRTYPE_TEXTURE, D3DFMT_UNKNOWN, D3DERR_NOTAVAILABLE},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                         test.usage, test.type, test.format),
                  test.expected);
    }
    EXPECT_EQ(d3d->CheckDeviceFormat(1, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, D3DRTYPE_TEXTURE,
                                     D3DFMT_A8R8G8B8),
              D3DERR_INVALIDCALL);
    d3d->Release();
}

// The layer makes no volume textures, and says so.
TEST_F(State, CheckDeviceFormatOffersNoVolumeTextures)
{
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    EXPECT_EQ(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0,
                                     D3DRTYPE_VOLUMETEXTURE, D3DFMT_A8R8G8B8),
              D3DERR_NOTAVAILABLE);
    d3d->Release();
}

// An index format is no texture format: the device can make no texture of
// it, and CheckDeviceFormat says so.
TEST_F(State, CheckDeviceFormatRefusesIndexFormatsForTextures)
{
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    for (D3DFORMAT format : {D3DFMT_INDEX16, D3DFMT_INDEX32})
    {
        SCOPED_TRACE(testing::Message() << "format " << format);
        EXPECT_EQ(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0,
                                         D3DRTYPE_TEXTURE, format),
                  D3DERR_NOTAVAILABLE);
        IDirect3DTexture9* texture = nullptr;
        EXPECT_NE(m_device->CreateTexture(4, 4, 1, 0, format, D3DPOOL_MANAGED, &texture, nullptr),
                  D3D_OK);
        if (texture)
            texture->Release();
    }
    d3d->Release();
}

// Textures of every pool lock, keep what was written and describe their
// pool; the device samples default and managed textures, never scratch
// ones, and managed textures cannot be dynamic.
TEST_F(State, TexturesOfEveryPool)
{
    struct Case
    {
        const char* name;
        D3DPOOL pool;
        DWORD usage;         // the default pool locks only dynamic textures
        HRESULT setTexture;  // system memory and scratch: see the tests after this one
    };
    const Case cases[] = {
        {"default", D3DPOOL_DEFAULT, D3DUSAGE_DYNAMIC, D3D_OK},
        {"managed", D3DPOOL_MANAGED, 0, D3D_OK},
        {"system memory", D3DPOOL_SYSTEMMEM, 0, D3D_OK /* unchecked */},
        {"scratch", D3DPOOL_SCRATCH, 0, D3D_OK /* unchecked */},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(m_device->CreateTexture(4, 4, 1, test.usage, D3DFMT_A8R8G8B8, test.pool, &texture,
                                          nullptr),
                  D3D_OK);
        D3DSURFACE_DESC desc = {};
        ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Pool, test.pool);
        D3DLOCKED_RECT locked = {};
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        for (DWORD i = 0; i < 16; ++i)
            static_cast<DWORD*>(locked.pBits)[i] = 0x01020304 * (i + 1);
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        EXPECT_EQ(static_cast<DWORD*>(locked.pBits)[9], 0x01020304u * 10);
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
        if (test.pool != D3DPOOL_SYSTEMMEM && test.pool != D3DPOOL_SCRATCH)
        {
            EXPECT_EQ(m_device->SetTexture(0, texture), test.setTexture);
        }
        m_device->SetTexture(0, nullptr);
        texture->Release();
    }
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(m_device->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                      &texture, nullptr),
              D3DERR_INVALIDCALL);
}

// A scratch texture never goes on a stage.
TEST_F(State, ScratchTexturesNeverGoOnStages)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        m_device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH, &texture, nullptr),
        D3D_OK);
    EXPECT_EQ(m_device->SetTexture(0, texture), D3DERR_INVALIDCALL);
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(m_device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, nullptr);
    EXPECT_EQ(texture->Release(), 0u);
}

// A system-memory texture goes on a stage only on a device that reports
// D3DDEVCAPS_TEXTURESYSTEMMEMORY.
TEST_F(State, SystemMemoryTexturesGoOnStagesOnlyWhereTheCapsSaySo)
{
    D3DCAPS9 caps = {};
    ASSERT_EQ(m_device->GetDeviceCaps(&caps), D3D_OK);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        m_device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &texture, nullptr),
        D3D_OK);
    EXPECT_EQ(m_device->SetTexture(0, texture),
              (caps.DevCaps & D3DDEVCAPS_TEXTURESYSTEMMEMORY) ? D3D_OK : D3DERR_INVALIDCALL);
    m_device->SetTexture(0, nullptr);
    EXPECT_EQ(texture->Release(), 0u);
}

// A pre-transformed vertex in the layout D3D9 draws with no shaders.
struct ScreenVertex
{
    float x, y, z, rhw;
    DWORD diffuse;
    float u, v;
};

// The screen rectangle of a 4 x 4 target at depth a_z, of one colour.
IDirect3DVertexBuffer9* bindScreenQuad(TestDevice& a_device, float a_z, DWORD a_diffuse)
{
    const ScreenVertex corners[4] = {{-0.5f, -0.5f, a_z, 1, a_diffuse, 0, 0},
                                     {3.5f, -0.5f, a_z, 1, a_diffuse, 1, 0},
                                     {-0.5f, 3.5f, a_z, 1, a_diffuse, 0, 1},
                                     {3.5f, 3.5f, a_z, 1, a_diffuse, 1, 1}};
    return a_device.bindVertices(corners, sizeof(corners), sizeof(ScreenVertex),
                                 D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
}

// A device asked for a D24S8 automatic depth-stencil buffer has one: it
// clears depth and stencil, and depth-tests draws.
TEST(DepthStencil, AutomaticD24S8BufferClearsAndTests)
{
    TestDevice device(4, 4, D3DFMT_X8R8G8B8, D3DFMT_D24S8);
    ASSERT_NE(device.device(), nullptr);
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device->GetDepthStencilSurface(&depth), D3D_OK);
    D3DSURFACE_DESC desc = {};
    ASSERT_EQ(depth->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_D24S8);
    EXPECT_EQ(desc.Usage, DWORD(D3DUSAGE_DEPTHSTENCIL));
    EXPECT_EQ(desc.Width, 4u);
    depth->Release();
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL,
                            0xFF000000, 0.5f, 0x80),
              D3D_OK);
    struct Case
    {
        const char* name;
        float z;
        DWORD colour;
        DWORD expected;
    };
    const Case cases[] = {
        {"behind the cleared depth", 0.75f, 0xFFFF0000, 0x000000},
        {"in front of it", 0.25f, 0xFF00FF00, 0x00FF00},
        {"behind the drawn quad", 0.5f, 0xFF0000FF, 0x00FF00},
    };
    IDirect3DSurface9* back = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        IDirect3DVertexBuffer9* quad = bindScreenQuad(device, test.z, test.colour);
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        EXPECT_EQ(device.readArgb(back)[5] & 0xFFFFFF, test.expected);
        device->SetStreamSource(0, nullptr, 0, 0);
        quad->Release();
    }
    back->Release();
}

// D3DFVF_DIFFUSE and D3DFVF_SPECULAR are D3DCOLORs, blue first in memory,
// that reach a vertex shader's COLOR0 and COLOR1 inputs as (r, g, b, a).
TEST_F(State, VertexColoursReachShadersAsRgba)
{
    struct Vertex
    {
        float x, y, z;
        DWORD diffuse;
        DWORD specular;
    };
    const DWORD diffuse = 0x80FF4020;
    const DWORD specular = 0x10203040;
    const Vertex quad[4] = {{-1, 1, 0, diffuse, specular},
                            {1, 1, 0, diffuse, specular},
                            {-1, -1, 0, diffuse, specular},
                            {1, -1, 0, diffuse, specular}};
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&quad[0].diffuse);
    ASSERT_EQ(bytes[0], 0x20) << "blue comes first in memory";
    IDirect3DSurface9* targets[2] = {};
    IDirect3DTexture9* textures[2] = {};
    for (DWORD i = 0; i < 2; ++i)
    {
        textures[i] = m_device.target(4, 4, D3DFMT_A16B16G16R16F, &targets[i]);
        ASSERT_EQ(m_device->SetRenderTarget(i, targets[i]), D3D_OK);
    }
    IDirect3DVertexBuffer9* buffer = m_device.bindVertices(
        quad, sizeof(quad), sizeof(Vertex), D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_SPECULAR);
    IDirect3DVertexShader9* vertexShader = m_device.vertexShader("vs_3_0\n"
                                                                 "dcl_position v0\n"
                                                                 "dcl_color0 v1\n"
                                                                 "dcl_color1 v2\n"
                                                                 "dcl_position o0\n"
                                                                 "dcl_color0 o1\n"
                                                                 "dcl_color1 o2\n"
                                                                 "mov o0, v0\n"
                                                                 "mov o1, v1\n"
                                                                 "mov o2, v2\n");
    IDirect3DPixelShader9* pixelShader = m_device.pixelShader("ps_3_0\n"
                                                              "dcl_color0 v0\n"
                                                              "dcl_color1 v1\n"
                                                              "mov oC0, v0\n"
                                                              "mov oC1, v1\n");
    m_device->SetVertexShader(vertexShader);
    m_device->SetPixelShader(pixelShader);
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    ASSERT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    expectNear(m_device.readRgba(targets[0])[5], argb(diffuse), 0.002f);
    expectNear(m_device.readRgba(targets[1])[5], argb(specular), 0.002f);

    IDirect3DSurface9* back = nullptr;
    m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    m_device->SetRenderTarget(0, back);
    m_device->SetRenderTarget(1, nullptr);
    back->Release();
    m_device->SetVertexShader(nullptr);
    m_device->SetPixelShader(nullptr);
    m_device->SetStreamSource(0, nullptr, 0, 0);
    for (IUnknown* object : std::initializer_list<IUnknown*>{
             buffer, vertexShader, pixelShader, targets[0], targets[1], textures[0], textures[1]})
        object->Release();
}

// Stage 0's colour and alpha operations combine the texture and the
// diffuse colour of a pre-transformed draw as D3D9 documents: SELECTARG1,
// SELECTARG2, MODULATE of D3DTA_TEXTURE, D3DTA_DIFFUSE or D3DTA_CURRENT
// (the diffuse colour in stage 0); D3DTOP_DISABLE passes the diffuse colour
// on; with no texture bound, the stage drops its texture argument and gives
// the other one.
TEST_F(State, TextureStageOperationsCombineTextureAndDiffuse)
{
    const DWORD texel = 0x80FF8040;
    const DWORD diffuse = 0x40408080;
    const Rgba t = argb(texel);
    const Rgba d = argb(diffuse);
    const Rgba td = {t.r * d.r, t.g * d.g, t.b * d.b, t.a * d.a};
    struct Case
    {
        const char* name;
        DWORD colour[3];  // operation, argument 1, argument 2
        DWORD alpha[3];
        bool textured;
        Rgba expectedColour;  // its alpha unused
        float expectedAlpha;
    };
    const Case cases[] = {
        {"defaults: modulate colour, texture alpha",
         {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT},
         {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT},
         true,
         td,
         t.a},
        {"select texture",
         {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
         {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
         true,
         t,
         t.a},
        {"select diffuse as argument 2",
         {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE},
         {D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE},
         true,
         d,
         d.a},
        {"current is diffuse in stage 0",
         {D3DTOP_SELECTARG1, D3DTA_CURRENT, D3DTA_TEXTURE},
         {D3DTOP_SELECTARG1, D3DTA_CURRENT, D3DTA_TEXTURE},
         true,
         d,
         d.a},
        {"modulate alpha",
         {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_DIFFUSE},
         {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE},
         true,
         t,
         td.a},
        {"colour off passes diffuse on",
         {D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_CURRENT},
         {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT},
         true,
         d,
         d.a},
        {"no texture: modulate gives the other argument",
         {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_CURRENT},
         {D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TEXTURE},
         false,
         d,
         d.a},
        {"no texture: select texture is diffuse",
         {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT},
         {D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_CURRENT},
         false,
         d,
         d.a},
    };
    IDirect3DSurface9* target = nullptr;
    IDirect3DTexture9* targetTexture = m_device.target(4, 4, D3DFMT_A8R8G8B8, &target);
    ASSERT_EQ(m_device->SetRenderTarget(0, target), D3D_OK);
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    IDirect3DTexture9* texture = m_device.texture(1, 1, {texel});
    IDirect3DVertexBuffer9* quad = bindScreenQuad(m_device, 0.0f, diffuse);
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        for (DWORD i = 0; i < 3; ++i)
        {
            m_device->SetTextureStageState(0, D3DTEXTURESTAGESTATETYPE(D3DTSS_COLOROP + i),
                                           test.colour[i]);
            m_device->SetTextureStageState(0, D3DTEXTURESTAGESTATETYPE(D3DTSS_ALPHAOP + i),
                                           test.alpha[i]);
        }
        m_device->SetTexture(0, test.textured ? texture : nullptr);
        m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        ASSERT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        expectNear(m_device.readRgba(target)[5],
                   Rgba{test.expectedColour.r, test.expectedColour.g, test.expectedColour.b,
                        test.expectedAlpha},
                   g_byte);
    }
    m_device->SetTexture(0, nullptr);
    m_device->SetStreamSource(0, nullptr, 0, 0);
    IDirect3DSurface9* back = nullptr;
    m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    m_device->SetRenderTarget(0, back);
    back->Release();
    for (IUnknown* object : std::initializer_list<IUnknown*>{quad, texture, target, targetTexture})
        object->Release();
}

// The layer blends stage 0 alone: a draw that needs a second stage is
// refused rather than drawn wrong.
TEST_F(State, DrawsNeedingASecondTextureStageAreRefused)
{
    IDirect3DVertexBuffer9* quad = bindScreenQuad(m_device, 0.0f, 0xFF808080);
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    ASSERT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    m_device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE);
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3DERR_INVALIDCALL);
    m_device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    m_device->SetStreamSource(0, nullptr, 0, 0);
    quad->Release();
}

}  // namespace
