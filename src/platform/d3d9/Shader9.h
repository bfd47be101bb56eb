// A vertex or pixel shader object: the device's handle on a compiled shader.
#pragma once

#include "DeviceResource.h"
#include "ShaderCode.h"

#include <d3d9.h>

template <typename Interface>
class Shader9 final : public DeviceResource<Interface>
{
public:
    static HRESULT create(Device9* a_device, const DWORD* a_tokens, Interface** a_shader);

    HRESULT GetDevice(IDirect3DDevice9** a_device) override { return this->getDevice(a_device); }

    const ShaderCode& code() const { return m_code; }

private:
    explicit Shader9(Device9* a_device) : DeviceResource<Interface>(a_device) {}
    ~Shader9() override;
    void releaseGl() override;

    ShaderCode m_code;
};

using VertexShader9 = Shader9<IDirect3DVertexShader9>;
using PixelShader9 = Shader9<IDirect3DPixelShader9>;
