// The offline mode of the Win32 layer, which Win32 does not have: what the
// offline renderer needs to run the demo faster than a viewer would watch it
// (as D3D9Offline.h is the device's and BassCapture.h the audio layer's).
#pragma once

namespace Win32Offline
{

// True: Sleep returns at once. The offline renderer steps the demo's clock
// one frame at a time, so the pauses the demo makes for a viewer (after its
// loading bar) cost a capture wall time and change no frame.
void skipSleeps(bool a_skip);

}
