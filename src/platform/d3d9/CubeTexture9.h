// A cube texture: six faces of square levels in one GL cube map.
#pragma once

#include "DeviceResource.h"
#include "TextureStorage.h"

#include <d3d9.h>

class CubeTexture9 final : public DeviceResource<IDirect3DCubeTexture9>
{
public:
    static HRESULT create(Device9* a_device, UINT a_edgeLength, UINT a_levels, DWORD a_usage,
                          D3DFORMAT a_format, D3DPOOL a_pool, IDirect3DCubeTexture9** a_texture);

    HRESULT GetDevice(IDirect3DDevice9** a_device) override { return getDevice(a_device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_CUBETEXTURE; }
    DWORD GetLevelCount() override { return m_storage.levels(); }
    HRESULT GetLevelDesc(UINT a_level, D3DSURFACE_DESC* a_desc) override;
    HRESULT GetCubeMapSurface(D3DCUBEMAP_FACES a_face, UINT a_level,
                              IDirect3DSurface9** a_surface) override;
    HRESULT LockRect(D3DCUBEMAP_FACES a_face, UINT a_level, D3DLOCKED_RECT* a_locked,
                     const RECT* a_rect, DWORD a_flags) override;
    HRESULT UnlockRect(D3DCUBEMAP_FACES a_face, UINT a_level) override;

    TextureStorage& storage() { return m_storage; }

private:
    CubeTexture9(Device9* a_device, UINT a_edgeLength, UINT a_glLevels, UINT a_reportedLevels,
                 DWORD a_usage, const Format* a_format, D3DPOOL a_pool);
    ~CubeTexture9() override;
    void releaseGl() override;

    TextureStorage m_storage;
};
