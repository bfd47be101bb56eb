// Writes an MP4 file with FFmpeg's libraries: H.264 video (libx264) from
// the frames as the device reads them back, converted with libswscale, and
// AAC audio from 16-bit stereo samples, converted with libswresample; both
// streams start at 0 and are interleaved by time.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct AVCodec;
struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;
struct SwrContext;
struct SwsContext;

class VideoEncoder
{
public:
    VideoEncoder() = default;
    // Closes without finishing: the file is left incomplete.
    ~VideoEncoder();
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Creates a_path (always as MP4, whatever its name ends in) for a_width x
    // a_height pictures at a_fps and stereo at a_sampleRate, with the streams
    // chosen below. False with m_error set when the file cannot be created or
    // an encoder is missing.
    bool open(const std::string& a_path, uint32_t a_width, uint32_t a_height, uint32_t a_fps,
              uint32_t a_sampleRate);

    // The streams the file holds and how the pictures are encoded; set
    // before open. Parts of one video made on several machines carry no
    // sound, which is encoded once for the whole range (sound only), so that
    // the parts join without a seam in it. Lossless pictures decode to the
    // same 4:2:0 planes whatever frames surround them.
    bool m_withVideo = true;
    bool m_withSound = true;
    bool m_lossless = false;

    // The next video frame: a_height rows of a_width pixels, 4 bytes each in
    // blue, green, red, unused order (X8R8G8B8), top row first, a_pitch
    // bytes apart.
    bool addVideo(const uint8_t* a_pixels, size_t a_pitch);
    // Both do nothing for a stream the file does not hold.
    // The next a_frames sample frames, interleaved left and right.
    bool addAudio(const int16_t* a_samples, size_t a_frames);

    // Drains both encoders and completes the file. False with m_error set.
    bool finish();

    std::string m_error;

private:
    bool openVideo(uint32_t a_width, uint32_t a_height, uint32_t a_fps);
    bool openAudio(uint32_t a_sampleRate);
    bool openEncoder(AVCodecContext* a_codec, const AVCodec* a_encoder, AVStream* a_stream,
                     const char* a_name);
    // Sends a_frame (null: drain) to a_codec and writes what comes out.
    bool encode(AVCodecContext* a_codec, AVStream* a_stream, AVFrame* a_frame);
    // Encodes whole encoder frames of m_pendingAudio; with a_all also the
    // shorter rest.
    bool encodePendingAudio(bool a_all);
    bool fail(const std::string& a_what, int a_code);
    void close();

    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_video = nullptr;
    AVCodecContext* m_audio = nullptr;
    AVStream* m_videoStream = nullptr;
    AVStream* m_audioStream = nullptr;
    AVFrame* m_picture = nullptr;  // 4:2:0 planes for the encoder
    AVFrame* m_sound = nullptr;    // planar float samples for the encoder
    AVPacket* m_packet = nullptr;
    SwsContext* m_scaler = nullptr;
    SwrContext* m_resampler = nullptr;
    std::vector<int16_t> m_pendingAudio;  // interleaved, not yet a whole encoder frame
    int64_t m_videoFrames = 0;
    int64_t m_audioSamples = 0;  // sample frames handed to the encoder
    uint32_t m_width = 0;
    uint32_t m_height = 0;
    bool m_headerWritten = false;
};
