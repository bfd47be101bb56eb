// The 256-sample spectrum of BASS_DATA_FFT256: Hann-windowed, 128 magnitudes.
#pragma once

#include "RealTransform256.h"

#include <stdint.h>

class Fft256
{
public:
    static constexpr int kSize = 256;
    static constexpr int kBins = kSize / 2;

    Fft256();

    // a_samples: kSize frames of a_channels interleaved 16-bit samples; the
    // channels are combined into one transform. Writes kBins magnitudes.
    void transform(const int16_t* a_samples, uint32_t a_channels, float* a_magnitudes);

private:
    RealTransform256 m_transform;
    float m_window[kSize];
};
