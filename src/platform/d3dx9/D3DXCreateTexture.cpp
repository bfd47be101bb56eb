// D3DXCreateTexture: D3DX's parameter adjustments, then the device's CreateTexture.
#include "d3dx9tex.h"

#include <algorithm>

HRESULT WINAPI D3DXCreateTexture(LPDIRECT3DDEVICE9 pDevice, UINT Width, UINT Height, UINT MipLevels,
                                 DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                 LPDIRECT3DTEXTURE9* ppTexture)
{
    if (!pDevice || !ppTexture)
        return D3DERR_INVALIDCALL;
    if (Width == D3DX_DEFAULT && Height == D3DX_DEFAULT)
        Width = Height = 256;
    else if (Width == D3DX_DEFAULT)
        Width = Height;
    else if (Height == D3DX_DEFAULT)
        Height = Width;
    Width = std::max(Width, 1u);
    Height = std::max(Height, 1u);
    UINT chain = 1;
    for (UINT size = std::max(Width, Height); size > 1; size /= 2)
        ++chain;
    if (MipLevels == 0 || MipLevels == D3DX_DEFAULT || MipLevels > chain)
        MipLevels = chain;
    // A texture whose chain the device builds has one level to fill.
    if (Usage & D3DUSAGE_AUTOGENMIPMAP)
        MipLevels = 0;
    return pDevice->CreateTexture(Width, Height, MipLevels, Usage, Format, Pool, ppTexture,
                                  nullptr);
}
