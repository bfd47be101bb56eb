// The logging proxy: every method logs its name and plain arguments, then forwards.
#include "support/LoggingDevice.h"

std::vector<std::string> LoggingDevice::calls(const std::string& a_prefix) const
{
    std::vector<std::string> matching;
    for (const std::string& call : m_calls)
    {
        if (call.compare(0, a_prefix.size(), a_prefix) == 0)
            matching.push_back(call);
    }
    return matching;
}

void LoggingDevice::log(const char* a_method, std::initializer_list<long long> a_values)
{
    std::string call = a_method;
    for (long long value : a_values)
        call += " " + std::to_string(value);
    m_calls.push_back(call);
}

HRESULT LoggingDevice::GetDeviceCaps(D3DCAPS9* pCaps)
{
    log("GetDeviceCaps");
    return m_device->GetDeviceCaps(pCaps);
}

HRESULT LoggingDevice::Present(const RECT* pSourceRect, const RECT* pDestRect,
                               HWND hDestWindowOverride, const void* pDirtyRegion)
{
    log("Present");
    return m_device->Present(pSourceRect, pDestRect, hDestWindowOverride, pDirtyRegion);
}

HRESULT LoggingDevice::CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage,
                                     D3DFORMAT Format, D3DPOOL Pool, IDirect3DTexture9** ppTexture,
                                     HANDLE* pSharedHandle)
{
    log("CreateTexture", {static_cast<long long>(Width), static_cast<long long>(Height),
                          static_cast<long long>(Levels), static_cast<long long>(Usage),
                          static_cast<long long>(Format), static_cast<long long>(Pool)});
    return m_device->CreateTexture(Width, Height, Levels, Usage, Format, Pool, ppTexture,
                                   pSharedHandle);
}

HRESULT LoggingDevice::CreateCubeTexture(UINT EdgeLength, UINT Levels, DWORD Usage,
                                         D3DFORMAT Format, D3DPOOL Pool,
                                         IDirect3DCubeTexture9** ppCubeTexture,
                                         HANDLE* pSharedHandle)
{
    log("CreateCubeTexture", {static_cast<long long>(EdgeLength), static_cast<long long>(Levels),
                              static_cast<long long>(Usage), static_cast<long long>(Format),
                              static_cast<long long>(Pool)});
    return m_device->CreateCubeTexture(EdgeLength, Levels, Usage, Format, Pool, ppCubeTexture,
                                       pSharedHandle);
}

HRESULT LoggingDevice::CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                                          IDirect3DVertexBuffer9** ppVertexBuffer,
                                          HANDLE* pSharedHandle)
{
    log("CreateVertexBuffer", {static_cast<long long>(Length), static_cast<long long>(Usage),
                               static_cast<long long>(FVF), static_cast<long long>(Pool)});
    return m_device->CreateVertexBuffer(Length, Usage, FVF, Pool, ppVertexBuffer, pSharedHandle);
}

HRESULT LoggingDevice::CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                         IDirect3DIndexBuffer9** ppIndexBuffer,
                                         HANDLE* pSharedHandle)
{
    log("CreateIndexBuffer", {static_cast<long long>(Length), static_cast<long long>(Usage),
                              static_cast<long long>(Format), static_cast<long long>(Pool)});
    return m_device->CreateIndexBuffer(Length, Usage, Format, Pool, ppIndexBuffer, pSharedHandle);
}

HRESULT LoggingDevice::CreateOffscreenPlainSurface(UINT Width, UINT Height, D3DFORMAT Format,
                                                   D3DPOOL Pool, IDirect3DSurface9** ppSurface,
                                                   HANDLE* pSharedHandle)
{
    log("CreateOffscreenPlainSurface",
        {static_cast<long long>(Width), static_cast<long long>(Height),
         static_cast<long long>(Format), static_cast<long long>(Pool)});
    return m_device->CreateOffscreenPlainSurface(Width, Height, Format, Pool, ppSurface,
                                                 pSharedHandle);
}

HRESULT LoggingDevice::GetBackBuffer(UINT iSwapChain, UINT iBackBuffer, D3DBACKBUFFER_TYPE Type,
                                     IDirect3DSurface9** ppBackBuffer)
{
    log("GetBackBuffer", {static_cast<long long>(iSwapChain), static_cast<long long>(iBackBuffer),
                          static_cast<long long>(Type)});
    return m_device->GetBackBuffer(iSwapChain, iBackBuffer, Type, ppBackBuffer);
}

HRESULT LoggingDevice::GetRenderTargetData(IDirect3DSurface9* pRenderTarget,
                                           IDirect3DSurface9* pDestSurface)
{
    log("GetRenderTargetData");
    return m_device->GetRenderTargetData(pRenderTarget, pDestSurface);
}

HRESULT LoggingDevice::SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget)
{
    log("SetRenderTarget", {static_cast<long long>(RenderTargetIndex)});
    return m_device->SetRenderTarget(RenderTargetIndex, pRenderTarget);
}

HRESULT LoggingDevice::GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget)
{
    log("GetRenderTarget", {static_cast<long long>(RenderTargetIndex)});
    return m_device->GetRenderTarget(RenderTargetIndex, ppRenderTarget);
}

HRESULT LoggingDevice::SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil)
{
    log("SetDepthStencilSurface");
    return m_device->SetDepthStencilSurface(pNewZStencil);
}

HRESULT LoggingDevice::GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface)
{
    log("GetDepthStencilSurface");
    return m_device->GetDepthStencilSurface(ppZStencilSurface);
}

HRESULT LoggingDevice::BeginScene()
{
    log("BeginScene");
    return m_device->BeginScene();
}

HRESULT LoggingDevice::EndScene()
{
    log("EndScene");
    return m_device->EndScene();
}

HRESULT LoggingDevice::Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color,
                             float Z, DWORD Stencil)
{
    log("Clear", {static_cast<long long>(Count), static_cast<long long>(Flags),
                  static_cast<long long>(Color), static_cast<long long>(Stencil)});
    return m_device->Clear(Count, pRects, Flags, Color, Z, Stencil);
}

HRESULT LoggingDevice::SetViewport(const D3DVIEWPORT9* pViewport)
{
    log("SetViewport");
    return m_device->SetViewport(pViewport);
}

HRESULT LoggingDevice::GetViewport(D3DVIEWPORT9* pViewport)
{
    log("GetViewport");
    return m_device->GetViewport(pViewport);
}

HRESULT LoggingDevice::SetScissorRect(const RECT* pRect)
{
    log("SetScissorRect");
    return m_device->SetScissorRect(pRect);
}

HRESULT LoggingDevice::GetScissorRect(RECT* pRect)
{
    log("GetScissorRect");
    return m_device->GetScissorRect(pRect);
}

HRESULT LoggingDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value)
{
    log("SetRenderState", {static_cast<long long>(State), static_cast<long long>(Value)});
    return m_device->SetRenderState(State, Value);
}

HRESULT LoggingDevice::GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue)
{
    log("GetRenderState", {static_cast<long long>(State)});
    return m_device->GetRenderState(State, pValue);
}

HRESULT LoggingDevice::GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture)
{
    log("GetTexture", {static_cast<long long>(Stage)});
    return m_device->GetTexture(Stage, ppTexture);
}

HRESULT LoggingDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture)
{
    log("SetTexture", {static_cast<long long>(Stage)});
    return m_device->SetTexture(Stage, pTexture);
}

HRESULT LoggingDevice::GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue)
{
    log("GetSamplerState", {static_cast<long long>(Sampler), static_cast<long long>(Type)});
    return m_device->GetSamplerState(Sampler, Type, pValue);
}

HRESULT LoggingDevice::SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value)
{
    log("SetSamplerState", {static_cast<long long>(Sampler), static_cast<long long>(Type),
                            static_cast<long long>(Value)});
    return m_device->SetSamplerState(Sampler, Type, Value);
}

HRESULT LoggingDevice::GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type,
                                            DWORD* pValue)
{
    log("GetTextureStageState", {static_cast<long long>(Stage), static_cast<long long>(Type)});
    return m_device->GetTextureStageState(Stage, Type, pValue);
}

HRESULT LoggingDevice::SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value)
{
    log("SetTextureStageState", {static_cast<long long>(Stage), static_cast<long long>(Type),
                                 static_cast<long long>(Value)});
    return m_device->SetTextureStageState(Stage, Type, Value);
}

HRESULT LoggingDevice::DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex,
                                     UINT PrimitiveCount)
{
    log("DrawPrimitive",
        {static_cast<long long>(PrimitiveType), static_cast<long long>(StartVertex),
         static_cast<long long>(PrimitiveCount)});
    return m_device->DrawPrimitive(PrimitiveType, StartVertex, PrimitiveCount);
}

HRESULT LoggingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex,
                                            UINT MinVertexIndex, UINT NumVertices, UINT startIndex,
                                            UINT primCount)
{
    log("DrawIndexedPrimitive",
        {static_cast<long long>(PrimitiveType), static_cast<long long>(BaseVertexIndex),
         static_cast<long long>(MinVertexIndex), static_cast<long long>(NumVertices),
         static_cast<long long>(startIndex), static_cast<long long>(primCount)});
    return m_device->DrawIndexedPrimitive(PrimitiveType, BaseVertexIndex, MinVertexIndex,
                                          NumVertices, startIndex, primCount);
}

HRESULT LoggingDevice::SetFVF(DWORD FVF)
{
    log("SetFVF", {static_cast<long long>(FVF)});
    return m_device->SetFVF(FVF);
}

HRESULT LoggingDevice::GetFVF(DWORD* pFVF)
{
    log("GetFVF");
    return m_device->GetFVF(pFVF);
}

HRESULT LoggingDevice::CreateVertexShader(const DWORD* pFunction, IDirect3DVertexShader9** ppShader)
{
    log("CreateVertexShader");
    return m_device->CreateVertexShader(pFunction, ppShader);
}

HRESULT LoggingDevice::SetVertexShader(IDirect3DVertexShader9* pShader)
{
    log("SetVertexShader");
    return m_device->SetVertexShader(pShader);
}

HRESULT LoggingDevice::GetVertexShader(IDirect3DVertexShader9** ppShader)
{
    log("GetVertexShader");
    return m_device->GetVertexShader(ppShader);
}

HRESULT LoggingDevice::SetVertexShaderConstantF(UINT StartRegister, const float* pConstantData,
                                                UINT Vector4fCount)
{
    log("SetVertexShaderConstantF",
        {static_cast<long long>(StartRegister), static_cast<long long>(Vector4fCount)});
    return m_device->SetVertexShaderConstantF(StartRegister, pConstantData, Vector4fCount);
}

HRESULT LoggingDevice::GetVertexShaderConstantF(UINT StartRegister, float* pConstantData,
                                                UINT Vector4fCount)
{
    log("GetVertexShaderConstantF",
        {static_cast<long long>(StartRegister), static_cast<long long>(Vector4fCount)});
    return m_device->GetVertexShaderConstantF(StartRegister, pConstantData, Vector4fCount);
}

HRESULT LoggingDevice::SetVertexShaderConstantI(UINT StartRegister, const int* pConstantData,
                                                UINT Vector4iCount)
{
    log("SetVertexShaderConstantI",
        {static_cast<long long>(StartRegister), static_cast<long long>(Vector4iCount)});
    return m_device->SetVertexShaderConstantI(StartRegister, pConstantData, Vector4iCount);
}

HRESULT LoggingDevice::GetVertexShaderConstantI(UINT StartRegister, int* pConstantData,
                                                UINT Vector4iCount)
{
    log("GetVertexShaderConstantI",
        {static_cast<long long>(StartRegister), static_cast<long long>(Vector4iCount)});
    return m_device->GetVertexShaderConstantI(StartRegister, pConstantData, Vector4iCount);
}

HRESULT LoggingDevice::SetVertexShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                                UINT BoolCount)
{
    log("SetVertexShaderConstantB",
        {static_cast<long long>(StartRegister), static_cast<long long>(BoolCount)});
    return m_device->SetVertexShaderConstantB(StartRegister, pConstantData, BoolCount);
}

HRESULT LoggingDevice::GetVertexShaderConstantB(UINT StartRegister, BOOL* pConstantData,
                                                UINT BoolCount)
{
    log("GetVertexShaderConstantB",
        {static_cast<long long>(StartRegister), static_cast<long long>(BoolCount)});
    return m_device->GetVertexShaderConstantB(StartRegister, pConstantData, BoolCount);
}

HRESULT LoggingDevice::SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData,
                                       UINT OffsetInBytes, UINT Stride)
{
    log("SetStreamSource", {static_cast<long long>(StreamNumber),
                            static_cast<long long>(OffsetInBytes), static_cast<long long>(Stride)});
    return m_device->SetStreamSource(StreamNumber, pStreamData, OffsetInBytes, Stride);
}

HRESULT LoggingDevice::SetIndices(IDirect3DIndexBuffer9* pIndexData)
{
    log("SetIndices");
    return m_device->SetIndices(pIndexData);
}

HRESULT LoggingDevice::CreatePixelShader(const DWORD* pFunction, IDirect3DPixelShader9** ppShader)
{
    log("CreatePixelShader");
    return m_device->CreatePixelShader(pFunction, ppShader);
}

HRESULT LoggingDevice::SetPixelShader(IDirect3DPixelShader9* pShader)
{
    log("SetPixelShader");
    return m_device->SetPixelShader(pShader);
}

HRESULT LoggingDevice::GetPixelShader(IDirect3DPixelShader9** ppShader)
{
    log("GetPixelShader");
    return m_device->GetPixelShader(ppShader);
}

HRESULT LoggingDevice::SetPixelShaderConstantF(UINT StartRegister, const float* pConstantData,
                                               UINT Vector4fCount)
{
    log("SetPixelShaderConstantF",
        {static_cast<long long>(StartRegister), static_cast<long long>(Vector4fCount)});
    return m_device->SetPixelShaderConstantF(StartRegister, pConstantData, Vector4fCount);
}

HRESULT LoggingDevice::GetPixelShaderConstantF(UINT StartRegister, float* pConstantData,
                                               UINT Vector4fCount)
{
    log("GetPixelShaderConstantF",
        {static_cast<long long>(StartRegister), static_cast<long long>(Vector4fCount)});
    return m_device->GetPixelShaderConstantF(StartRegister, pConstantData, Vector4fCount);
}

HRESULT LoggingDevice::SetPixelShaderConstantI(UINT StartRegister, const int* pConstantData,
                                               UINT Vector4iCount)
{
    log("SetPixelShaderConstantI",
        {static_cast<long long>(StartRegister), static_cast<long long>(Vector4iCount)});
    return m_device->SetPixelShaderConstantI(StartRegister, pConstantData, Vector4iCount);
}

HRESULT LoggingDevice::GetPixelShaderConstantI(UINT StartRegister, int* pConstantData,
                                               UINT Vector4iCount)
{
    log("GetPixelShaderConstantI",
        {static_cast<long long>(StartRegister), static_cast<long long>(Vector4iCount)});
    return m_device->GetPixelShaderConstantI(StartRegister, pConstantData, Vector4iCount);
}

HRESULT LoggingDevice::SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                               UINT BoolCount)
{
    log("SetPixelShaderConstantB",
        {static_cast<long long>(StartRegister), static_cast<long long>(BoolCount)});
    return m_device->SetPixelShaderConstantB(StartRegister, pConstantData, BoolCount);
}

HRESULT LoggingDevice::GetPixelShaderConstantB(UINT StartRegister, BOOL* pConstantData,
                                               UINT BoolCount)
{
    log("GetPixelShaderConstantB",
        {static_cast<long long>(StartRegister), static_cast<long long>(BoolCount)});
    return m_device->GetPixelShaderConstantB(StartRegister, pConstantData, BoolCount);
}
