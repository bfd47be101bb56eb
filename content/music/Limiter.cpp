// The master bus's final limiter: looks ahead so that no sample exceeds the ceiling, without clipping.
#include "Limiter.h"

#include "StereoBuffer.h"
#include "Tempo.h"

#include "core/Assert.h"

#include <math.h>

#include <deque>
#include <vector>

Limiter::Limiter(float a_ceiling, float a_lookahead, float a_release)
    : m_ceiling(a_ceiling), m_lookahead(a_lookahead), m_release(a_release)
{
    TARVO_ASSERT(a_ceiling > 0.0f && a_ceiling <= 1.0f && a_lookahead > 0.0f && a_release > 0.0f);
}

// The song is rendered whole, so the limiter can see the future directly instead of
// delaying the signal. Three steps, each keeping gain[n] <= needed[n] for every n:
//  1. needed[n]: the gain that brings frame n down to the ceiling (1 if it is below);
//  2. the minimum of needed over the next `window` frames, averaged over the last
//     `window` frames: a smooth ramp that has fully arrived when the peak comes,
//     since every term of the average at a peak is at most the peak's own need;
//  3. a release that lets the gain rise back towards 1 no faster than an exponential.
void Limiter::process(StereoBuffer& a_buffer) const
{
    const size_t frames = a_buffer.frames();
    const size_t window = Tempo::frames(m_lookahead) > 0 ? Tempo::frames(m_lookahead) : 1;
    float* left = a_buffer.left();
    float* right = a_buffer.right();

    std::vector<float> needed(frames);
    for (size_t i = 0; i < frames; ++i)
    {
        const float peak = fmaxf(fabsf(left[i]), fabsf(right[i]));
        needed[i] = peak > m_ceiling ? m_ceiling / peak : 1.0f;
    }

    // Minimum over [n, n + window) by a monotonic queue of candidate indices.
    std::vector<float> ahead(frames);
    std::deque<size_t> queue;
    for (size_t j = 0; j < frames + window; ++j)
    {
        if (j < frames)
        {
            while (!queue.empty() && needed[queue.back()] >= needed[j])
                queue.pop_back();
            queue.push_back(j);
        }
        if (j + 1 >= window)
        {
            const size_t n = j + 1 - window;
            if (n >= frames)
                break;
            while (queue.front() < n)
                queue.pop_front();
            ahead[n] = needed[queue.front()];
        }
    }

    const float release = expf(-1.0f / (m_release * Tempo::kSampleRate));
    // Frames before the start count as unity gain in the average.
    double sum = static_cast<double>(window);
    float gain = 1.0f;
    for (size_t n = 0; n < frames; ++n)
    {
        sum += ahead[n];
        sum -= n >= window ? ahead[n - window] : 1.0;
        const float ramp = static_cast<float>(sum / static_cast<double>(window));
        gain = fminf(ramp, 1.0f - (1.0f - gain) * release);
        // Rounding in the running sum must never let a sample past the ceiling.
        left[n] = fminf(fmaxf(left[n] * gain, -m_ceiling), m_ceiling);
        right[n] = fminf(fmaxf(right[n] * gain, -m_ceiling), m_ceiling);
    }
}
