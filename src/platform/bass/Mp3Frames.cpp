// MPEG audio frame headers (ISO/IEC 11172-3 and 13818-3, layer III only).
#include "Mp3Frames.h"

#include <string.h>

namespace
{

struct Header
{
    uint32_t version;  // 0: MPEG 2.5, 2: MPEG 2, 3: MPEG 1 (the header's two bits)
    uint32_t bitrate;  // kilobits per second
    uint32_t rate;     // samples per second
    uint32_t channels;
    uint32_t size;      // bytes of the whole frame
    uint32_t sideInfo;  // bytes of side information after the header
};

// Kilobits per second by bitrate index; 0 (free format) and 15 are refused.
const uint32_t kBitratesMpeg1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                     112, 128, 160, 192, 224, 256, 320, 0};
const uint32_t kBitratesMpeg2[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                     64, 80, 96, 112, 128, 144, 160, 0};
// Samples per second by sample rate index, for MPEG 1; MPEG 2 halves them and
// MPEG 2.5 quarters them. Index 3 is reserved.
const uint32_t kRatesMpeg1[3] = {44100, 48000, 32000};

bool parse(const uint8_t* a_bytes, size_t a_available, Header& a_header)
{
    if (a_available < 4 || a_bytes[0] != 0xFF || (a_bytes[1] & 0xE0) != 0xE0)
        return false;
    const uint32_t version = (a_bytes[1] >> 3) & 3;
    const uint32_t layer = (a_bytes[1] >> 1) & 3;
    const uint32_t bitrateIndex = a_bytes[2] >> 4;
    const uint32_t rateIndex = (a_bytes[2] >> 2) & 3;
    const uint32_t padding = (a_bytes[2] >> 1) & 1;
    const bool mono = (a_bytes[3] >> 6) == 3;
    if (version == 1 || layer != 1 || rateIndex == 3)
        return false;
    const bool mpeg1 = version == 3;
    a_header.version = version;
    a_header.bitrate = (mpeg1 ? kBitratesMpeg1 : kBitratesMpeg2)[bitrateIndex];
    if (a_header.bitrate == 0)
        return false;
    a_header.rate = kRatesMpeg1[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    a_header.channels = mono ? 1 : 2;
    a_header.size = (mpeg1 ? 144000 : 72000) * a_header.bitrate / a_header.rate + padding;
    a_header.sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    return a_header.size <= a_available;
}

// The frame an encoder writes first with the stream's length and gapless
// information, in place of audio.
bool isInfoFrame(const uint8_t* a_frame, const Header& a_header)
{
    const size_t tag = 4 + a_header.sideInfo;
    if (tag + 4 > a_header.size)
        return false;
    return memcmp(a_frame + tag, "Xing", 4) == 0 || memcmp(a_frame + tag, "Info", 4) == 0;
}

// The LAME tag after the Xing or Info header: the header's flags say which
// of the frame count (4 bytes), byte count (4), seek table (100) and quality
// (4) follow; then the encoder's name, and 21 bytes into the tag the
// encoder's delay and padding, 12 bits each. Only LAME and the FFmpeg
// encoders built on it write the tag.
bool readLameTag(const uint8_t* a_frame, const Header& a_header, uint32_t* a_delay,
                 uint32_t* a_padding)
{
    const size_t xing = 4 + a_header.sideInfo;
    if (xing + 8 > a_header.size)
        return false;
    const uint32_t flags = uint32_t(a_frame[xing + 4]) << 24 | uint32_t(a_frame[xing + 5]) << 16 |
                           uint32_t(a_frame[xing + 6]) << 8 | a_frame[xing + 7];
    const size_t lame = xing + 8 + ((flags & 1) ? 4 : 0) + ((flags & 2) ? 4 : 0) +
                        ((flags & 4) ? 100 : 0) + ((flags & 8) ? 4 : 0);
    if (lame + 24 > a_header.size)
        return false;
    const uint8_t* tag = a_frame + lame;
    if (memcmp(tag, "LAME", 4) != 0 && memcmp(tag, "Lavc", 4) != 0 && memcmp(tag, "Lavf", 4) != 0)
        return false;
    *a_delay = uint32_t(tag[21]) << 4 | tag[22] >> 4;
    *a_padding = uint32_t(tag[22] & 0x0F) << 8 | tag[23];
    return true;
}

// An ID3v2 tag: "ID3", version, flags, and its size in four 7-bit bytes,
// plus a footer of 10 bytes when flag bit 4 says so.
size_t id3v2Size(const uint8_t* a_data, size_t a_size)
{
    if (a_size < 10 || memcmp(a_data, "ID3", 3) != 0)
        return 0;
    size_t size = 0;
    for (int i = 6; i < 10; ++i)
    {
        if (a_data[i] & 0x80)
            return 0;
        size = size << 7 | a_data[i];
    }
    return 10 + size + ((a_data[5] & 0x10) ? 10 : 0);
}

}

bool Mp3Frames::scan(const uint8_t* a_data, size_t a_size)
{
    m_frames.clear();
    size_t offset = id3v2Size(a_data, a_size);
    if (offset >= a_size)
        return false;

    // The first frame is the first header whose frame is followed by
    // another header of the same version and rate (or by the end of the
    // file), so that a stray sync pattern in a tag does not start the walk.
    Header first = {};
    for (;; ++offset)
    {
        if (offset + 4 > a_size)
            return false;
        if (!parse(a_data + offset, a_size - offset, first))
            continue;
        const size_t next = offset + first.size;
        Header second = {};
        if (next == a_size || (parse(a_data + next, a_size - next, second) &&
                               second.version == first.version && second.rate == first.rate))
            break;
    }

    m_rate = first.rate;
    m_channels = first.channels;
    m_bitrate = first.bitrate;
    m_samplesPerFrame = first.version == 3 ? 1152 : 576;
    m_encoderDelay = 0;
    m_encoderPadding = 0;
    if (isInfoFrame(a_data + offset, first))
    {
        if (!readLameTag(a_data + offset, first, &m_encoderDelay, &m_encoderPadding))
            m_encoderDelay = m_encoderPadding = 0;
        offset += first.size;
    }

    Header header = {};
    while (parse(a_data + offset, a_size - offset, header) && header.version == first.version &&
           header.rate == first.rate && header.channels == first.channels)
    {
        m_frames.push_back(Frame{offset, header.size});
        offset += header.size;
    }
    return !m_frames.empty();
}
