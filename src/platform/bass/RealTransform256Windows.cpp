// The real transform as an iterative radix-2 complex FFT with the imaginary
// parts zero: 256 points, 8 passes of butterflies over a bit-reversed copy.
#include "RealTransform256.h"

#include <math.h>

namespace
{

constexpr int kBits = 8;
static_assert(1 << kBits == RealTransform256::kSize, "kBits is log2 of the size");

int reversed(int a_index)
{
    int result = 0;
    for (int bit = 0; bit < kBits; ++bit)
        result |= ((a_index >> bit) & 1) << (kBits - 1 - bit);
    return result;
}

}

RealTransform256::RealTransform256() : m_state(nullptr) {}

RealTransform256::~RealTransform256() = default;

// Forward transform, X[k] = sum x[n] e^(-2 pi i k n / N), as kissfft computes it.
void RealTransform256::run(const float* a_input, float* a_real, float* a_imaginary)
{
    double real[kSize];
    double imaginary[kSize];
    for (int n = 0; n < kSize; ++n)
    {
        real[reversed(n)] = a_input[n];
        imaginary[reversed(n)] = 0.0;
    }
    const double pi = 3.14159265358979323846;
    for (int span = 2; span <= kSize; span *= 2)
    {
        const double step = -2.0 * pi / span;
        for (int start = 0; start < kSize; start += span)
            for (int k = 0; k < span / 2; ++k)
            {
                const double wr = cos(step * k);
                const double wi = sin(step * k);
                const int even = start + k;
                const int odd = even + span / 2;
                const double tr = wr * real[odd] - wi * imaginary[odd];
                const double ti = wr * imaginary[odd] + wi * real[odd];
                real[odd] = real[even] - tr;
                imaginary[odd] = imaginary[even] - ti;
                real[even] += tr;
                imaginary[even] += ti;
            }
    }
    for (int k = 0; k <= kSize / 2; ++k)
    {
        a_real[k] = static_cast<float>(real[k]);
        a_imaginary[k] = static_cast<float>(imaginary[k]);
    }
}
