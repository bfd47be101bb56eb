// MP4 decoding through libavformat, libavcodec, libswscale and libswresample.
#include "Mp4Reader.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace
{

struct Decoder
{
    AVCodecContext* context = nullptr;
    int stream = -1;
    ~Decoder() { avcodec_free_context(&context); }
};

bool openDecoder(AVFormatContext* a_format, AVMediaType a_type, Decoder* a_decoder)
{
    a_decoder->stream = av_find_best_stream(a_format, a_type, -1, -1, nullptr, 0);
    if (a_decoder->stream < 0)
        return false;
    const AVCodecParameters* parameters = a_format->streams[a_decoder->stream]->codecpar;
    const AVCodec* codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec)
        return false;
    a_decoder->context = avcodec_alloc_context3(codec);
    return a_decoder->context &&
           avcodec_parameters_to_context(a_decoder->context, parameters) >= 0 &&
           avcodec_open2(a_decoder->context, codec, nullptr) >= 0;
}

}  // namespace

bool Mp4Reader::read(const std::string& a_path)
{
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, a_path.c_str(), nullptr, nullptr) < 0)
    {
        m_error = "cannot open " + a_path;
        return false;
    }
    std::unique_ptr<AVFormatContext*, void (*)(AVFormatContext**)> closer(&format,
                                                                          avformat_close_input);
    if (avformat_find_stream_info(format, nullptr) < 0)
    {
        m_error = "no stream information";
        return false;
    }
    Decoder video, audio;
    if (!openDecoder(format, AVMEDIA_TYPE_VIDEO, &video) ||
        !openDecoder(format, AVMEDIA_TYPE_AUDIO, &audio))
    {
        m_error = "a video and an audio stream are needed";
        return false;
    }
    const AVStream* videoStream = format->streams[video.stream];
    m_duration = format->duration == AV_NOPTS_VALUE ? 0.0 : double(format->duration) / AV_TIME_BASE;
    m_declaredFrames = videoStream->nb_frames;
    m_frameRateNumerator = videoStream->avg_frame_rate.num;
    m_frameRateDenominator = videoStream->avg_frame_rate.den;
    m_videoCodec = avcodec_get_name(video.context->codec_id);
    m_audioCodec = avcodec_get_name(audio.context->codec_id);
    m_width = video.context->width;
    m_height = video.context->height;
    m_sampleRate = audio.context->sample_rate;

    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    bool ok = true;
    auto drain = [&](Decoder& a_decoder) {
        while (ok && avcodec_receive_frame(a_decoder.context, frame) == 0)
        {
            if (a_decoder.stream == video.stream)
            {
                scaler = sws_getCachedContext(
                    scaler, frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                    frame->height, AV_PIX_FMT_RGB24, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr,
                    nullptr, nullptr);
                std::vector<uint8_t> rgb(size_t(frame->width) * size_t(frame->height) * 3);
                uint8_t* planes[1] = {rgb.data()};
                const int strides[1] = {frame->width * 3};
                sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
                m_frames.push_back(std::move(rgb));
                m_frameTimes.push_back(double(frame->best_effort_timestamp) *
                                       av_q2d(videoStream->time_base));
            }
            else
            {
                if (!resampler)
                {
                    AVChannelLayout stereo;
                    av_channel_layout_default(&stereo, 2);
                    if (swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_FLT,
                                            frame->sample_rate, &frame->ch_layout,
                                            AVSampleFormat(frame->format), frame->sample_rate, 0,
                                            nullptr) < 0 ||
                        swr_init(resampler) < 0)
                    {
                        ok = false;
                        break;
                    }
                }
                std::vector<float> samples(size_t(frame->nb_samples) * 2);
                uint8_t* output[1] = {reinterpret_cast<uint8_t*>(samples.data())};
                const int converted = swr_convert(resampler, output, frame->nb_samples,
                                                  const_cast<const uint8_t**>(frame->extended_data),
                                                  frame->nb_samples);
                if (converted < 0)
                    ok = false;
                else
                    m_samples.insert(m_samples.end(), samples.begin(),
                                     samples.begin() + converted * 2);
            }
            av_frame_unref(frame);
        }
    };
    while (ok && av_read_frame(format, packet) >= 0)
    {
        Decoder& decoder = packet->stream_index == video.stream ? video : audio;
        if (packet->stream_index == video.stream || packet->stream_index == audio.stream)
        {
            if (avcodec_send_packet(decoder.context, packet) < 0)
                ok = false;
            drain(decoder);
        }
        av_packet_unref(packet);
    }
    for (Decoder* decoder : {&video, &audio})
    {
        avcodec_send_packet(decoder->context, nullptr);
        drain(*decoder);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    sws_freeContext(scaler);
    swr_free(&resampler);
    if (!ok)
        m_error = "decoding failed";
    return ok;
}
