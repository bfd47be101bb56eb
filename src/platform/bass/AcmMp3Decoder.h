// Decodes an MP3 file to 16-bit samples with the MP3 codec of Windows'
// audio compression manager (ACM), which Windows and Wine both ship.
#pragma once

#include "Decoder.h"
#include "Mp3Frames.h"

#include <windows.h>
// mmreg.h and msacm.h need windows.h first.
#include <mmreg.h>
#include <msacm.h>

#include <vector>

class AcmMp3Decoder : public Decoder
{
public:
    AcmMp3Decoder(const BASS_FILEPROCS& a_procs, void* a_user);
    ~AcmMp3Decoder() override;
    AcmMp3Decoder(const AcmMp3Decoder&) = delete;
    AcmMp3Decoder& operator=(const AcmMp3Decoder&) = delete;

    int open(bool a_prescan) override;
    uint32_t rate() const override { return m_frames.rate(); }
    uint32_t channels() const override { return m_frames.channels(); }
    uint64_t length() const override { return m_length; }
    size_t read(int16_t* a_samples, size_t a_frames) override;
    bool rewind() override;

private:
    bool readFile();
    bool openCodec();
    void closeCodec();
    // Converts the next frames of the file into m_pcm; false at the end.
    bool decodeMore();

    BASS_FILEPROCS m_procs;
    void* m_user;
    std::vector<uint8_t> m_file;  // the whole file, read once at open
    Mp3Frames m_frames;
    uint64_t m_length = 0;  // sample frames, after the trim
    // The codec yields every frame's samples, with the encoder's delay and
    // the synthesis filter's in front; they are dropped, and the padding at
    // the end is cut, so the audio lines up with mpg123's gapless decoding.
    uint64_t m_leadIn = 0;     // sample frames dropped at the start
    uint64_t m_toDrop = 0;     // of the lead-in, still to drop
    uint64_t m_delivered = 0;  // sample frames read out since the start
    HACMSTREAM m_codec = nullptr;
    bool m_started = false;      // the codec has been given its first block
    size_t m_nextFrame = 0;      // index into m_frames.frames()
    std::vector<int16_t> m_pcm;  // decoded and not yet read
    size_t m_pcmRead = 0;        // samples of m_pcm already read
};
