// A stream's play state and its decoded samples.
#include "Stream.h"

#include "Fft256.h"

#include <string.h>

#include <algorithm>
#include <limits>

namespace
{

// Decoded samples kept per stream: enough for an output buffer of up to 16384
// frames between the frames rendered and the frames heard, plus the spectrum
// window ahead of them.
constexpr uint64_t kRingFrames = 65536;
constexpr uint64_t kChunkFrames = 4096;
constexpr uint64_t kUnknown = std::numeric_limits<uint64_t>::max();

}

Stream::Stream(std::unique_ptr<Decoder> a_decoder, bool a_loop)
    : m_decoder(std::move(a_decoder)), m_loop(a_loop), m_length(m_decoder->length()),
      m_endPlayed(kUnknown), m_ring(kRingFrames * m_decoder->channels())
{
}

void Stream::start(uint64_t a_deviceStart)
{
    if (m_decoderFrame != 0 && m_decoder->rewind())
        m_decoderFrame = 0;
    m_playing = true;
    m_deviceStart = a_deviceStart;
    m_rendered = 0;
    m_decoded = 0;
    m_endPlayed = kUnknown;
}

void Stream::render(int32_t* a_mix, size_t a_frames)
{
    const uint32_t count = channels();
    size_t done = 0;
    while (done < a_frames)
    {
        const uint64_t index = m_rendered % kRingFrames;
        const size_t chunk = static_cast<size_t>(
            std::min<uint64_t>({a_frames - done, kChunkFrames, kRingFrames - index}));
        decodeTo(m_rendered + chunk + Fft256::kSize);
        if (a_mix)
        {
            const int16_t* source = &m_ring[index * count];
            int32_t* target = a_mix + done * 2;
            for (size_t i = 0; i < chunk; ++i)
            {
                target[2 * i] += source[i * count];
                target[2 * i + 1] += source[i * count + count - 1];
            }
        }
        m_rendered += chunk;
        done += chunk;
    }
}

uint64_t Stream::position(uint64_t a_heard) const
{
    if (m_length == 0)
        return 0;
    return m_loop ? a_heard % m_length : std::min(a_heard, m_length);
}

bool Stream::ended(uint64_t a_heard) const
{
    return !m_loop && a_heard >= std::min(m_length, m_endPlayed);
}

void Stream::window(uint64_t a_heard, int16_t* a_samples)
{
    const uint32_t count = channels();
    decodeTo(a_heard + Fft256::kSize);
    for (uint64_t i = 0; i < Fft256::kSize; ++i)
    {
        const uint64_t frame = a_heard + i;
        int16_t* target = a_samples + i * count;
        if (frame + kRingFrames < m_decoded)
            memset(target, 0, count * sizeof(int16_t));
        else
            memcpy(target, &m_ring[(frame % kRingFrames) * count], count * sizeof(int16_t));
    }
}

// Decodes ahead, in play order: at the file's end a looping stream rewinds
// the decoder and carries on, any other stream continues in silence.
void Stream::decodeTo(uint64_t a_end)
{
    const uint32_t count = channels();
    while (m_decoded < a_end)
    {
        const uint64_t index = m_decoded % kRingFrames;
        const size_t chunk = static_cast<size_t>(
            std::min<uint64_t>({a_end - m_decoded, kChunkFrames, kRingFrames - index}));
        int16_t* target = &m_ring[index * count];
        if (m_decoded >= m_endPlayed)
        {
            memset(target, 0, chunk * count * sizeof(int16_t));
            m_decoded += chunk;
            continue;
        }
        const size_t got = m_decoder->read(target, chunk);
        if (got == 0)
        {
            if (m_decoderFrame != 0)
                m_length = m_decoderFrame;
            if (m_loop && m_decoderFrame != 0 && m_decoder->rewind())
                m_decoderFrame = 0;
            else
                m_endPlayed = m_decoded;
            continue;
        }
        m_decoded += got;
        m_decoderFrame += got;
    }
}
