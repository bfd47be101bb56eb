// A small Direct3D 9 program written for the real Windows, Direct3D 9 and
// D3DX 9 headers, built unchanged against the platform layers: it registers
// a window class, makes a device with an A8R8G8B8 back buffer and a D24S8
// depth-stencil buffer, clears through a scissor rectangle, draws a
// pre-transformed quad with the fixed-function stages, reads the back buffer
// through system memory and checks the pixels. Exit code 0 means it all held.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include <stdio.h>
#include <string.h>

struct SCREENVERTEX
{
    FLOAT x, y, z, rhw;
    D3DCOLOR color;
};
#define D3DFVF_SCREENVERTEX (D3DFVF_XYZRHW | D3DFVF_DIFFUSE)

static int Fail(const char* what)
{
    fprintf(stderr, "ReadBackProgram: %s failed\n", what);
    return 1;
}

static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

static D3DCOLOR PixelAt(const D3DLOCKED_RECT& locked, int x, int y)
{
    const BYTE* row = static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch;
    return reinterpret_cast<const D3DCOLOR*>(row)[x];
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(WNDCLASSEXA);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.lpszClassName = "ReadBackProgram";
    if (!RegisterClassExA(&wc))
        return Fail("RegisterClassExA");
    HWND hWnd = CreateWindowA("ReadBackProgram", "Read-back", WS_OVERLAPPEDWINDOW, 0, 0, 64, 48,
                              NULL, NULL, hInstance, NULL);
    if (!hWnd)
        return Fail("CreateWindowA");

    LPDIRECT3D9 d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d)
        return Fail("Direct3DCreate9");
    if (FAILED(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                      D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, D3DFMT_D24S8)))
        return Fail("CheckDeviceFormat");
    D3DPRESENT_PARAMETERS pp = {};
    pp.BackBufferWidth = 64;
    pp.BackBufferHeight = 48;
    pp.BackBufferFormat = D3DFMT_A8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = hWnd;
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    LPDIRECT3DDEVICE9 device = NULL;
    if (FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hWnd,
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device)))
        return Fail("CreateDevice");
    D3DCAPS9 caps = {};
    if (FAILED(device->GetDeviceCaps(&caps)) || caps.NumSimultaneousRTs < 1)
        return Fail("GetDeviceCaps");

    // Black everywhere, then red inside the scissor rectangle only.
    device->BeginScene();
    device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL,
                  D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0);
    RECT scissor = {16, 0, 48, 48};
    device->SetScissorRect(&scissor);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    device->Clear(0, NULL, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 255, 0, 0), 1.0f, 0);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);

    // A green band across rows 32 to 39, coloured by the vertices alone.
    const SCREENVERTEX band[4] = {{-0.5f, 31.5f, 0.0f, 1.0f, D3DCOLOR_ARGB(128, 0, 255, 0)},
                                  {63.5f, 31.5f, 0.0f, 1.0f, D3DCOLOR_ARGB(128, 0, 255, 0)},
                                  {-0.5f, 39.5f, 0.0f, 1.0f, D3DCOLOR_ARGB(128, 0, 255, 0)},
                                  {63.5f, 39.5f, 0.0f, 1.0f, D3DCOLOR_ARGB(128, 0, 255, 0)}};
    LPDIRECT3DVERTEXBUFFER9 vertices = NULL;
    if (FAILED(device->CreateVertexBuffer(sizeof(band), D3DUSAGE_WRITEONLY, D3DFVF_SCREENVERTEX,
                                          D3DPOOL_DEFAULT, &vertices, NULL)))
        return Fail("CreateVertexBuffer");
    void* data = NULL;
    vertices->Lock(0, 0, &data, 0);
    memcpy(data, band, sizeof(band));
    vertices->Unlock();
    device->SetStreamSource(0, vertices, 0, sizeof(SCREENVERTEX));
    device->SetFVF(D3DFVF_SCREENVERTEX);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    if (FAILED(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)))
        return Fail("DrawPrimitive");
    device->EndScene();

    // Read the frame back through a system-memory surface.
    LPDIRECT3DSURFACE9 backBuffer = NULL;
    LPDIRECT3DSURFACE9 copy = NULL;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)))
        return Fail("GetBackBuffer");
    D3DSURFACE_DESC desc;
    backBuffer->GetDesc(&desc);
    if (FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                   D3DPOOL_SYSTEMMEM, &copy, NULL)))
        return Fail("CreateOffscreenPlainSurface");
    if (FAILED(device->GetRenderTargetData(backBuffer, copy)))
        return Fail("GetRenderTargetData");
    D3DLOCKED_RECT locked;
    if (FAILED(copy->LockRect(&locked, NULL, D3DLOCK_READONLY)))
        return Fail("LockRect");
    LPD3DXBUFFER pixels = NULL;
    if (FAILED(D3DXCreateBuffer(desc.Width * desc.Height * 4, &pixels)))
        return Fail("D3DXCreateBuffer");
    for (UINT y = 0; y < desc.Height; ++y)
        memcpy(static_cast<BYTE*>(pixels->GetBufferPointer()) + y * desc.Width * 4,
               static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch, desc.Width * 4);
    const D3DCOLOR outside = PixelAt(locked, 8, 8);
    const D3DCOLOR inside = PixelAt(locked, 20, 8);
    const D3DCOLOR drawn = PixelAt(locked, 40, 36);
    copy->UnlockRect();

    int result = 0;
    if (desc.Format != D3DFMT_A8R8G8B8 || outside != D3DCOLOR_ARGB(255, 0, 0, 0) ||
        inside != D3DCOLOR_ARGB(255, 255, 0, 0) || drawn != D3DCOLOR_ARGB(128, 0, 255, 0) ||
        reinterpret_cast<const D3DCOLOR*>(pixels->GetBufferPointer())[36 * 64 + 40] != drawn)
    {
        fprintf(stderr, "ReadBackProgram: pixels %08x %08x %08x\n", static_cast<unsigned>(outside),
                static_cast<unsigned>(inside), static_cast<unsigned>(drawn));
        result = 1;
    }
    if (FAILED(device->Present(NULL, NULL, NULL, NULL)))
        result = Fail("Present");

    pixels->Release();
    copy->Release();
    backBuffer->Release();
    vertices->Release();
    device->Release();
    d3d->Release();
    DestroyWindow(hWnd);
    UnregisterClassA("ReadBackProgram", hInstance);
    if (result == 0)
        printf("ReadBackProgram: ok\n");
    return result;
}
