// The generated soundtrack decoded back to PCM with libmpg123, as a player would hear it.
#include "DecodedSong.h"

#include <mpg123.h>

#include <memory>

namespace
{

struct HandleDeleter
{
    void operator()(mpg123_handle* a_handle) const
    {
        mpg123_close(a_handle);
        mpg123_delete(a_handle);
    }
};

}

bool DecodedSong::load(const std::string& a_path, std::string& a_error)
{
    int error = MPG123_OK;
    std::unique_ptr<mpg123_handle, HandleDeleter> handle(mpg123_new(nullptr, &error));
    if (!handle)
    {
        a_error = mpg123_plain_strerror(error);
        return false;
    }
    // Float output shows overshoot past full scale that 16-bit output would clip away;
    // gapless decoding drops the encoder delay recorded in the Info frame.
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_GAPLESS, 0.0);
    mpg123_format_none(handle.get());
    for (const long rate : {32000L, 44100L, 48000L})
        mpg123_format(handle.get(), rate, MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
    if (mpg123_open(handle.get(), a_path.c_str()) != MPG123_OK)
    {
        a_error = "cannot open " + a_path + ": " + mpg123_strerror(handle.get());
        return false;
    }
    int encoding = 0;
    if (mpg123_getformat(handle.get(), &m_sampleRate, &m_channels, &encoding) != MPG123_OK)
    {
        a_error = mpg123_strerror(handle.get());
        return false;
    }

    std::vector<float> block(16384);
    for (;;)
    {
        size_t bytes = 0;
        const int result =
            mpg123_read(handle.get(), block.data(), block.size() * sizeof(float), &bytes);
        const size_t samples = bytes / sizeof(float);
        for (size_t i = 0; i + static_cast<size_t>(m_channels) <= samples;
             i += static_cast<size_t>(m_channels))
        {
            m_left.push_back(block[i]);
            m_right.push_back(block[i + static_cast<size_t>(m_channels) - 1]);
        }
        if (result == MPG123_DONE)
            return true;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
        {
            a_error = mpg123_strerror(handle.get());
            return false;
        }
    }
}

std::vector<float> DecodedSong::mono() const
{
    std::vector<float> result(m_left.size());
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = 0.5f * (m_left[i] + m_right[i]);
    return result;
}
