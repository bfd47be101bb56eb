// The Direct3D object: the one adapter, its display modes and capabilities,
// and device creation.
#pragma once

#include "ComObject.h"

#include <d3d9.h>

class Direct3D9 final : public ComObject<IDirect3D9>
{
public:
    UINT GetAdapterCount() override;
    UINT GetAdapterModeCount(UINT a_adapter, D3DFORMAT a_format) override;
    HRESULT EnumAdapterModes(UINT a_adapter, D3DFORMAT a_format, UINT a_mode,
                             D3DDISPLAYMODE* a_result) override;
    HRESULT GetAdapterDisplayMode(UINT a_adapter, D3DDISPLAYMODE* a_result) override;
    HRESULT CheckDeviceFormat(UINT a_adapter, D3DDEVTYPE a_type, D3DFORMAT a_adapterFormat,
                              DWORD a_usage, D3DRESOURCETYPE a_resourceType,
                              D3DFORMAT a_format) override;
    HRESULT GetDeviceCaps(UINT a_adapter, D3DDEVTYPE a_type, D3DCAPS9* a_caps) override;
    HRESULT CreateDevice(UINT a_adapter, D3DDEVTYPE a_type, HWND a_focusWindow, DWORD a_flags,
                         D3DPRESENT_PARAMETERS* a_parameters, IDirect3DDevice9** a_device) override;
};
