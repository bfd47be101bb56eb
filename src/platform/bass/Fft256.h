// The 256-sample spectrum of BASS_DATA_FFT256: Hann-windowed, 128 magnitudes.
#pragma once

#include <stdint.h>

struct kiss_fftr_state;

class Fft256
{
public:
    static constexpr int kSize = 256;
    static constexpr int kBins = kSize / 2;

    Fft256();
    ~Fft256();
    Fft256(const Fft256&) = delete;
    Fft256& operator=(const Fft256&) = delete;

    // a_samples: kSize frames of a_channels interleaved 16-bit samples; the
    // channels are combined into one transform. Writes kBins magnitudes.
    void transform(const int16_t* a_samples, uint32_t a_channels, float* a_magnitudes);

private:
    kiss_fftr_state* m_config;
    float m_window[kSize];
};
