// Records device calls, constant registers with copies of the data they pass.
#include "platform/d3dx9/RecordingDevice.h"

#include <ostream>

namespace
{

// A constant call with a copy of its data: a_perRegister values per register
// counted (4 for float4 and int4 registers, 1 for bools).
template <typename T>
RecordingDevice::Call constantCall(const char* a_method, UINT a_start, const T* a_data,
                                   UINT a_count, UINT a_perRegister,
                                   std::vector<T> RecordingDevice::Call::*a_values)
{
    RecordingDevice::Call call;
    call.method = a_method;
    call.startRegister = a_start;
    call.count = a_count;
    (call.*a_values).assign(a_data, a_data + a_count * a_perRegister);
    return call;
}

}

bool RecordingDevice::Call::operator==(const Call& a_other) const
{
    return method == a_other.method && startRegister == a_other.startRegister &&
           count == a_other.count && floats == a_other.floats && ints == a_other.ints &&
           bools == a_other.bools;
}

HRESULT RecordingDevice::QueryInterface(REFIID, void** ppvObject)
{
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecordingDevice::SetVertexShaderConstantF(UINT StartRegister, const float* pConstantData,
                                                  UINT Vector4fCount)
{
    m_calls.push_back(constantCall("SetVertexShaderConstantF", StartRegister, pConstantData,
                                   Vector4fCount, 4, &Call::floats));
    return D3D_OK;
}

HRESULT RecordingDevice::SetVertexShaderConstantI(UINT StartRegister, const int* pConstantData,
                                                  UINT Vector4iCount)
{
    m_calls.push_back(constantCall("SetVertexShaderConstantI", StartRegister, pConstantData,
                                   Vector4iCount, 4, &Call::ints));
    return D3D_OK;
}

HRESULT RecordingDevice::SetVertexShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                                  UINT BoolCount)
{
    m_calls.push_back(constantCall("SetVertexShaderConstantB", StartRegister, pConstantData,
                                   BoolCount, 1, &Call::bools));
    return D3D_OK;
}

HRESULT RecordingDevice::SetPixelShaderConstantF(UINT StartRegister, const float* pConstantData,
                                                 UINT Vector4fCount)
{
    m_calls.push_back(constantCall("SetPixelShaderConstantF", StartRegister, pConstantData,
                                   Vector4fCount, 4, &Call::floats));
    return D3D_OK;
}

HRESULT RecordingDevice::SetPixelShaderConstantI(UINT StartRegister, const int* pConstantData,
                                                 UINT Vector4iCount)
{
    m_calls.push_back(constantCall("SetPixelShaderConstantI", StartRegister, pConstantData,
                                   Vector4iCount, 4, &Call::ints));
    return D3D_OK;
}

HRESULT RecordingDevice::SetPixelShaderConstantB(UINT StartRegister, const BOOL* pConstantData,
                                                 UINT BoolCount)
{
    m_calls.push_back(constantCall("SetPixelShaderConstantB", StartRegister, pConstantData,
                                   BoolCount, 1, &Call::bools));
    return D3D_OK;
}

HRESULT RecordingDevice::unexpected(const char* a_method)
{
    Call call;
    call.method = a_method;
    m_calls.push_back(call);
    return D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::GetDeviceCaps(D3DCAPS9*)
{
    return unexpected("GetDeviceCaps");
}

HRESULT RecordingDevice::Present(const RECT*, const RECT*, HWND, const void*)
{
    return unexpected("Present");
}

HRESULT RecordingDevice::CreateTexture(UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                                       IDirect3DTexture9**, HANDLE*)
{
    return unexpected("CreateTexture");
}

HRESULT RecordingDevice::CreateCubeTexture(UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                                           IDirect3DCubeTexture9**, HANDLE*)
{
    return unexpected("CreateCubeTexture");
}

HRESULT RecordingDevice::CreateOffscreenPlainSurface(UINT, UINT, D3DFORMAT, D3DPOOL,
                                                     IDirect3DSurface9**, HANDLE*)
{
    return unexpected("CreateOffscreenPlainSurface");
}

HRESULT RecordingDevice::GetBackBuffer(UINT, UINT, D3DBACKBUFFER_TYPE, IDirect3DSurface9**)
{
    return unexpected("GetBackBuffer");
}

HRESULT RecordingDevice::GetRenderTargetData(IDirect3DSurface9*, IDirect3DSurface9*)
{
    return unexpected("GetRenderTargetData");
}

HRESULT RecordingDevice::CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9**,
                                            HANDLE*)
{
    return unexpected("CreateVertexBuffer");
}

HRESULT RecordingDevice::CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9**,
                                           HANDLE*)
{
    return unexpected("CreateIndexBuffer");
}

HRESULT RecordingDevice::SetRenderTarget(DWORD, IDirect3DSurface9*)
{
    return unexpected("SetRenderTarget");
}

HRESULT RecordingDevice::GetRenderTarget(DWORD, IDirect3DSurface9**)
{
    return unexpected("GetRenderTarget");
}

HRESULT RecordingDevice::SetDepthStencilSurface(IDirect3DSurface9*)
{
    return unexpected("SetDepthStencilSurface");
}

HRESULT RecordingDevice::GetDepthStencilSurface(IDirect3DSurface9**)
{
    return unexpected("GetDepthStencilSurface");
}

HRESULT RecordingDevice::BeginScene()
{
    return unexpected("BeginScene");
}

HRESULT RecordingDevice::EndScene()
{
    return unexpected("EndScene");
}

HRESULT RecordingDevice::Clear(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD)
{
    return unexpected("Clear");
}

HRESULT RecordingDevice::SetViewport(const D3DVIEWPORT9*)
{
    return unexpected("SetViewport");
}

HRESULT RecordingDevice::GetViewport(D3DVIEWPORT9*)
{
    return unexpected("GetViewport");
}

HRESULT RecordingDevice::SetScissorRect(const RECT*)
{
    return unexpected("SetScissorRect");
}

HRESULT RecordingDevice::GetScissorRect(RECT*)
{
    return unexpected("GetScissorRect");
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE, DWORD)
{
    return unexpected("SetRenderState");
}

HRESULT RecordingDevice::GetRenderState(D3DRENDERSTATETYPE, DWORD*)
{
    return unexpected("GetRenderState");
}

HRESULT RecordingDevice::GetTexture(DWORD, IDirect3DBaseTexture9**)
{
    return unexpected("GetTexture");
}

HRESULT RecordingDevice::SetTexture(DWORD, IDirect3DBaseTexture9*)
{
    return unexpected("SetTexture");
}

HRESULT RecordingDevice::GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*)
{
    return unexpected("GetSamplerState");
}

HRESULT RecordingDevice::SetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD)
{
    return unexpected("SetSamplerState");
}

HRESULT RecordingDevice::GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*)
{
    return unexpected("GetTextureStageState");
}

HRESULT RecordingDevice::SetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, DWORD)
{
    return unexpected("SetTextureStageState");
}

HRESULT RecordingDevice::DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT)
{
    return unexpected("DrawPrimitive");
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT)
{
    return unexpected("DrawIndexedPrimitive");
}

HRESULT RecordingDevice::SetFVF(DWORD)
{
    return unexpected("SetFVF");
}

HRESULT RecordingDevice::GetFVF(DWORD*)
{
    return unexpected("GetFVF");
}

HRESULT RecordingDevice::CreateVertexShader(const DWORD*, IDirect3DVertexShader9**)
{
    return unexpected("CreateVertexShader");
}

HRESULT RecordingDevice::SetVertexShader(IDirect3DVertexShader9*)
{
    return unexpected("SetVertexShader");
}

HRESULT RecordingDevice::GetVertexShader(IDirect3DVertexShader9**)
{
    return unexpected("GetVertexShader");
}

HRESULT RecordingDevice::GetVertexShaderConstantF(UINT, float*, UINT)
{
    return unexpected("GetVertexShaderConstantF");
}

HRESULT RecordingDevice::GetVertexShaderConstantI(UINT, int*, UINT)
{
    return unexpected("GetVertexShaderConstantI");
}

HRESULT RecordingDevice::GetVertexShaderConstantB(UINT, BOOL*, UINT)
{
    return unexpected("GetVertexShaderConstantB");
}

HRESULT RecordingDevice::SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT)
{
    return unexpected("SetStreamSource");
}

HRESULT RecordingDevice::SetIndices(IDirect3DIndexBuffer9*)
{
    return unexpected("SetIndices");
}

HRESULT RecordingDevice::CreatePixelShader(const DWORD*, IDirect3DPixelShader9**)
{
    return unexpected("CreatePixelShader");
}

HRESULT RecordingDevice::SetPixelShader(IDirect3DPixelShader9*)
{
    return unexpected("SetPixelShader");
}

HRESULT RecordingDevice::GetPixelShader(IDirect3DPixelShader9**)
{
    return unexpected("GetPixelShader");
}

HRESULT RecordingDevice::GetPixelShaderConstantF(UINT, float*, UINT)
{
    return unexpected("GetPixelShaderConstantF");
}

HRESULT RecordingDevice::GetPixelShaderConstantI(UINT, int*, UINT)
{
    return unexpected("GetPixelShaderConstantI");
}

HRESULT RecordingDevice::GetPixelShaderConstantB(UINT, BOOL*, UINT)
{
    return unexpected("GetPixelShaderConstantB");
}

void PrintTo(const RecordingDevice::Call& a_call, std::ostream* a_stream)
{
    *a_stream << a_call.method << "(" << a_call.startRegister << ", {";
    for (float value : a_call.floats)
        *a_stream << " " << value;
    for (int value : a_call.ints)
        *a_stream << " " << value;
    for (BOOL value : a_call.bools)
        *a_stream << " " << value;
    *a_stream << " }, " << a_call.count << ")";
}
