// MP3 files for the audio tests, encoded with LAME from synthesised PCM, and
// the PCM that mpg123 decodes from them, as the reference the layer must match.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace Mp3TestData
{

constexpr int kRate = 44100;

// Interleaved 16-bit PCM at a_rate: a sine of a_frequency Hz at a_amplitude
// of full scale (0 gives silence), the same in every channel.
std::vector<int16_t> tone(double a_frequency, double a_seconds, double a_amplitude, int a_channels,
                          int a_rate = kRate);

// How a file is encoded: the rate picks the MPEG version (32 to 48 kHz
// MPEG-1, 16 to 24 kHz MPEG-2, 8 to 12 kHz MPEG-2.5), then the channels,
// constant or variable bit rate, and an ID3v2 tag before the audio holding a
// picture of a_pictureBytes (none for 0).
struct Encoding
{
    int m_rate = kRate;
    int m_channels = 2;
    bool m_vbr = false;
    size_t m_pictureBytes = 0;
};

// Encodes with a LAME tag, so decoders trim the encoder's delay and padding.
std::vector<uint8_t> encode(const std::vector<int16_t>& a_samples, const Encoding& a_encoding);
// At 44.1 kHz, constant bit rate, no ID3v2 tag.
std::vector<uint8_t> encode(const std::vector<int16_t>& a_samples, int a_channels);

// Every sample mpg123 yields for a_mp3, read from a file on disk, gapless;
// a_rate, if given, receives the decoded rate.
std::vector<int16_t> decode(const std::vector<uint8_t>& a_mp3, long* a_rate = nullptr);

}
