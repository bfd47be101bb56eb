// The level of a signal over time in short hops, and the rises of that level that the ear hears as hits.
#pragma once

#include <stddef.h>

#include <vector>

class OnsetEnvelope
{
public:
    // Levels (dB of the mean square) of a_signal, sampled at a_rate, in hops of a_hop frames.
    OnsetEnvelope(const std::vector<float>& a_signal, size_t a_hop, double a_rate);

    size_t size() const { return m_levels.size(); }
    double hopSeconds() const { return m_hopSeconds; }

    // The level of a hop in dB, and its rise over the loudest of the hops 12 to 35 ms
    // before it (0 when it does not rise): a hit makes the level jump within a few
    // milliseconds, while swells and fades move it slowly.
    double level(size_t a_hop) const { return m_levels[a_hop]; }
    double rise(size_t a_hop) const;

    // The largest rise from a_seconds - a_before to a_seconds + a_after.
    double strongestRise(double a_seconds, double a_before, double a_after) const;

    // The tempo (beats per minute, a_minimum..a_maximum, in steps of 0.05) at which
    // the rises between a_from and a_to seconds repeat best: the peak of their
    // autocorrelation.
    double tempo(double a_minimum, double a_maximum, double a_from, double a_to) const;

    // The offset (seconds, 0..a_period) of the beat grid of a_period on which the
    // rises between a_from and a_to seconds add up to the most.
    double phase(double a_period, double a_from, double a_to) const;

private:
    size_t hopAt(double a_seconds) const;

    double m_hopSeconds;
    std::vector<double> m_levels;
};
