// The offline mode of the d3d9 layer, which Direct3D 9 does not have: what
// the offline renderer and the preview tools need to run the demo's own
// device with no display (as BassCapture.h is the audio layer's capture
// device). Tools use these; the testing hooks are for tests.
#pragma once

#include <d3d9.h>

#include <vector>

namespace D3D9Offline
{

// From now on windows, devices and message boxes are made with no display
// (SDL's offscreen video driver, no audio output) whatever the session has,
// so nothing waits for a user. Call before the first window is created.
void selectOffscreen();

// The adapter reports this one 32-bit display mode instead of the display's;
// the device's back buffer then has the picture's size.
void setDisplayMode(UINT a_width, UINT a_height, UINT a_refreshRate);

// The contents of a surface in D3D9's memory layout (rows top first, pitch =
// width x bytes per pixel); D3DERR_INVALIDCALL for depth surfaces.
HRESULT readSurface(IDirect3DSurface9* a_surface, std::vector<unsigned char>* a_bytes);

}
