// Reads an MP4 file back with FFmpeg's own demuxer and decoders, as a player
// would: the streams' declared values, every picture as 8-bit RGB and the
// sound as interleaved float stereo, the encoder's priming samples dropped.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

class Mp4Reader
{
public:
    // False with m_error set when the file cannot be read or decoded.
    bool read(const std::string& a_path);

    std::string m_error;
    double m_duration = 0.0;       // seconds, as the container states it
    int64_t m_declaredFrames = 0;  // the video stream's frame count
    int m_frameRateNumerator = 0;  // the video stream's average frame rate
    int m_frameRateDenominator = 0;
    std::string m_videoCodec;  // "h264"
    std::string m_audioCodec;  // "aac"
    int m_width = 0;
    int m_height = 0;
    int m_sampleRate = 0;
    std::vector<std::vector<uint8_t>> m_frames;  // decoded pictures, RGB, top row first
    std::vector<double> m_frameTimes;            // their presentation times, seconds
    std::vector<float> m_samples;                // interleaved stereo
};
