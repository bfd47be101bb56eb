// The measuring side of the A/V offset test (av_offset.sh):
//   av_offset_probe archive SHIPPED OUT
//     writes the shipped archive to OUT with a song of short tone bursts at
//     irregular, known times in place of the soundtrack;
//   av_offset_probe measure CLOCK_LOG SECONDS LIMIT_MS
//     records the default source (the null sink's monitor) for SECONDS with
//     the steady clock time of every sample, finds the bursts as they were
//     heard, and sets the demo's clock log against them: each frame's
//     position, and when the sound of that position was heard. Prints the
//     offsets and ends with 1 unless the median and nine in ten of them are
//     within LIMIT_MS.
#include "platform/bass/Mp3TestData.h"
#include "support/ShippedArchive.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace
{

const int kRate = 44100;
const double kSongSeconds = 40.0;
const double kThreshold = 0.4 * 32767;
const double kQuietBefore = 0.2;  // seconds without a loud sample before an onset

// Burst k starts at 1 s + 0.55 k s + 0.1 (k mod 3) s: at least 0.45 s apart,
// never a regular beat, so no burst is taken for its neighbour.
std::vector<int16_t> song()
{
    std::vector<int16_t> samples = Mp3TestData::tone(0, kSongSeconds, 0, 2);
    const double pi = 3.14159265358979323846;
    for (int k = 0;; ++k)
    {
        const double start = 1.0 + 0.55 * k + 0.1 * (k % 3);
        if (start + 0.1 > kSongSeconds)
            break;
        const size_t first = static_cast<size_t>(start * kRate);
        for (size_t i = 0; i < kRate / 50; ++i)
        {
            const int16_t value = static_cast<int16_t>(
                lround(0.8 * 32767 * sin(2 * pi * 1000.0 * static_cast<double>(i) / kRate)));
            samples[2 * (first + i)] = samples[2 * (first + i) + 1] = value;
        }
    }
    return samples;
}

// Indices of the first loud sample after a quiet stretch, in samples of
// a_stride interleaved channels.
std::vector<size_t> onsets(const std::vector<int16_t>& a_samples, size_t a_stride)
{
    std::vector<size_t> found;
    const size_t quiet = static_cast<size_t>(kQuietBefore * kRate);
    size_t lastLoud = 0;
    bool any = false;
    for (size_t i = 0; i * a_stride < a_samples.size(); ++i)
    {
        if (fabs(static_cast<double>(a_samples[i * a_stride])) < kThreshold)
            continue;
        if (!any || i - lastLoud > quiet)
            found.push_back(i);
        any = true;
        lastLoud = i;
    }
    return found;
}

double steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int makeArchive(const char* a_shipped, const char* a_out)
{
    if (!rewriteArchive(a_shipped, a_out, "KUV-2.mp3", Mp3TestData::encode(song(), 2)))
    {
        fprintf(stderr, "av_offset_probe: cannot read '%s'\n", a_shipped);
        return 2;
    }
    return 0;
}

int measure(const char* a_log, double a_seconds, double a_limit)
{
    // The heard sound: mono, read in 10 ms pieces; after each read the
    // server says how long ago its last sample was played.
    pa_sample_spec spec = {};
    spec.format = PA_SAMPLE_S16NE;
    spec.rate = kRate;
    spec.channels = 1;
    const size_t piece = kRate / 100;
    pa_buffer_attr buffer = {};
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(piece * 2);
    int error = 0;
    pa_simple* record = pa_simple_new(nullptr, "av_offset_probe", PA_STREAM_RECORD, nullptr,
                                      "monitor", &spec, nullptr, &buffer, &error);
    if (!record)
    {
        fprintf(stderr, "av_offset_probe: cannot record: %s\n", pa_strerror(error));
        return 2;
    }
    std::vector<int16_t> heard;
    std::vector<double> pieceEnds;  // steady seconds at which each piece's last sample played
    const double until = steadySeconds() + a_seconds;
    while (steadySeconds() < until)
    {
        std::vector<int16_t> samples(piece);
        if (pa_simple_read(record, samples.data(), piece * 2, &error) < 0)
        {
            fprintf(stderr, "av_offset_probe: recording stopped: %s\n", pa_strerror(error));
            pa_simple_free(record);
            return 2;
        }
        const double now = steadySeconds();
        const pa_usec_t latency = pa_simple_get_latency(record, &error);
        heard.insert(heard.end(), samples.begin(), samples.end());
        pieceEnds.push_back(now - static_cast<double>(latency) / 1e6);
    }
    pa_simple_free(record);
    std::vector<double> heardAt;
    for (const size_t index : onsets(heard, 1))
        heardAt.push_back(pieceEnds[index / piece] -
                          static_cast<double>(piece - 1 - index % piece) / kRate);

    // The clock: when the demo read which position.
    std::vector<std::pair<double, double>> clock;
    if (FILE* log = fopen(a_log, "r"))
    {
        long long nanoseconds = 0;
        double position = 0.0;
        while (fscanf(log, "%lld %lf", &nanoseconds, &position) == 2)
            clock.emplace_back(static_cast<double>(nanoseconds) / 1e9, position);
        fclose(log);
    }

    // Each clock reading against the sound: the burst last before its
    // position was heard at some time, and the position a little after it
    // (the song plays at its pace in between). The demo draws a frame a
    // second or so on the software rasteriser, so each reading counts.
    const std::vector<int16_t> decoded = Mp3TestData::decode(Mp3TestData::encode(song(), 2));
    std::vector<double> bursts;
    for (const size_t index : onsets(decoded, 2))
        bursts.push_back(static_cast<double>(index) / kRate);
    std::vector<double> offsets;
    for (const auto& reading : clock)
    {
        const auto after = std::upper_bound(bursts.begin(), bursts.end(), reading.second);
        if (after == bursts.begin())
            continue;
        const double burst = *(after - 1);
        const double expected = reading.first - (reading.second - burst);
        for (const double time : heardAt)
            if (fabs(time - expected) < 0.2)
                offsets.push_back(time + (reading.second - burst) - reading.first);
    }
    if (offsets.size() < 5)
    {
        fprintf(stderr,
                "av_offset_probe: only %zu bursts both heard and shown (%zu heard, %zu clock "
                "readings)\n",
                offsets.size(), heardAt.size(), clock.size());
        return 1;
    }
    std::vector<double> sorted = offsets;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    size_t within = 0;
    for (const double offset : offsets)
        within += fabs(offset) * 1000 <= a_limit ? 1 : 0;
    printf("A/V offset over %zu frames (sound minus picture): median %+.1f ms, from %+.1f to "
           "%+.1f ms, %zu within %.0f ms\n",
           offsets.size(), median * 1000, sorted.front() * 1000, sorted.back() * 1000, within,
           a_limit);
    // A frame drawn while the machine is too busy to feed the server in time
    // (the suite runs other tests beside this one) may be further off; nine
    // frames in ten must not be.
    return fabs(median) * 1000 <= a_limit && within * 10 >= offsets.size() * 9 ? 0 : 1;
}

}

int main(int a_count, char** a_arguments)
{
    if (a_count == 4 && strcmp(a_arguments[1], "archive") == 0)
        return makeArchive(a_arguments[2], a_arguments[3]);
    if (a_count == 5 && strcmp(a_arguments[1], "measure") == 0)
        return measure(a_arguments[2], atof(a_arguments[3]), atof(a_arguments[4]));
    fprintf(stderr,
            "usage: av_offset_probe archive SHIPPED OUT | measure CLOCK_LOG SECONDS LIMIT_MS\n");
    return 2;
}
