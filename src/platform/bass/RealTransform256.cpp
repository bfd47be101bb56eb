// The real transform with kissfft.
#include "RealTransform256.h"

#include <kiss_fftr.h>

RealTransform256::RealTransform256() : m_state(kiss_fftr_alloc(kSize, 0, nullptr, nullptr)) {}

RealTransform256::~RealTransform256()
{
    kiss_fftr_free(static_cast<kiss_fftr_cfg>(m_state));
}

void RealTransform256::run(const float* a_input, float* a_real, float* a_imaginary)
{
    kiss_fft_cpx output[kSize / 2 + 1];
    kiss_fftr(static_cast<kiss_fftr_cfg>(m_state), a_input, output);
    for (int k = 0; k <= kSize / 2; ++k)
    {
        a_real[k] = output[k].r;
        a_imaginary[k] = output[k].i;
    }
}
