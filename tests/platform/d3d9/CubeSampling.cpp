// A cube texture of 2 x 2 faces sampled in the direction held in c0.
#include "CubeSampling.h"

#include <gtest/gtest.h>

DWORD CubeSampling::texel(DWORD a_face, DWORD a_x, DWORD a_y)
{
    return 0xFF000000 | (a_face * 40) << 16 | (a_x * 100) << 8 | (a_y * 100);
}

CubeSampling::CubeSampling(TestDevice& a_device, Canvas& a_canvas)
{
    IDirect3DCubeTexture9* cube = nullptr;
    EXPECT_EQ(
        a_device->CreateCubeTexture(2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube, nullptr),
        D3D_OK);
    a_canvas.keep(cube);
    for (DWORD face = 0; cube && face < 6; ++face)
    {
        D3DLOCKED_RECT locked = {};
        EXPECT_EQ(cube->LockRect(D3DCUBEMAP_FACES(face), 0, &locked, nullptr, 0), D3D_OK);
        for (DWORD y = 0; y < 2; ++y)
            for (DWORD x = 0; x < 2; ++x)
                reinterpret_cast<DWORD*>(static_cast<unsigned char*>(locked.pBits) +
                                         y * DWORD(locked.Pitch))[x] = texel(face, x, y);
        EXPECT_EQ(cube->UnlockRect(D3DCUBEMAP_FACES(face), 0), D3D_OK);
    }
    a_device->SetTexture(0, cube);
    a_canvas.quadShaders("ps_3_0\n"
                         "const float4 direction : c0\n"
                         "dcl_cube s0\n"
                         "mov r0, c0\n"
                         "texld r1, r0, s0\n"
                         "mov oC0, r1\n");
    a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
}
