// Wrong calls get D3D9's answer, D3DERR_INVALIDCALL, and change nothing; none
// crashes. Calls the runtime takes although they do nothing (an unlock with
// no lock, a draw of nothing) answer D3D_OK and draw nothing.
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <ctype.h>
#include <string.h>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace
{

// The objects the wrong calls are made with.
struct Kit
{
    explicit Kit(TestDevice& a_device) : device(a_device)
    {
        a_device->CreateTexture(8, 8, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr);
        targetTexture = a_device.target(8, 8, D3DFMT_A8R8G8B8, &target);
        texture->GetSurfaceLevel(0, &plainSurface);
        a_device->CreateCubeTexture(4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &cube, nullptr);
        a_device->GetDepthStencilSurface(&depth);
        a_device->CreateVertexBuffer(80, D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vertices,
                                     nullptr);
        // The screen quad, so that a draw that should draw nothing would show.
        void* quad = nullptr;
        vertices->Lock(0, 0, &quad, 0);
        memcpy(quad, TestDevice::g_quad, sizeof(TestDevice::g_quad));
        vertices->Unlock();
        a_device->CreateIndexBuffer(12, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT,
                                    &indices, nullptr);
        void* data = nullptr;
        indices->Lock(0, 0, &data, 0);
        const uint16_t values[6] = {0, 1, 2, 2, 1, 7};  // 7: past a 4-vertex stream
        memcpy(data, values, sizeof(values));
        indices->Unlock();
        vertexShader = a_device.vertexShader(TestDevice::g_passVertexShader);
        pixelShader = a_device.pixelShader("ps_3_0\nmov oC0, c0\n");
        pixelTokens = a_device.assemble("ps_3_0\nmov oC0, c0\n");
        vertexTokens = a_device.assemble(TestDevice::g_passVertexShader);
    }

    ~Kit()
    {
        device->SetStreamSource(0, nullptr, 0, 0);
        device->SetIndices(nullptr);
        device->SetVertexShader(nullptr);
        device->SetPixelShader(nullptr);
        device->SetDepthStencilSurface(depth);
        for (IUnknown* object :
             std::initializer_list<IUnknown*>{texture, targetTexture, target, plainSurface, cube,
                                              depth, vertices, indices, vertexShader, pixelShader})
            object->Release();
    }

    TestDevice& device;
    IDirect3DTexture9* texture = nullptr;
    IDirect3DTexture9* targetTexture = nullptr;
    IDirect3DSurface9* target = nullptr;
    IDirect3DSurface9* plainSurface = nullptr;
    IDirect3DCubeTexture9* cube = nullptr;
    IDirect3DSurface9* depth = nullptr;
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    IDirect3DVertexShader9* vertexShader = nullptr;
    IDirect3DPixelShader9* pixelShader = nullptr;
    std::vector<DWORD> pixelTokens;
    std::vector<DWORD> vertexTokens;
    D3DLOCKED_RECT locked = {};
};

struct Case
{
    const char* name;
    std::function<HRESULT(Kit&)> call;
};

// A ready draw of four 20-byte XYZ | TEX1 vertices with both shaders.
void readyToDraw(Kit& a_kit)
{
    a_kit.device->SetStreamSource(0, a_kit.vertices, 0, 20);
    a_kit.device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    a_kit.device->SetVertexShader(a_kit.vertexShader);
    a_kit.device->SetPixelShader(a_kit.pixelShader);
}

std::vector<Case> cases()
{
    return {
        // Shaders
        {"pixel shader tokens to CreateVertexShader",
         [](Kit& a) {
             IDirect3DVertexShader9* shader = nullptr;
             return a.device->CreateVertexShader(a.pixelTokens.data(), &shader);
         }},
        {"vertex shader tokens to CreatePixelShader",
         [](Kit& a) {
             IDirect3DPixelShader9* shader = nullptr;
             return a.device->CreatePixelShader(a.vertexTokens.data(), &shader);
         }},
        // Textures and locks
        {"lock of a missing level",
         [](Kit& a) {
             return a.texture->LockRect(2, &a.locked, nullptr, 0);
         }},
        {"unlock of a cube face not locked",
         [](Kit& a) {
             return a.cube->UnlockRect(D3DCUBEMAP_FACE_NEGATIVE_Z, 0);
         }},
        {"second lock of a locked level",
         [](Kit& a) {
             a.texture->LockRect(1, &a.locked, nullptr, 0);
             const HRESULT result = a.texture->LockRect(1, &a.locked, nullptr, 0);
             a.texture->UnlockRect(1);
             return result;
         }},
        {"lock of a rectangle past the level",
         [](Kit& a) {
             const RECT rect = {4, 4, 9, 8};
             return a.texture->LockRect(0, &a.locked, &rect, 0);
         }},
        {"lock of a render target",
         [](Kit& a) {
             return a.targetTexture->LockRect(0, &a.locked, nullptr, 0);
         }},
        {"lock of the depth buffer",
         [](Kit& a) {
             return a.depth->LockRect(&a.locked, nullptr, 0);
         }},
        {"surface of a missing level",
         [](Kit& a) {
             IDirect3DSurface9* surface = nullptr;
             return a.texture->GetSurfaceLevel(5, &surface);
         }},
        {"cube face past the sixth",
         [](Kit& a) {
             IDirect3DSurface9* surface = nullptr;
             return a.cube->GetCubeMapSurface(D3DCUBEMAP_FACES(6), 0, &surface);
         }},
        {"texture of an unsupported format",
         [](Kit& a) {
             IDirect3DTexture9* texture = nullptr;
             return a.device->CreateTexture(4, 4, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, &texture,
                                            nullptr);
         }},
        {"texture of no size",
         [](Kit& a) {
             IDirect3DTexture9* texture = nullptr;
             return a.device->CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture,
                                            nullptr);
         }},
        {"more levels than the chain",
         [](Kit& a) {
             IDirect3DTexture9* texture = nullptr;
             return a.device->CreateTexture(4, 4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture,
                                            nullptr);
         }},
        {"automatic mip-maps with levels",
         [](Kit& a) {
             IDirect3DTexture9* texture = nullptr;
             return a.device->CreateTexture(4, 4, 2, D3DUSAGE_AUTOGENMIPMAP, D3DFMT_A8R8G8B8,
                                            D3DPOOL_DEFAULT, &texture, nullptr);
         }},
        {"render target outside the default pool",
         [](Kit& a) {
             IDirect3DTexture9* texture = nullptr;
             return a.device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                            D3DPOOL_MANAGED, &texture, nullptr);
         }},
        {"depth format as a colour texture",
         [](Kit& a) {
             IDirect3DTexture9* texture = nullptr;
             return a.device->CreateTexture(4, 4, 1, 0, D3DFMT_D24X8, D3DPOOL_DEFAULT, &texture,
                                            nullptr);
         }},
        // Targets
        {"no colour target 0",
         [](Kit& a) {
             return a.device->SetRenderTarget(0, nullptr);
         }},
        {"colour target 4",
         [](Kit& a) {
             return a.device->SetRenderTarget(4, a.target);
         }},
        {"plain texture as a colour target",
         [](Kit& a) {
             return a.device->SetRenderTarget(1, a.plainSurface);
         }},
        {"colour surface as the depth buffer",
         [](Kit& a) {
             return a.device->SetDepthStencilSurface(a.target);
         }},
        {"viewport past the target",
         [](Kit& a) {
             const D3DVIEWPORT9 viewport = {8, 0, 60, 16, 0.0f, 1.0f};
             return a.device->SetViewport(&viewport);
         }},
        // Clear
        {"clearing a depth buffer there is none of",
         [](Kit& a) {
             a.device->SetDepthStencilSurface(nullptr);
             const HRESULT result = a.device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
             a.device->SetDepthStencilSurface(a.depth);
             return result;
         }},
        {"clearing a stencil D24X8 does not have",
         [](Kit& a) {
             return a.device->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0);
         }},
        {"depth above 1",
         [](Kit& a) {
             return a.device->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.5f, 0);
         }},
        // States
        {"render state past the table",
         [](Kit& a) {
             return a.device->SetRenderState(D3DRENDERSTATETYPE(4096), 0);
         }},
        {"stream 1",
         [](Kit& a) {
             return a.device->SetStreamSource(1, a.vertices, 0, 20);
         }},
        // Draws
        {"draw past the vertices",
         [](Kit& a) {
             readyToDraw(a);
             return a.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 1, 2);
         }},
        {"draw with a vertex shader and no pixel shader",
         [](Kit& a) {
             readyToDraw(a);
             a.device->SetPixelShader(nullptr);
             return a.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
         }},
        {"draw with no shaders and untransformed vertices",
         [](Kit& a) {
             readyToDraw(a);
             a.device->SetVertexShader(nullptr);
             a.device->SetPixelShader(nullptr);
             return a.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
         }},
        {"stride shorter than the FVF's vertex",
         [](Kit& a) {
             readyToDraw(a);
             a.device->SetStreamSource(0, a.vertices, 0, 12);
             return a.device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
         }},
        {"indexed draw with no indices",
         [](Kit& a) {
             readyToDraw(a);
             return a.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1);
         }},
        {"indexed draw past the indices",
         [](Kit& a) {
             readyToDraw(a);
             a.device->SetIndices(a.indices);
             return a.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 3, 2);
         }},
        {"index past the vertices",
         [](Kit& a) {
             readyToDraw(a);
             a.device->SetIndices(a.indices);
             return a.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 3, 1);
         }},
        {"base vertex pushing indices past the vertices",
         [](Kit& a) {
             readyToDraw(a);
             a.device->SetIndices(a.indices);
             return a.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 2, 0, 3, 0, 1);
         }},
        // Buffers
        {"buffer lock past the end",
         [](Kit& a) {
             void* data = nullptr;
             return a.vertices->Lock(60, 24, &data, 0);
         }},
        {"index buffer of a colour format",
         [](Kit& a) {
             IDirect3DIndexBuffer9* buffer = nullptr;
             return a.device->CreateIndexBuffer(12, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &buffer,
                                                nullptr);
         }},
    };
}

// Calls the runtime answers D3D_OK although they have nothing to do.
std::vector<Case> takenCases()
{
    return {
        {"unlock of a level not locked",
         [](Kit& a) {
             return a.texture->UnlockRect(0);
         }},
        {"vertex buffer unlock without a lock",
         [](Kit& a) {
             return a.vertices->Unlock();
         }},
        {"index buffer unlock without a lock",
         [](Kit& a) {
             return a.indices->Unlock();
         }},
        {"blend-weight FVF",
         [](Kit& a) {
             // Vertex blending is documented for FVF codes; it reads back as set.
             const DWORD fvf = D3DFVF_XYZB2 | D3DFVF_LASTBETA_UBYTE4 | D3DFVF_TEX1;
             const HRESULT result = a.device->SetFVF(fvf);
             DWORD set = 0;
             a.device->GetFVF(&set);
             return set == fvf ? result : E_FAIL;
         }},
        {"draw with no stream",
         [](Kit& a) {
             readyToDraw(a);
             a.device->SetStreamSource(0, nullptr, 0, 0);
             return a.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
         }},
        {"draw of no primitives",
         [](Kit& a) {
             readyToDraw(a);
             return a.device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 0);
         }},
        {"draw of an unknown primitive type",
         [](Kit& a) {
             readyToDraw(a);
             return a.device->DrawPrimitive(D3DPRIMITIVETYPE(9), 0, 2);
         }},
        {"draw of primitive type 0",
         [](Kit& a) {
             readyToDraw(a);
             return a.device->DrawPrimitive(D3DPRIMITIVETYPE(0), 0, 2);
         }},
    };
}

// Null pointers where the call has to write something.
std::vector<Case> nullPointerCases()
{
    return {
        {"no place for the shader",
         [](Kit& a) {
             return a.device->CreatePixelShader(a.pixelTokens.data(), nullptr);
         }},
        {"no place for the texture",
         [](Kit& a) {
             return a.device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, nullptr,
                                            nullptr);
         }},
        {"no place for the locked rectangle",
         [](Kit& a) {
             return a.texture->LockRect(0, nullptr, nullptr, 0);
         }},
        {"no place for the buffer's data",
         [](Kit& a) {
             return a.vertices->Lock(0, 0, nullptr, 0);
         }},
    };
}

// GoogleTest names a failing case by its parameter.
void PrintTo(const Case& a_case, std::ostream* a_out)
{
    *a_out << a_case.name;
}

// After the wrong calls the device still draws a triangle with the kit's
// objects, on the kit's target.
void expectTheDeviceStillDraws(Kit& a_kit)
{
    a_kit.device->SetRenderTarget(0, a_kit.target);
    readyToDraw(a_kit);
    a_kit.device->SetIndices(a_kit.indices);
    const float red[4] = {1, 0, 0, 1};
    a_kit.device->SetPixelShaderConstantF(0, red, 1);
    EXPECT_EQ(a_kit.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 3, 0, 1), D3D_OK);
}

// Each wrong call on a device of its own, so that each case can be run,
// or left out, by its name.
class WrongCall : public testing::TestWithParam<Case>
{
};

// The call answers D3DERR_INVALIDCALL, and the device draws correctly afterwards.
TEST_P(WrongCall, AnswersInvalidCall)
{
    TestDevice device(16, 16);
    Kit kit(device);
    EXPECT_EQ(GetParam().call(kit), D3DERR_INVALIDCALL);
    expectTheDeviceStillDraws(kit);
}

// The case's name with every character but letters and digits turned into '_'.
std::string caseName(const testing::TestParamInfo<Case>& a_info)
{
    std::string name = a_info.param.name;
    for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(WrongUse, WrongCall, testing::ValuesIn(cases()), caseName);

class TakenCall : public testing::TestWithParam<Case>
{
};

// The call answers D3D_OK and leaves the target as it was (a draw would
// cover it in red), and the device draws correctly afterwards.
TEST_P(TakenCall, AnswersOkAndDrawsNothing)
{
    TestDevice device(16, 16);
    Kit kit(device);
    const DWORD blue = 0xFF0000FF;
    device->SetRenderTarget(0, kit.target);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, blue, 1.0f, 0);
    const float red[4] = {1, 0, 0, 1};
    device->SetPixelShaderConstantF(0, red, 1);
    EXPECT_EQ(GetParam().call(kit), D3D_OK);
    EXPECT_EQ(device.readArgb(kit.target), std::vector<DWORD>(8 * 8, blue));
    expectTheDeviceStillDraws(kit);
    EXPECT_EQ(device.readArgb(kit.target)[0], 0xFFFF0000u) << "the triangle's corner";
}

INSTANTIATE_TEST_SUITE_P(WrongUse, TakenCall, testing::ValuesIn(takenCases()), caseName);

// A buffer of no bytes is refused as an invalid argument, whatever its
// kind, with no buffer given out.
TEST(WrongUse, BuffersOfNoBytesAreInvalidArguments)
{
    TestDevice device(16, 16);
    IDirect3DVertexBuffer9* vertices = nullptr;
    EXPECT_EQ(device->CreateVertexBuffer(0, 0, 0, D3DPOOL_DEFAULT, &vertices, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(vertices, nullptr);
    EXPECT_EQ(device->CreateVertexBuffer(0, 0, D3DFVF_XYZ, D3DPOOL_MANAGED, &vertices, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(vertices, nullptr);
    IDirect3DIndexBuffer9* indices = nullptr;
    EXPECT_EQ(device->CreateIndexBuffer(0, 0, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &indices, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(indices, nullptr);
}

TEST(WrongUse, NullOutputPointersAnswerInvalidCall)
{
    TestDevice device(16, 16);
    Kit kit(device);
    for (const Case& test : nullPointerCases())
    {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(test.call(kit), D3DERR_INVALIDCALL);
    }
    expectTheDeviceStillDraws(kit);
}

}  // namespace
