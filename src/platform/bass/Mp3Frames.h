// The frames of an MP3 file in memory: where each MPEG audio layer III frame
// starts, how long it is and what it holds, found by walking the frame
// headers. An ID3v2 tag before the first frame and the Xing or Info frame an
// encoder writes first (no audio) are skipped; the walk ends at the first
// bytes that are not a whole frame of the same stream (an ID3v1 tag, damage).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

class Mp3Frames
{
public:
    struct Frame
    {
        size_t offset;  // bytes into the file
        uint32_t size;  // bytes
    };

    // False when the file holds no layer III frame.
    bool scan(const uint8_t* a_data, size_t a_size);

    // The stream's format, from its first frame.
    uint32_t rate() const { return m_rate; }
    uint32_t channels() const { return m_channels; }
    uint32_t bitrate() const { return m_bitrate; }  // kilobits per second of the first frame
    uint32_t samplesPerFrame() const { return m_samplesPerFrame; }
    const std::vector<Frame>& frames() const { return m_frames; }
    // The samples the encoder added before and after the audio, from the
    // LAME tag of the Info frame; 0 and 0 without one. mpg123 trims them
    // (and the synthesis filter's delay), so the audio starts where the
    // encoder's input started.
    uint32_t encoderDelay() const { return m_encoderDelay; }
    uint32_t encoderPadding() const { return m_encoderPadding; }

private:
    std::vector<Frame> m_frames;
    uint32_t m_rate = 0;
    uint32_t m_channels = 0;
    uint32_t m_bitrate = 0;
    uint32_t m_samplesPerFrame = 0;
    uint32_t m_encoderDelay = 0;
    uint32_t m_encoderPadding = 0;
};
