// One stream channel: its decoder, its play state and the decoded samples
// around the position being heard, kept so the spectrum can be read there.
#pragma once

#include "Decoder.h"

#include <stdint.h>

#include <memory>
#include <vector>

class Stream
{
public:
    Stream(std::unique_ptr<Decoder> a_decoder, bool a_loop);

    // Format: 16-bit samples at the file's rate and channel count.
    uint32_t rate() const { return m_decoder->rate(); }
    uint32_t channels() const { return m_decoder->channels(); }
    uint32_t bytesPerFrame() const { return channels() * 2; }

    // Play state. Positions below count "played frames": sample frames
    // since the current play began, which run on past a loop's end.
    bool playing() const { return m_playing; }
    // Plays from the start; played frame 0 is heard at device frame a_deviceStart.
    void start(uint64_t a_deviceStart);
    uint64_t deviceStart() const { return m_deviceStart; }

    // Output: takes the next a_frames played frames and adds them to a
    // stereo mix (a null mix discards them).
    void render(int32_t* a_mix, size_t a_frames);
    uint64_t rendered() const { return m_rendered; }  // played frames

    // The stream at played frame a_heard: its position in sample frames,
    // whether a stream without BASS_SAMPLE_LOOP has ended there, and the
    // Fft256::kSize frames from there on (zeros past the end).
    uint64_t position(uint64_t a_heard) const;
    bool ended(uint64_t a_heard) const;
    void window(uint64_t a_heard, int16_t* a_samples);

private:
    void decodeTo(uint64_t a_end);

    std::unique_ptr<Decoder> m_decoder;
    bool m_loop;
    uint64_t m_length;  // sample frames; made exact when the decoder reaches the end
    bool m_playing = false;
    uint64_t m_deviceStart = 0;   // device frame at which played frame 0 is heard
    uint64_t m_rendered = 0;      // played frames handed to the output
    uint64_t m_decoded = 0;       // played frames in m_ring, which holds the last kRingFrames
    uint64_t m_decoderFrame = 0;  // sample frame the decoder continues at
    uint64_t m_endPlayed;         // played frame where a stream without loop ends; unknown: max
    std::vector<int16_t> m_ring;
};
