// Writes a stereo buffer as an MP3 file through libmp3lame.
#pragma once

#include <string>

class StereoBuffer;

class Mp3Encoder
{
public:
    // Encodes a_buffer (44.1 kHz) at a_bitrate kbit/s constant bit rate into a_path.
    // The file starts with an Info frame that records the encoder's delay and padding,
    // so gapless decoders return exactly the rendered frames. No ID3 tags. On failure
    // returns false and says why in a_error.
    static bool write(const StereoBuffer& a_buffer, int a_bitrate, const std::string& a_path,
                      std::string& a_error);
};
