// The sound output a device plays on: the platform's audio API (SDL audio on
// Linux, waveOut on Windows). It asks the device for each buffer of mixed
// samples on its own thread and knows which of them is being heard.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <memory>

class Output
{
public:
    static constexpr uint32_t kChannels = 2;

    // Fills a_frames frames of interleaved 16-bit stereo; called on the
    // output's thread, never while the output's own calls run.
    using Fill = void (*)(void* a_user, int16_t* a_buffer, size_t a_frames);

    // The default output device at a_rate frames per second, playing from
    // now on; null when there is none.
    static std::unique_ptr<Output> open(uint32_t a_rate, Fill a_fill, void* a_user);
    virtual ~Output() = default;

    // Both are called with the device's lock held: filled right after a_fill
    // filled a buffer of a_frames; heard for the frame being heard now, of
    // the a_total frames filled so far.
    virtual void filled(size_t a_frames) = 0;
    virtual uint64_t heard(uint64_t a_total) const = 0;
};
