// The generated soundtrack decoded back to PCM with libmpg123, as a player would hear it.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

class DecodedSong
{
public:
    // Decodes the MP3 at a_path to 32-bit float stereo; false with a_error set on failure.
    bool load(const std::string& a_path, std::string& a_error);

    // What the decoder reported and produced.
    long sampleRate() const { return m_sampleRate; }
    int channels() const { return m_channels; }
    size_t frames() const { return m_left.size(); }
    double seconds() const
    {
        return static_cast<double>(frames()) / static_cast<double>(m_sampleRate);
    }
    const std::vector<float>& left() const { return m_left; }
    const std::vector<float>& right() const { return m_right; }

    // The two channels averaged.
    std::vector<float> mono() const;

private:
    long m_sampleRate = 0;
    int m_channels = 0;
    std::vector<float> m_left;
    std::vector<float> m_right;
};
