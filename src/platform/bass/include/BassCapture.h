// The capture device for offline rendering, a mode of the audio layer that
// the real library does not have: playback advances only when the capture
// driver steps it, one video frame at a time, and the samples stepped over
// are handed out to be written next to the frames.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace BassCapture
{

// Selection: while selected, BASS_Init opens the capture device whatever
// device it is given, at a_numerator / a_denominator video frames per
// second. Returns false (and selects nothing) for a zero in either.
bool select(uint32_t a_numerator, uint32_t a_denominator = 1);
void deselect();

// Stepping: advances every playing stream by the sample frames of one video
// frame (the fractions carried from step to step) and appends them, mixed
// to interleaved 16-bit stereo at BASS_Init's rate, to a_samples. Returns
// the sample frames stepped; 0 when the capture device is not open.
uint32_t step(std::vector<int16_t>& a_samples);

// The streams the open device holds; 0 when none is open. For tests that
// look for leaks over hours of play.
size_t streams();

}
