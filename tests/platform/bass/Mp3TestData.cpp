// LAME encoding and a reference decode with mpg123's own file reader.
#include "platform/bass/Mp3TestData.h"

#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

#include <lame/lame.h>
#include <mpg123.h>

#include <math.h>

#include <stdexcept>

namespace Mp3TestData
{

std::vector<int16_t> tone(double a_frequency, double a_seconds, double a_amplitude, int a_channels)
{
    const size_t frames = static_cast<size_t>(a_seconds * kRate);
    std::vector<int16_t> samples(frames * a_channels);
    const double pi = 3.14159265358979323846;
    for (size_t i = 0; i < frames; ++i)
    {
        const double value =
            a_amplitude * 32767.0 * sin(2.0 * pi * a_frequency * static_cast<double>(i) / kRate);
        for (int c = 0; c < a_channels; ++c)
            samples[i * a_channels + c] = static_cast<int16_t>(lround(value));
    }
    return samples;
}

std::vector<uint8_t> encode(const std::vector<int16_t>& a_samples, int a_channels)
{
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, kRate);
    lame_set_out_samplerate(lame, kRate);
    lame_set_num_channels(lame, a_channels);
    lame_set_mode(lame, a_channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame, 192);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0)
        throw std::runtime_error("lame_init_params failed");

    const int frames = static_cast<int>(a_samples.size() / a_channels);
    std::vector<uint8_t> mp3(static_cast<size_t>(frames * 1.25 + 7200 + 65536));
    int size = 0;
    std::vector<int16_t> left(frames);
    std::vector<int16_t> right(frames);
    for (int i = 0; i < frames; ++i)
    {
        left[i] = a_samples[i * a_channels];
        right[i] = a_samples[i * a_channels + a_channels - 1];
    }
    size = lame_encode_buffer(lame, left.data(), right.data(), frames, mp3.data(),
                              static_cast<int>(mp3.size()));
    if (size < 0)
        throw std::runtime_error("lame_encode_buffer failed");
    const int flushed =
        lame_encode_flush(lame, mp3.data() + size, static_cast<int>(mp3.size()) - size);
    if (flushed < 0)
        throw std::runtime_error("lame_encode_flush failed");
    mp3.resize(static_cast<size_t>(size + flushed));
    // The first frame was a placeholder for the tag, whose delay and padding
    // are only known now.
    std::vector<uint8_t> tag(8192);
    const size_t tagSize = lame_get_lametag_frame(lame, tag.data(), tag.size());
    if (tagSize == 0 || tagSize > mp3.size())
        throw std::runtime_error("lame_get_lametag_frame failed");
    std::copy(tag.begin(), tag.begin() + static_cast<ptrdiff_t>(tagSize), mp3.begin());
    lame_close(lame);
    return mp3;
}

std::vector<int16_t> decode(const std::vector<uint8_t>& a_mp3)
{
    TemporaryFolder folder;
    const std::string path = folder.file("reference.mp3");
    writeBytes(path, a_mp3);

    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    if (mpg123_open(handle, path.c_str()) != MPG123_OK)
        throw std::runtime_error("mpg123_open failed");
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    mpg123_getformat(handle, &rate, &channels, &encoding);
    if (rate != kRate || encoding != MPG123_ENC_SIGNED_16)
        throw std::runtime_error("unexpected decoded format");
    std::vector<int16_t> samples;
    std::vector<unsigned char> block(16384);
    for (;;)
    {
        size_t done = 0;
        const int result = mpg123_read(handle, block.data(), block.size(), &done);
        const int16_t* decoded = reinterpret_cast<const int16_t*>(block.data());
        samples.insert(samples.end(), decoded, decoded + done / sizeof(int16_t));
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            break;
    }
    mpg123_close(handle);
    mpg123_delete(handle);
    return samples;
}

}
