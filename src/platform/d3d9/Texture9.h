// A 2D texture: its levels in one GL texture.
#pragma once

#include "DeviceResource.h"
#include "TextureStorage.h"

#include <d3d9.h>

class Texture9 final : public DeviceResource<IDirect3DTexture9>
{
public:
    static HRESULT create(Device9* a_device, UINT a_width, UINT a_height, UINT a_levels,
                          DWORD a_usage, D3DFORMAT a_format, D3DPOOL a_pool,
                          IDirect3DTexture9** a_texture);

    HRESULT GetDevice(IDirect3DDevice9** a_device) override { return getDevice(a_device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD GetLevelCount() override { return m_storage.levels(); }
    HRESULT GetLevelDesc(UINT a_level, D3DSURFACE_DESC* a_desc) override;
    HRESULT GetSurfaceLevel(UINT a_level, IDirect3DSurface9** a_surface) override;
    HRESULT LockRect(UINT a_level, D3DLOCKED_RECT* a_locked, const RECT* a_rect,
                     DWORD a_flags) override;
    HRESULT UnlockRect(UINT a_level) override;

    TextureStorage& storage() { return m_storage; }

private:
    Texture9(Device9* a_device, UINT a_width, UINT a_height, UINT a_glLevels, UINT a_reportedLevels,
             DWORD a_usage, const Format* a_format, D3DPOOL a_pool);
    ~Texture9() override;
    void releaseGl() override;

    TextureStorage m_storage;
};
