// Spectrum magnitudes of the platform's real transform.
#include "Fft256.h"

#include <math.h>

static_assert(Fft256::kSize == RealTransform256::kSize, "one transform size");

Fft256::Fft256()
{
    // The periodic Hann window, which the real library applies unless told
    // not to (BASS_DATA_FFT_NOWINDOW).
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < kSize; ++i)
        m_window[i] = static_cast<float>(0.5 - 0.5 * cos(2.0 * pi * i / kSize));
}

// The real library documents each bin as ranging from 0 to 1 for 16-bit
// data. The largest magnitude a windowed full-scale signal can reach is the
// window's sum (kSize / 2, a constant signal in bin 0), so magnitudes are
// scaled by 2 / kSize: a full-scale sine centred on a bin reads 0.5.
void Fft256::transform(const int16_t* a_samples, uint32_t a_channels, float* a_magnitudes)
{
    float input[kSize];
    for (int i = 0; i < kSize; ++i)
    {
        float sum = 0.0f;
        for (uint32_t c = 0; c < a_channels; ++c)
            sum += a_samples[i * a_channels + c];
        input[i] = sum / (32768.0f * static_cast<float>(a_channels)) * m_window[i];
    }
    float real[kBins + 1];
    float imaginary[kBins + 1];
    m_transform.run(input, real, imaginary);
    const float scale = 2.0f / kSize;
    for (int k = 0; k < kBins; ++k)
        a_magnitudes[k] = scale * hypotf(real[k], imaginary[k]);
}
