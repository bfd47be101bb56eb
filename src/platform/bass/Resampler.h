// Converts a stream's 16-bit samples, at its own rate and channel count, to
// the output's rate in stereo, with libswresample: its polyphase filter
// keeps exact fractional time, so no sample is lost or added however long
// a stream plays.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct SwrContext;

class Resampler
{
public:
    Resampler() = default;
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // Opening: a_channels (1 or 2) at a_inputRate to stereo at a_outputRate.
    // A mono stream plays at full level on both sides, as the real library
    // plays it. Returns false when libswresample refuses the conversion.
    bool open(uint32_t a_inputRate, uint32_t a_channels, uint32_t a_outputRate);

    // Conversion: hands the resampler a_frames input frames and takes up to
    // a_space output frames; returns the output frames written. Input it
    // cannot turn into output yet stays inside (a_frames may be 0 to take
    // only what it holds).
    size_t convert(const int16_t* a_input, size_t a_frames, int16_t* a_output, size_t a_space);

private:
    SwrContext* m_context = nullptr;
};
