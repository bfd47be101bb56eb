// MP3 decoding through ACM: the frames found by Mp3Frames are handed to the
// codec a few at a time, and its PCM is read out as the stream asks.
#include "AcmMp3Decoder.h"

#include <string.h>

#include <algorithm>

namespace
{

// Compressed frames given to the codec per conversion.
constexpr size_t kFramesPerConversion = 16;
// Files above this are refused rather than read into memory (bytes).
constexpr uint64_t kMaxFileBytes = 256u << 20;
// The layer III synthesis filter bank's delay (sample frames), which
// decoders that honour the encoder's delay remove along with it.
constexpr uint64_t kDecoderDelay = 529;

}

std::unique_ptr<Decoder> Decoder::createMp3(const BASS_FILEPROCS& a_procs, void* a_user)
{
    return std::unique_ptr<Decoder>(new AcmMp3Decoder(a_procs, a_user));
}

AcmMp3Decoder::AcmMp3Decoder(const BASS_FILEPROCS& a_procs, void* a_user)
    : m_procs(a_procs), m_user(a_user)
{
}

AcmMp3Decoder::~AcmMp3Decoder()
{
    closeCodec();
    // The real library calls the close procedure once, when the stream goes.
    m_procs.close(m_user);
}

// The file is read whole, so that the frame walk and the codec work on
// memory. The length comes from the frame count either way: with the file in
// memory a prescan costs nothing, and the length is exact with or without it.
int AcmMp3Decoder::open(bool)
{
    if (!readFile() || !m_frames.scan(m_file.data(), m_file.size()))
        return BASS_ERROR_FILEFORM;
    const uint64_t coded = uint64_t(m_frames.frames().size()) * m_frames.samplesPerFrame();
    const uint64_t trimmed = uint64_t(m_frames.encoderDelay()) + m_frames.encoderPadding();
    // Without a LAME tag, or with one that claims more than the frames
    // hold, every sample is kept.
    const bool gapless = trimmed > 0 && trimmed < coded;
    m_length = gapless ? coded - trimmed : coded;
    m_leadIn = gapless ? m_frames.encoderDelay() + kDecoderDelay : 0;
    if (!openCodec())
        return BASS_ERROR_FILEFORM;
    return BASS_OK;
}

bool AcmMp3Decoder::readFile()
{
    const QWORD length = m_procs.length(m_user);
    if (length == 0 || length > kMaxFileBytes || !m_procs.seek(0, m_user))
        return false;
    m_file.resize(static_cast<size_t>(length));
    size_t done = 0;
    while (done < m_file.size())
    {
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(m_file.size() - done, 1u << 20));
        const DWORD got = m_procs.read(m_file.data() + done, wanted, m_user);
        if (got == static_cast<DWORD>(-1) || got == 0 || got > wanted)
            return false;
        done += got;
    }
    return true;
}

bool AcmMp3Decoder::openCodec()
{
    MPEGLAYER3WAVEFORMAT mp3 = {};
    mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    mp3.wfx.nChannels = static_cast<WORD>(m_frames.channels());
    mp3.wfx.nSamplesPerSec = m_frames.rate();
    mp3.wfx.nAvgBytesPerSec = m_frames.bitrate() * 1000 / 8;
    mp3.wfx.nBlockAlign = 1;
    mp3.wfx.wBitsPerSample = 0;
    mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    mp3.wID = MPEGLAYER3_ID_MPEG;
    mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    mp3.nBlockSize = static_cast<WORD>(m_frames.frames().front().size);
    mp3.nFramesPerBlock = 1;
    mp3.nCodecDelay = 0;

    WAVEFORMATEX pcm = {};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = mp3.wfx.nChannels;
    pcm.nSamplesPerSec = mp3.wfx.nSamplesPerSec;
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = static_cast<WORD>(pcm.nChannels * 2);
    pcm.nAvgBytesPerSec = pcm.nSamplesPerSec * pcm.nBlockAlign;

    m_started = false;
    m_nextFrame = 0;
    m_pcm.clear();
    m_pcmRead = 0;
    m_toDrop = m_leadIn;
    m_delivered = 0;
    return acmStreamOpen(&m_codec, nullptr, &mp3.wfx, &pcm, nullptr, 0, 0,
                         ACM_STREAMOPENF_NONREALTIME) == 0;
}

void AcmMp3Decoder::closeCodec()
{
    if (m_codec)
        acmStreamClose(m_codec, 0);
    m_codec = nullptr;
}

size_t AcmMp3Decoder::read(int16_t* a_samples, size_t a_frames)
{
    const size_t channels = m_frames.channels();
    size_t done = 0;
    while (done < a_frames && m_delivered < m_length)
    {
        if (m_pcmRead == m_pcm.size() && !decodeMore())
            break;
        const size_t available = (m_pcm.size() - m_pcmRead) / channels;
        if (m_toDrop > 0)
        {
            const size_t dropped = size_t(std::min<uint64_t>(available, m_toDrop));
            m_pcmRead += dropped * channels;
            m_toDrop -= dropped;
            continue;
        }
        const size_t taken = size_t(std::min<uint64_t>(std::min<size_t>(available, a_frames - done),
                                                       m_length - m_delivered));
        memcpy(a_samples + done * channels, m_pcm.data() + m_pcmRead,
               taken * channels * sizeof(int16_t));
        m_pcmRead += taken * channels;
        m_delivered += taken;
        done += taken;
    }
    return done;
}

// The codec keeps state from frame to frame (the bit reservoir, the
// synthesis filter), so going back to the start opens it afresh.
bool AcmMp3Decoder::rewind()
{
    closeCodec();
    return openCodec();
}

bool AcmMp3Decoder::decodeMore()
{
    const std::vector<Mp3Frames::Frame>& frames = m_frames.frames();
    while (m_codec && m_nextFrame < frames.size())
    {
        // Frames lie back to back, so a run of them is one block of bytes.
        const size_t last = std::min(frames.size(), m_nextFrame + kFramesPerConversion) - 1;
        const size_t begin = frames[m_nextFrame].offset;
        const size_t end = frames[last].offset + frames[last].size;
        DWORD capacity = 0;
        if (acmStreamSize(m_codec, static_cast<DWORD>(end - begin), &capacity,
                          ACM_STREAMSIZEF_SOURCE) != 0)
            capacity = 0;
        // Room for every frame's samples, whatever the codec estimates.
        const DWORD needed =
            static_cast<DWORD>((last - m_nextFrame + 2) * m_frames.samplesPerFrame() *
                               m_frames.channels() * sizeof(int16_t));
        std::vector<uint8_t> output(std::max(capacity, needed));

        ACMSTREAMHEADER header = {};
        header.cbStruct = sizeof(header);
        header.pbSrc = m_file.data() + begin;
        header.cbSrcLength = static_cast<DWORD>(end - begin);
        header.pbDst = output.data();
        header.cbDstLength = static_cast<DWORD>(output.size());
        if (acmStreamPrepareHeader(m_codec, &header, 0) != 0)
            return false;
        const DWORD flags =
            ACM_STREAMCONVERTF_BLOCKALIGN | (m_started ? 0 : ACM_STREAMCONVERTF_START);
        const MMRESULT converted = acmStreamConvert(m_codec, &header, flags);
        acmStreamUnprepareHeader(m_codec, &header, 0);
        if (converted != 0 || header.cbSrcLengthUsed == 0)
            return false;
        m_started = true;

        // The codec may leave the end of the block for the next call; the
        // frame index moves on by the frames it took whole.
        const size_t used = begin + header.cbSrcLengthUsed;
        while (m_nextFrame <= last && frames[m_nextFrame].offset + frames[m_nextFrame].size <= used)
            ++m_nextFrame;
        const size_t samples = header.cbDstLengthUsed / sizeof(int16_t);
        m_pcm.resize(samples);
        memcpy(m_pcm.data(), output.data(), samples * sizeof(int16_t));
        m_pcmRead = 0;
        if (samples != 0)
            return true;
    }
    return false;
}
