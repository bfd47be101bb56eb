// D3DX 9's texture functions as the system uses them.
#pragma once

#include <d3d9.h>

#ifndef D3DX_DEFAULT
#define D3DX_DEFAULT static_cast<UINT>(-1)
#endif

// Creates a texture after D3DX's adjustments: a zero width or height becomes
// 1, D3DX_DEFAULT for both gives 256 x 256 and for one copies the other, and
// 0 or D3DX_DEFAULT mip levels (or more than the chain has) ask for the full
// chain.
HRESULT WINAPI D3DXCreateTexture(LPDIRECT3DDEVICE9 pDevice, UINT Width, UINT Height, UINT MipLevels,
                                 DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                 LPDIRECT3DTEXTURE9* ppTexture);
