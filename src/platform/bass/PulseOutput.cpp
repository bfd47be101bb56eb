// PulseAudio playback with libpulse-simple.
#include "PulseOutput.h"

#include <pulse/error.h>
#include <pulse/simple.h>

PulseOutput::~PulseOutput()
{
    if (m_stream)
        pa_simple_free(m_stream);
}

bool PulseOutput::open(uint32_t a_rate, uint32_t a_bufferFrames)
{
    pa_sample_spec spec = {};
    spec.format = PA_SAMPLE_S16NE;
    spec.rate = a_rate;
    spec.channels = 2;
    // The server's own default is two seconds of buffer; a short one keeps
    // the sound close to the picture, and its length is asked, not assumed.
    pa_buffer_attr buffer = {};
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = a_bufferFrames * 4;
    buffer.prebuf = static_cast<uint32_t>(-1);
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(-1);
    int error = 0;
    m_stream = pa_simple_new(nullptr, "Tarvo2", PA_STREAM_PLAYBACK, nullptr, "Soundtrack", &spec,
                             nullptr, &buffer, &error);
    m_rate = a_rate;
    return m_stream != nullptr;
}

bool PulseOutput::write(const int16_t* a_samples, size_t a_frames)
{
    int error = 0;
    return pa_simple_write(m_stream, a_samples, a_frames * 4, &error) == 0;
}

bool PulseOutput::queued(uint64_t& a_frames)
{
    int error = 0;
    const pa_usec_t latency = pa_simple_get_latency(m_stream, &error);
    if (latency == static_cast<pa_usec_t>(-1))
        return false;
    a_frames = latency * m_rate / 1000000;
    return true;
}
