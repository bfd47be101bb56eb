// A device that records the calls made on it, constant registers with their
// data, so tests can check what the D3DX layer writes.
#pragma once

#include <d3d9.h>

#include <string>
#include <vector>

class RecordingDevice final : public IDirect3DDevice9
{
public:
    struct Call
    {
        std::string method;  // "SetVertexShaderConstantF", ...
        UINT startRegister = 0;
        UINT count = 0;             // registers (float4, int4) or bools
        std::vector<float> floats;  // 4 per register
        std::vector<int> ints;      // 4 per register
        std::vector<BOOL> bools;

        bool operator==(const Call& a_other) const;
    };

    RecordingDevice() = default;
    ~RecordingDevice() = default;

    // IUnknown: the device lives on the test's stack and is never released.
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }

    HRESULT SetVertexShaderConstantF(UINT StartRegister, const float* pConstantData,
                                     UINT Vector4fCount) override;
    HRESULT SetVertexShaderConstantI(UINT StartRegister, const int* pConstantData,
                                     UINT Vector4iCount) override;
    HRESULT SetVertexShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                     UINT BoolCount) override;
    HRESULT SetPixelShaderConstantF(UINT StartRegister, const float* pConstantData,
                                    UINT Vector4fCount) override;
    HRESULT SetPixelShaderConstantI(UINT StartRegister, const int* pConstantData,
                                    UINT Vector4iCount) override;
    HRESULT SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                    UINT BoolCount) override;

    // The rest of the device: the D3DX layer calls none of it, so each call is
    // recorded by name alone and refused.
    HRESULT GetDeviceCaps(D3DCAPS9*) override;
    HRESULT Present(const RECT*, const RECT*, HWND, const void*) override;
    HRESULT CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DTexture9**,
                          HANDLE*) override;
    HRESULT CreateCubeTexture(UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DCubeTexture9**,
                              HANDLE*) override;
    HRESULT CreateOffscreenPlainSurface(UINT, UINT, D3DFORMAT, D3DPOOL, IDirect3DSurface9**,
                                        HANDLE*) override;
    HRESULT GetBackBuffer(UINT, UINT, D3DBACKBUFFER_TYPE, IDirect3DSurface9**) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9*, IDirect3DSurface9*) override;
    HRESULT CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9**,
                               HANDLE*) override;
    HRESULT CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9**,
                              HANDLE*) override;
    HRESULT SetRenderTarget(DWORD, IDirect3DSurface9*) override;
    HRESULT GetRenderTarget(DWORD, IDirect3DSurface9**) override;
    HRESULT SetDepthStencilSurface(IDirect3DSurface9*) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9**) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override;
    HRESULT SetViewport(const D3DVIEWPORT9*) override;
    HRESULT GetViewport(D3DVIEWPORT9*) override;
    HRESULT SetScissorRect(const RECT*) override;
    HRESULT GetScissorRect(RECT*) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE, DWORD) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE, DWORD*) override;
    HRESULT GetTexture(DWORD, IDirect3DBaseTexture9**) override;
    HRESULT SetTexture(DWORD, IDirect3DBaseTexture9*) override;
    HRESULT GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) override;
    HRESULT SetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD) override;
    HRESULT GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*) override;
    HRESULT SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT) override;
    HRESULT SetFVF(DWORD) override;
    HRESULT GetFVF(DWORD*) override;
    HRESULT CreateVertexShader(const DWORD*, IDirect3DVertexShader9**) override;
    HRESULT SetVertexShader(IDirect3DVertexShader9*) override;
    HRESULT GetVertexShader(IDirect3DVertexShader9**) override;
    HRESULT GetVertexShaderConstantF(UINT, float*, UINT) override;
    HRESULT GetVertexShaderConstantI(UINT, int*, UINT) override;
    HRESULT GetVertexShaderConstantB(UINT, BOOL*, UINT) override;
    HRESULT SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9*) override;
    HRESULT CreatePixelShader(const DWORD*, IDirect3DPixelShader9**) override;
    HRESULT SetPixelShader(IDirect3DPixelShader9*) override;
    HRESULT GetPixelShader(IDirect3DPixelShader9**) override;
    HRESULT GetPixelShaderConstantF(UINT, float*, UINT) override;
    HRESULT GetPixelShaderConstantI(UINT, int*, UINT) override;
    HRESULT GetPixelShaderConstantB(UINT, BOOL*, UINT) override;

    std::vector<Call> m_calls;

private:
    HRESULT unexpected(const char* a_method);
};

// Prints a call in failure messages.
void PrintTo(const RecordingDevice::Call& a_call, std::ostream* a_stream);
