// Rate and channel conversion with libswresample.
#include "Resampler.h"

extern "C"
{
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

Resampler::~Resampler()
{
    swr_free(&m_context);
}

bool Resampler::open(uint32_t a_inputRate, uint32_t a_channels, uint32_t a_outputRate)
{
    if (a_channels < 1 || a_channels > 2 || a_inputRate == 0 || a_outputRate == 0)
        return false;
    AVChannelLayout input;
    AVChannelLayout output;
    av_channel_layout_default(&input, static_cast<int>(a_channels));
    av_channel_layout_default(&output, 2);
    if (swr_alloc_set_opts2(&m_context, &output, AV_SAMPLE_FMT_S16, static_cast<int>(a_outputRate),
                            &input, AV_SAMPLE_FMT_S16, static_cast<int>(a_inputRate), 0,
                            nullptr) != 0)
        return false;
    // libswresample's own mix would put a mono channel at -3 dB on each
    // side; the real library copies it to both at full level.
    const double monoToBoth[] = {1.0, 1.0};
    const double identity[] = {1.0, 0.0, 0.0, 1.0};
    if (swr_set_matrix(m_context, a_channels == 1 ? monoToBoth : identity,
                       static_cast<int>(a_channels)) != 0 ||
        swr_init(m_context) != 0)
    {
        swr_free(&m_context);
        return false;
    }
    return true;
}

size_t Resampler::convert(const int16_t* a_input, size_t a_frames, int16_t* a_output,
                          size_t a_space)
{
    // A null input would flush the filter as at the end of the audio; an
    // empty one only drains what is held.
    static const int16_t s_nothing = 0;
    const uint8_t* input = reinterpret_cast<const uint8_t*>(a_input ? a_input : &s_nothing);
    uint8_t* output = reinterpret_cast<uint8_t*>(a_output);
    const int written = swr_convert(m_context, &output, static_cast<int>(a_space), &input,
                                    static_cast<int>(a_frames));
    return written > 0 ? static_cast<size_t>(written) : 0;
}
