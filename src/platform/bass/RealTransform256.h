// The discrete Fourier transform of 256 real samples behind Fft256: kissfft
// on Linux, our own radix-2 transform on Windows, where mingw-w64 has no
// kissfft.
#pragma once

class RealTransform256
{
public:
    static constexpr int kSize = 256;

    RealTransform256();
    ~RealTransform256();
    RealTransform256(const RealTransform256&) = delete;
    RealTransform256& operator=(const RealTransform256&) = delete;

    // Bins 0 to kSize / 2 of the unscaled transform of a_input, as real and
    // imaginary parts.
    void run(const float* a_input, float* a_real, float* a_imaginary);

private:
    void* m_state;
};
