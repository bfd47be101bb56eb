// Rate conversion on Windows. FIXME: libswresample is not built for
// mingw-w64 here, and ACM's PCM converter is not wired in yet: a song at
// another rate or channel count than the output's is refused, and BASS
// answers BASS_ERROR_FORMAT for it, as the layer did before it converted.
#include "Resampler.h"

Resampler::~Resampler() = default;

bool Resampler::open(uint32_t, uint32_t, uint32_t)
{
    return false;
}

size_t Resampler::convert(const int16_t*, size_t, int16_t*, size_t)
{
    return 0;
}
