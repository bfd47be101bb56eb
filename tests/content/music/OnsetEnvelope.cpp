// The level of a signal over time in short hops, and the rises of that level that the ear hears as hits.
#include "OnsetEnvelope.h"

#include <math.h>

#include <algorithm>

OnsetEnvelope::OnsetEnvelope(const std::vector<float>& a_signal, size_t a_hop, double a_rate)
    : m_hopSeconds(static_cast<double>(a_hop) / a_rate)
{
    for (size_t start = 0; start + a_hop <= a_signal.size(); start += a_hop)
    {
        double sum = 0.0;
        for (size_t i = start; i < start + a_hop; ++i)
            sum += static_cast<double>(a_signal[i]) * a_signal[i];
        m_levels.push_back(10.0 * log10(sum / static_cast<double>(a_hop) + 1.0e-12));
    }
}

double OnsetEnvelope::rise(size_t a_hop) const
{
    // Before the signal starts there is silence, so a hit on its first hop counts in full.
    constexpr double kSilence = -120.0;
    const size_t nearest = static_cast<size_t>(ceil(0.012 / m_hopSeconds));
    const size_t farthest = static_cast<size_t>(ceil(0.035 / m_hopSeconds));
    if (a_hop >= m_levels.size())
        return 0.0;
    double before = kSilence;
    for (size_t back = nearest; back <= farthest && back <= a_hop; ++back)
        before = std::max(before, m_levels[a_hop - back]);
    return std::max(0.0, m_levels[a_hop] - before);
}

double OnsetEnvelope::strongestRise(double a_seconds, double a_before, double a_after) const
{
    double result = 0.0;
    for (size_t hop = hopAt(a_seconds - a_before); hop <= hopAt(a_seconds + a_after); ++hop)
        result = std::max(result, rise(hop));
    return result;
}

double OnsetEnvelope::tempo(double a_minimum, double a_maximum, double a_from, double a_to) const
{
    std::vector<double> rises;
    for (size_t hop = hopAt(a_from); hop < hopAt(a_to); ++hop)
        rises.push_back(rise(hop));
    const size_t longest = static_cast<size_t>(ceil(4.0 * 60.0 / a_minimum / m_hopSeconds)) + 1;
    std::vector<double> correlation(longest + 1, 0.0);
    for (size_t lag = 0; lag <= longest && lag < rises.size(); ++lag)
    {
        double sum = 0.0;
        for (size_t i = lag; i < rises.size(); ++i)
            sum += rises[i] * rises[i - lag];
        correlation[lag] = sum / static_cast<double>(rises.size() - lag);
    }
    // A beat period repeats at its multiples too; adding the correlation at one to
    // four periods sharpens the peak to a quarter of a hop.
    double best = a_minimum;
    double bestScore = -1.0;
    for (double bpm = a_minimum; bpm <= a_maximum; bpm += 0.05)
    {
        const double period = 60.0 / bpm / m_hopSeconds;
        double score = 0.0;
        for (int multiple = 1; multiple <= 4; ++multiple)
            score += correlation[static_cast<size_t>(llround(multiple * period))];
        if (score > bestScore)
        {
            bestScore = score;
            best = bpm;
        }
    }
    return best;
}

double OnsetEnvelope::phase(double a_period, double a_from, double a_to) const
{
    double bestPhase = 0.0;
    double bestSum = -1.0;
    for (double offset = 0.0; offset < a_period; offset += m_hopSeconds)
    {
        double sum = 0.0;
        for (double t = a_from + offset; t < a_to; t += a_period)
            sum += rise(hopAt(t));
        if (sum > bestSum)
        {
            bestSum = sum;
            bestPhase = offset;
        }
    }
    return bestPhase;
}

size_t OnsetEnvelope::hopAt(double a_seconds) const
{
    const double hop = floor(std::max(0.0, a_seconds) / m_hopSeconds + 0.5);
    return std::min(static_cast<size_t>(hop), m_levels.size() - 1);
}
