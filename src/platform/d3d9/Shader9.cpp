// A vertex or pixel shader object: the device's handle on a compiled shader.
#include "Shader9.h"

#include "Device9.h"

#include <type_traits>

template <typename Interface>
HRESULT Shader9<Interface>::create(Device9* a_device, const DWORD* a_tokens, Interface** a_shader)
{
    if (!a_shader)
        return D3DERR_INVALIDCALL;
    *a_shader = nullptr;
    Shader9* shader = new Shader9(a_device);
    const HRESULT created =
        shader->m_code.create(a_tokens, std::is_same<Interface, IDirect3DVertexShader9>::value);
    if (created != D3D_OK)
    {
        shader->Release();
        return created;
    }
    *a_shader = shader;
    return D3D_OK;
}

template <typename Interface>
Shader9<Interface>::~Shader9()
{
    this->releaseGlIfAlive();
}

// Programs linked with this shader go with it.
template <typename Interface>
void Shader9<Interface>::releaseGl()
{
    this->device()->forgetShader(&m_code);
    m_code.releaseGl();
}

template class Shader9<IDirect3DVertexShader9>;
template class Shader9<IDirect3DPixelShader9>;
