// A playback stream on a PulseAudio (or PipeWire's pulse) server, through
// libpulse's blocking API. It is there so the layer can ask the server how
// much it holds between the program and the speaker, which SDL's output
// cannot tell.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct pa_simple;

class PulseOutput
{
public:
    PulseOutput() = default;
    ~PulseOutput();
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // Connecting: 16-bit stereo at a_rate, the server asked to hold about
    // a_bufferFrames. False when no server answers.
    bool open(uint32_t a_rate, uint32_t a_bufferFrames);

    // Playing: writes a_frames frames, waiting while the server is full.
    // False once the server has gone.
    bool write(const int16_t* a_samples, size_t a_frames);

    // The frames written that the speaker has not yet played, from the
    // server's own timing; false when it gives none.
    bool queued(uint64_t& a_frames);

private:
    pa_simple* m_stream = nullptr;
    uint32_t m_rate = 0;
};
