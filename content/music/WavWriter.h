// Writes a stereo buffer as a 32-bit float WAV file, for listening and analysis, with libsndfile.
#pragma once

#include <string>

class StereoBuffer;

class WavWriter
{
public:
    // Writes a_buffer (44.1 kHz) into a_path. On failure returns false and says why in a_error;
    // a file that could not be written whole is removed.
    static bool write(const StereoBuffer& a_buffer, const std::string& a_path,
                      std::string& a_error);
};
