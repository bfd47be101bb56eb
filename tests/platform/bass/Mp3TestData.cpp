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

std::vector<int16_t> tone(double a_frequency, double a_seconds, double a_amplitude, int a_channels,
                          int a_rate)
{
    const size_t frames = static_cast<size_t>(a_seconds * a_rate);
    std::vector<int16_t> samples(frames * a_channels);
    const double pi = 3.14159265358979323846;
    for (size_t i = 0; i < frames; ++i)
    {
        const double value =
            a_amplitude * 32767.0 * sin(2.0 * pi * a_frequency * static_cast<double>(i) / a_rate);
        for (int c = 0; c < a_channels; ++c)
            samples[i * a_channels + c] = static_cast<int16_t>(lround(value));
    }
    return samples;
}

namespace
{

// A picture as LAME takes it: JPEG's start-of-image marker, then bytes that
// look like MPEG frame headers throughout, so a reader that does not skip
// the whole tag finds false frames in it.
std::vector<char> picture(size_t a_bytes)
{
    std::vector<char> bytes(a_bytes, 0);
    for (size_t i = 0; i < a_bytes; ++i)
        bytes[i] = static_cast<char>(i % 4 == 0 ? 0xFF : (i % 4 == 1 ? 0xFB : (i * 7) & 0x7F));
    bytes[0] = static_cast<char>(0xFF);
    bytes[1] = static_cast<char>(0xD8);
    bytes[2] = static_cast<char>(0xFF);
    return bytes;
}

}

std::vector<uint8_t> encode(const std::vector<int16_t>& a_samples, int a_channels)
{
    Encoding encoding;
    encoding.m_channels = a_channels;
    return encode(a_samples, encoding);
}

std::vector<uint8_t> encode(const std::vector<int16_t>& a_samples, const Encoding& a_encoding)
{
    const int channels = a_encoding.m_channels;
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, a_encoding.m_rate);
    lame_set_out_samplerate(lame, a_encoding.m_rate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    if (a_encoding.m_vbr)
    {
        lame_set_VBR(lame, vbr_default);
        lame_set_VBR_quality(lame, 4.0f);
    }
    else
    {
        // The highest rate each MPEG version allows is 320, 160 and 160
        // kbit/s; these sit well inside.
        lame_set_brate(lame,
                       a_encoding.m_rate >= 32000 ? 192 : (a_encoding.m_rate >= 16000 ? 96 : 32));
    }
    lame_set_bWriteVbrTag(lame, 1);
    // The ID3v2 tag is put in front by hand, so that the LAME tag frame,
    // known only at the end, can be written over the first audio frame.
    lame_set_write_id3tag_automatic(lame, 0);
    std::vector<char> art;
    if (a_encoding.m_pictureBytes != 0)
    {
        id3tag_init(lame);
        id3tag_v2_only(lame);
        id3tag_set_title(lame, "Test tone");
        art = picture(a_encoding.m_pictureBytes);
        if (id3tag_set_albumart(lame, art.data(), art.size()) != 0)
            throw std::runtime_error("id3tag_set_albumart failed");
    }
    if (lame_init_params(lame) < 0)
        throw std::runtime_error("lame_init_params failed");

    const int frames = static_cast<int>(a_samples.size() / channels);
    std::vector<uint8_t> mp3(static_cast<size_t>(frames * 1.25 + 7200 + 65536));
    int size = 0;
    std::vector<int16_t> left(frames);
    std::vector<int16_t> right(frames);
    for (int i = 0; i < frames; ++i)
    {
        left[i] = a_samples[i * channels];
        right[i] = a_samples[i * channels + channels - 1];
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
    if (a_encoding.m_pictureBytes != 0)
    {
        std::vector<uint8_t> id3(lame_get_id3v2_tag(lame, nullptr, 0));
        if (id3.empty() || lame_get_id3v2_tag(lame, id3.data(), id3.size()) != id3.size())
            throw std::runtime_error("lame_get_id3v2_tag failed");
        mp3.insert(mp3.begin(), id3.begin(), id3.end());
    }
    lame_close(lame);
    return mp3;
}

std::vector<int16_t> decode(const std::vector<uint8_t>& a_mp3, long* a_rate)
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
    if (encoding != MPG123_ENC_SIGNED_16)
        throw std::runtime_error("unexpected decoded format");
    if (a_rate)
        *a_rate = rate;
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
