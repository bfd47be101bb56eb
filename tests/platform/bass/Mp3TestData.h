// MP3 files for the audio tests, encoded with LAME from synthesised PCM, and
// the PCM that mpg123 decodes from them, as the reference the layer must match.
#pragma once

#include <stdint.h>

#include <vector>

namespace Mp3TestData
{

constexpr int kRate = 44100;

// Interleaved 16-bit PCM: a sine of a_frequency Hz at a_amplitude of full
// scale (0 gives silence), the same in every channel.
std::vector<int16_t> tone(double a_frequency, double a_seconds, double a_amplitude, int a_channels);

// Encodes at 44.1 kHz with a LAME tag, so decoders trim the encoder's delay
// and padding.
std::vector<uint8_t> encode(const std::vector<int16_t>& a_samples, int a_channels);

// Every sample mpg123 yields for a_mp3, read from a file on disk, gapless.
std::vector<int16_t> decode(const std::vector<uint8_t>& a_mp3);

}
