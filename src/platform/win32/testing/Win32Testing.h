// Seams of the Win32 layer that are not part of Win32.
#pragma once

namespace Win32Testing
{

// True: Sleep returns at once. The offline renderer steps the demo's clock
// one frame at a time, so the pauses the demo makes for a viewer (after its
// loading bar) cost a capture wall time and change no frame.
void skipSleeps(bool a_skip);

}  // namespace Win32Testing
