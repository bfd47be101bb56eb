// Test seams of the d3d9 layer; not part of Direct3D 9. Tests give the
// adapter a list of display modes (so launcher logic runs on any machine),
// read back what the device drew, switch the GL state cache off, and skip
// drawing.
#pragma once

#include <d3d9.h>

#include <vector>

namespace D3D9Testing
{

// The adapter reports these modes instead of SDL's until cleared.
void setDisplayModes(const std::vector<D3DDISPLAYMODE>& a_modes);
void clearDisplayModes();

// The contents of a surface in D3D9's memory layout (rows top first, pitch =
// width x bytes per pixel); D3DERR_INVALIDCALL for depth surfaces.
HRESULT readSurface(IDirect3DSurface9* a_surface, std::vector<unsigned char>* a_bytes);

// The device window's own pixels after Present, as 0xAARRGGBB, top row first.
HRESULT readWindow(IDirect3DDevice9* a_device, std::vector<DWORD>* a_pixels, UINT* a_width,
                   UINT* a_height);

// Devices created from now on report no more than these capabilities, as
// older hardware would (0 = as the driver reports); clearCapsLimit undoes it.
void limitCaps(DWORD a_vertexShaderVersion, DWORD a_pixelShaderVersion, DWORD a_renderTargets);
void clearCapsLimit();

// True: every GL state call reaches GL, as if the layer cached nothing.
void bypassGlStateCache(bool a_bypass);

// The layer's objects alive now (devices, surfaces, textures, buffers,
// shaders, declarations...), whatever holds them.
long liveObjects();

}  // namespace D3D9Testing
