// Writes a stereo buffer as an MP3 file through libmp3lame.
#include "Mp3Encoder.h"

#include "StereoBuffer.h"
#include "Tempo.h"

#include <lame/lame.h>

#include <stdio.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{

struct LameDeleter
{
    void operator()(lame_global_flags* a_flags) const { lame_close(a_flags); }
};

struct FileCloser
{
    void operator()(FILE* a_file) const { fclose(a_file); }
};

// Frames handed to LAME per call; its output bound is 1.25 times the input plus 7200 bytes.
constexpr int kChunk = 8192;

}

bool Mp3Encoder::write(const StereoBuffer& a_buffer, int a_bitrate, const std::string& a_path,
                       std::string& a_error)
{
    std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
    if (!lame)
    {
        a_error = "lame_init failed";
        return false;
    }
    lame_set_in_samplerate(lame.get(), Tempo::kSampleRate);
    lame_set_out_samplerate(lame.get(), Tempo::kSampleRate);
    lame_set_num_channels(lame.get(), 2);
    lame_set_mode(lame.get(), JOINT_STEREO);
    lame_set_VBR(lame.get(), vbr_off);
    lame_set_brate(lame.get(), a_bitrate);
    lame_set_quality(lame.get(), 3);
    lame_set_bWriteVbrTag(lame.get(), 1);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0)
    {
        a_error = "lame_init_params rejected the settings";
        return false;
    }

    std::unique_ptr<FILE, FileCloser> file(fopen(a_path.c_str(), "wb"));
    if (!file)
    {
        a_error = "cannot create " + a_path;
        return false;
    }

    std::vector<unsigned char> out(static_cast<size_t>(kChunk + kChunk / 4 + 7200));
    auto put = [&](int a_written) {
        if (a_written < 0)
        {
            a_error = "the encoder failed (code " + std::to_string(a_written) + ")";
            return false;
        }
        if (fwrite(out.data(), 1, static_cast<size_t>(a_written), file.get()) !=
            static_cast<size_t>(a_written))
        {
            a_error = "cannot write " + a_path;
            return false;
        }
        return true;
    };
    const size_t frames = a_buffer.frames();
    for (size_t start = 0; start < frames; start += kChunk)
    {
        const int count = static_cast<int>(std::min(frames - start, static_cast<size_t>(kChunk)));
        if (!put(lame_encode_buffer_ieee_float(lame.get(), a_buffer.left() + start,
                                               a_buffer.right() + start, count, out.data(),
                                               static_cast<int>(out.size()))))
            return false;
    }
    if (!put(lame_encode_flush(lame.get(), out.data(), static_cast<int>(out.size()))))
        return false;

    // LAME reserved the first frame for the Info frame; fill it in now that the
    // stream's length, delay and padding are known.
    const size_t tagSize = lame_get_lametag_frame(lame.get(), out.data(), out.size());
    if (tagSize == 0 || tagSize > out.size() || fseek(file.get(), 0, SEEK_SET) != 0 ||
        fwrite(out.data(), 1, tagSize, file.get()) != tagSize || fflush(file.get()) != 0)
    {
        a_error = "cannot write the Info frame of " + a_path;
        return false;
    }
    return true;
}
