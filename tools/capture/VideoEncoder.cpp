// MP4 through libavformat, H.264 and AAC through libavcodec.
#include "VideoEncoder.h"

extern "C"
{
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace
{

const int kChannels = 2;
const int64_t kAudioBitRate = 192000;

std::string errorText(int a_code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(a_code, text, sizeof(text));
    return text;
}

}  // namespace

VideoEncoder::~VideoEncoder()
{
    close();
}

bool VideoEncoder::fail(const std::string& a_what, int a_code)
{
    m_error = a_code < 0 ? a_what + ": " + errorText(a_code) : a_what;
    return false;
}

bool VideoEncoder::open(const std::string& a_path, uint32_t a_width, uint32_t a_height,
                        uint32_t a_fps, uint32_t a_sampleRate)
{
    // The libraries' notes on every stream opened are not for the user;
    // their errors are, and failures come back as messages of ours.
    av_log_set_level(AV_LOG_ERROR);
    m_width = a_width;
    m_height = a_height;
    int result = avformat_alloc_output_context2(&m_format, nullptr, "mp4", a_path.c_str());
    if (result < 0 || !m_format)
        return fail("cannot make an MP4 file", result);
    if (!m_withVideo && !m_withSound)
        return fail("an MP4 file needs a stream", 0);
    if ((m_withVideo && !openVideo(a_width, a_height, a_fps)) ||
        (m_withSound && !openAudio(a_sampleRate)))
        return false;
    m_packet = av_packet_alloc();
    if (!m_packet)
        return fail("out of memory", 0);
    result = avio_open(&m_format->pb, a_path.c_str(), AVIO_FLAG_WRITE);
    if (result < 0)
        return fail("cannot create '" + a_path + "'", result);
    // The index goes in front, so that players can start before the end has arrived.
    AVDictionary* options = nullptr;
    av_dict_set(&options, "movflags", "+faststart", 0);
    result = avformat_write_header(m_format, &options);
    av_dict_free(&options);
    if (result < 0)
        return fail("cannot write the MP4 header", result);
    m_headerWritten = true;
    return true;
}

// The encoder's thread keeps up with any preset, but without a GPU the
// rasteriser's threads already fill every core, so what the encoder spends
// is taken from the drawing. At 1280 x 720 "medium" took about a tenth of
// a drawn frame's processor time, "veryfast" a twenty-fifth; at the same
// constant quality its files were no larger here, while "superfast" made
// them half as large again.
bool VideoEncoder::openVideo(uint32_t a_width, uint32_t a_height, uint32_t a_fps)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        codec = avcodec_find_encoder(AV_CODEC_ID_H264);
    if (!codec)
        return fail("this FFmpeg has no H.264 encoder", 0);
    m_videoStream = avformat_new_stream(m_format, nullptr);
    m_video = avcodec_alloc_context3(codec);
    if (!m_videoStream || !m_video)
        return fail("out of memory", 0);
    m_video->width = static_cast<int>(a_width);
    m_video->height = static_cast<int>(a_height);
    m_video->time_base = AVRational{1, static_cast<int>(a_fps)};
    m_video->framerate = AVRational{static_cast<int>(a_fps), 1};
    m_video->pix_fmt = AV_PIX_FMT_YUV420P;
    m_video->gop_size = static_cast<int>(a_fps) * 2;
    // libswscale's default conversion: BT.601 in the limited range.
    m_video->color_range = AVCOL_RANGE_MPEG;
    m_video->colorspace = AVCOL_SPC_SMPTE170M;
    m_video->color_primaries = AVCOL_PRI_SMPTE170M;
    m_video->color_trc = AVCOL_TRC_SMPTE170M;
    av_opt_set(m_video->priv_data, "preset", "veryfast", 0);
    if (m_lossless)
        av_opt_set(m_video->priv_data, "qp", "0", 0);
    else
        av_opt_set(m_video->priv_data, "crf", "18", 0);
    if (!openEncoder(m_video, codec, m_videoStream, "H.264"))
        return false;
    m_videoStream->avg_frame_rate = m_video->framerate;

    m_picture = av_frame_alloc();
    if (!m_picture)
        return fail("out of memory", 0);
    m_picture->format = m_video->pix_fmt;
    m_picture->width = m_video->width;
    m_picture->height = m_video->height;
    const int result = av_frame_get_buffer(m_picture, 0);
    if (result < 0)
        return fail("cannot allocate a picture", result);
    m_scaler = sws_getContext(m_video->width, m_video->height, AV_PIX_FMT_BGR0, m_video->width,
                              m_video->height, AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND,
                              nullptr, nullptr, nullptr);
    if (!m_scaler)
        return fail("cannot convert pictures to 4:2:0", 0);
    return true;
}

bool VideoEncoder::openAudio(uint32_t a_sampleRate)
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec)
        return fail("this FFmpeg has no AAC encoder", 0);
    m_audioStream = avformat_new_stream(m_format, nullptr);
    m_audio = avcodec_alloc_context3(codec);
    if (!m_audioStream || !m_audio)
        return fail("out of memory", 0);
    m_audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
    m_audio->sample_rate = static_cast<int>(a_sampleRate);
    av_channel_layout_default(&m_audio->ch_layout, kChannels);
    m_audio->bit_rate = kAudioBitRate;
    m_audio->time_base = AVRational{1, static_cast<int>(a_sampleRate)};
    if (!openEncoder(m_audio, codec, m_audioStream, "AAC"))
        return false;

    m_sound = av_frame_alloc();
    if (!m_sound)
        return fail("out of memory", 0);
    m_sound->format = m_audio->sample_fmt;
    m_sound->sample_rate = m_audio->sample_rate;
    m_sound->nb_samples = m_audio->frame_size;
    int result = av_channel_layout_copy(&m_sound->ch_layout, &m_audio->ch_layout);
    if (result >= 0)
        result = av_frame_get_buffer(m_sound, 0);
    if (result < 0)
        return fail("cannot allocate audio frames", result);
    result = swr_alloc_set_opts2(&m_resampler, &m_audio->ch_layout, AV_SAMPLE_FMT_FLTP,
                                 m_audio->sample_rate, &m_audio->ch_layout, AV_SAMPLE_FMT_S16,
                                 m_audio->sample_rate, 0, nullptr);
    if (result >= 0)
        result = swr_init(m_resampler);
    if (result < 0)
        return fail("cannot convert samples for the AAC encoder", result);
    return true;
}

// The stream takes the encoder's parameters and time base; MP4 keeps the
// codecs' set-up data in its header rather than in the stream.
bool VideoEncoder::openEncoder(AVCodecContext* a_codec, const AVCodec* a_encoder,
                               AVStream* a_stream, const char* a_name)
{
    if (m_format->oformat->flags & AVFMT_GLOBALHEADER)
        a_codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(a_codec, a_encoder, nullptr);
    if (result < 0)
        return fail(std::string("cannot open the ") + a_name + " encoder", result);
    result = avcodec_parameters_from_context(a_stream->codecpar, a_codec);
    if (result < 0)
        return fail(std::string("cannot set up the ") + a_name + " stream", result);
    a_stream->time_base = a_codec->time_base;
    return true;
}

bool VideoEncoder::addVideo(const uint8_t* a_pixels, size_t a_pitch)
{
    if (!m_video)
        return true;
    int result = av_frame_make_writable(m_picture);
    if (result < 0)
        return fail("cannot write a picture", result);
    const uint8_t* const planes[1] = {a_pixels};
    const int strides[1] = {static_cast<int>(a_pitch)};
    sws_scale(m_scaler, planes, strides, 0, static_cast<int>(m_height), m_picture->data,
              m_picture->linesize);
    m_picture->pts = m_videoFrames++;
    return encode(m_video, m_videoStream, m_picture);
}

bool VideoEncoder::addAudio(const int16_t* a_samples, size_t a_frames)
{
    if (!m_audio)
        return true;
    m_pendingAudio.insert(m_pendingAudio.end(), a_samples, a_samples + a_frames * kChannels);
    return encodePendingAudio(false);
}

bool VideoEncoder::encodePendingAudio(bool a_all)
{
    const size_t frameSize = static_cast<size_t>(m_audio->frame_size);
    size_t done = 0;
    while (true)
    {
        const size_t left = m_pendingAudio.size() / kChannels - done;
        if (left == 0 || (left < frameSize && !a_all))
            break;
        const size_t count = left < frameSize ? left : frameSize;
        int result = av_frame_make_writable(m_sound);
        if (result < 0)
            return fail("cannot write audio", result);
        const uint8_t* input[1] = {
            reinterpret_cast<const uint8_t*>(m_pendingAudio.data() + done * kChannels)};
        // The last frame of the file may be shorter than the encoder's.
        m_sound->nb_samples = static_cast<int>(count);
        result = swr_convert(m_resampler, m_sound->data, static_cast<int>(count), input,
                             static_cast<int>(count));
        if (result < 0)
            return fail("cannot convert samples", result);
        m_sound->pts = m_audioSamples;
        m_audioSamples += static_cast<int64_t>(count);
        done += count;
        if (!encode(m_audio, m_audioStream, m_sound))
            return false;
    }
    m_pendingAudio.erase(m_pendingAudio.begin(),
                         m_pendingAudio.begin() + static_cast<long>(done * kChannels));
    return true;
}

bool VideoEncoder::encode(AVCodecContext* a_codec, AVStream* a_stream, AVFrame* a_frame)
{
    int result = avcodec_send_frame(a_codec, a_frame);
    if (result < 0)
        return fail("the encoder refused a frame", result);
    while (true)
    {
        result = avcodec_receive_packet(a_codec, m_packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return true;
        if (result < 0)
            return fail("the encoder failed", result);
        av_packet_rescale_ts(m_packet, a_codec->time_base, a_stream->time_base);
        m_packet->stream_index = a_stream->index;
        result = av_interleaved_write_frame(m_format, m_packet);
        if (result < 0)
            return fail("cannot write to the MP4 file", result);
    }
}

bool VideoEncoder::finish()
{
    if (!m_headerWritten)
        return fail("the MP4 file is not open", 0);
    if (m_audio && !encodePendingAudio(true))
        return false;
    if ((m_video && !encode(m_video, m_videoStream, nullptr)) ||
        (m_audio && !encode(m_audio, m_audioStream, nullptr)))
        return false;
    int result = av_write_trailer(m_format);
    if (result < 0)
        return fail("cannot complete the MP4 file", result);
    result = avio_closep(&m_format->pb);
    if (result < 0)
        return fail("cannot close the MP4 file", result);
    close();
    return true;
}

void VideoEncoder::close()
{
    if (m_format && m_format->pb)
        avio_closep(&m_format->pb);
    avformat_free_context(m_format);
    m_format = nullptr;
    avcodec_free_context(&m_video);
    avcodec_free_context(&m_audio);
    av_frame_free(&m_picture);
    av_frame_free(&m_sound);
    av_packet_free(&m_packet);
    sws_freeContext(m_scaler);
    m_scaler = nullptr;
    swr_free(&m_resampler);
    m_headerWritten = false;
}
