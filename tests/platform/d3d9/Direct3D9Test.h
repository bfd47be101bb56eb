// The fixture of the Direct3D object's tests: a Direct3D object for each
// case, and the present parameters of a full-screen device.
#pragma once

#include <d3d9.h>
#include <gtest/gtest.h>

class Direct3D9Test : public testing::Test
{
protected:
    void SetUp() override
    {
        m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(m_d3d, nullptr);
    }

    void TearDown() override { m_d3d->Release(); }

    // The full-screen parameters the renderer fills for a display mode.
    static D3DPRESENT_PARAMETERS fullScreen(HWND a_window, UINT a_width, UINT a_height)
    {
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.BackBufferWidth = a_width;
        parameters.BackBufferHeight = a_height;
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
        parameters.BackBufferCount = 1;
        parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
        parameters.hDeviceWindow = a_window;
        parameters.Windowed = FALSE;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D24X8;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
        return parameters;
    }

    IDirect3D9* m_d3d = nullptr;
};
