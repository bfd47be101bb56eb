// The output device: mixing, the device clock and the streams it plays.
#include "Device.h"

#include <algorithm>

namespace
{

constexpr uint32_t kOutputChannels = Output::kChannels;

int16_t clampSample(int32_t a_value)
{
    return static_cast<int16_t>(std::clamp<int32_t>(a_value, -32768, 32767));
}

uint64_t framesSince(std::chrono::steady_clock::time_point a_start, uint32_t a_rate)
{
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - a_start).count();
    return static_cast<uint64_t>(seconds * a_rate);
}

}

int Device::open(int a_device, uint32_t a_rate, uint32_t a_captureNumerator,
                 uint32_t a_captureDenominator, std::unique_ptr<Device>& a_opened)
{
    // The real library numbers the default output -1, no sound 0 and the
    // first real device 1; there is only the one real device here.
    if (a_device < -1 || a_device > 1)
        return BASS_ERROR_DEVICE;
    if (a_rate == 0)
        return BASS_ERROR_FORMAT;
    if (a_captureNumerator != 0 && a_captureDenominator != 0)
    {
        a_opened.reset(new Device(Kind::Capture, a_rate));
        a_opened->m_captureNumerator = a_captureNumerator;
        a_opened->m_captureDenominator = a_captureDenominator;
        return BASS_OK;
    }
    if (a_device == 0)
    {
        a_opened.reset(new Device(Kind::NoSound, a_rate));
        return BASS_OK;
    }

    std::unique_ptr<Device> device(new Device(Kind::Output, a_rate));
    // The output asks for its first buffers at once, before it is kept here.
    std::unique_ptr<Output> sound = Output::open(a_rate, &Device::fillOutput, device.get());
    if (!sound)
        return BASS_ERROR_DRIVER;
    {
        std::lock_guard<std::mutex> lock(device->m_mutex);
        device->m_sound = std::move(sound);
    }
    a_opened = std::move(device);
    return BASS_OK;
}

Device::Device(Kind a_kind, uint32_t a_rate)
    : m_kind(a_kind), m_rate(a_rate), m_opened(Clock::now())
{
}

Device::~Device()
{
    // Closing waits for the output's thread; the mutex must be free for that.
    std::unique_ptr<Output> sound;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        sound = std::move(m_sound);
    }
    sound.reset();
}

int Device::add(std::unique_ptr<Stream> a_stream, HSTREAM& a_handle)
{
    // FIXME: there is no resampler; a stream plays only at the output's rate.
    if (m_kind != Kind::NoSound && a_stream->rate() != m_rate)
        return BASS_ERROR_FORMAT;
    std::lock_guard<std::mutex> lock(m_mutex);
    a_handle = m_nextHandle++;
    m_streams[a_handle] = std::move(a_stream);
    return BASS_OK;
}

// A stream that is not playing, or has played to its end without loop,
// starts from the beginning; a playing one only when restart is asked for.
int Device::play(HSTREAM a_handle, bool a_restart)
{
    return withStream(a_handle, [&](Stream& a_stream) {
        if (a_stream.playing() && !a_restart && !a_stream.ended(heard(a_stream)))
            return BASS_OK;
        // The output mixes a new stream from its next buffer on, which is
        // heard once the frames already handed to the output have played.
        a_stream.start(m_kind == Kind::NoSound ? clock() : m_output);
        return BASS_OK;
    });
}

int Device::position(HSTREAM a_handle, uint64_t& a_bytes)
{
    return withStream(a_handle, [&](Stream& a_stream) {
        a_bytes = a_stream.position(heard(a_stream)) * a_stream.bytesPerFrame();
        return BASS_OK;
    });
}

int Device::bytesPerSecond(HSTREAM a_handle, double& a_rate)
{
    return withStream(a_handle, [&](Stream& a_stream) {
        a_rate = static_cast<double>(a_stream.rate()) * a_stream.bytesPerFrame();
        return BASS_OK;
    });
}

int Device::spectrum(HSTREAM a_handle, float* a_magnitudes, DWORD& a_bytesRead)
{
    return withStream(a_handle, [&](Stream& a_stream) {
        const uint64_t frame = heard(a_stream);
        if (a_stream.ended(frame))
            return BASS_ERROR_ENDED;
        std::vector<int16_t> samples(Fft256::kSize * a_stream.channels());
        a_stream.window(frame, samples.data());
        m_fft.transform(samples.data(), a_stream.channels(), a_magnitudes);
        a_bytesRead = Fft256::kSize * a_stream.bytesPerFrame();
        return BASS_OK;
    });
}

// The frames of step k run from floor(k * rate / fps) to floor((k + 1) *
// rate / fps), with the frame rate as an exact fraction: the fractions carry
// over from step to step, so no step count ever drifts from the video.
uint32_t Device::step(std::vector<int16_t>& a_samples)
{
    if (m_kind != Kind::Capture)
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    const uint64_t perSecond = m_rate * m_captureDenominator;
    const uint64_t begin = m_steps * perSecond / m_captureNumerator;
    const uint64_t end = (m_steps + 1) * perSecond / m_captureNumerator;
    const size_t frames = static_cast<size_t>(end - begin);
    const size_t first = a_samples.size();
    a_samples.resize(first + frames * kOutputChannels);
    mix(a_samples.data() + first, frames);
    ++m_steps;
    return static_cast<uint32_t>(frames);
}

void Device::fillOutput(void* a_self, int16_t* a_buffer, size_t a_frames)
{
    Device& self = *static_cast<Device*>(a_self);
    std::lock_guard<std::mutex> lock(self.m_mutex);
    self.mix(a_buffer, a_frames);
    if (self.m_sound)
        self.m_sound->filled(a_frames);
}

// Mixes the next a_frames of every playing stream, at full volume and
// clipped, and moves the device clock on by them. The mutex is held.
void Device::mix(int16_t* a_output, size_t a_frames)
{
    m_mix.assign(a_frames * kOutputChannels, 0);
    for (auto& entry : m_streams)
        if (entry.second->playing())
            entry.second->render(m_mix.data(), a_frames);
    for (size_t i = 0; i < a_frames * kOutputChannels; ++i)
        a_output[i] = clampSample(m_mix[i]);
    m_output += a_frames;
}

// The device frame being heard now.
uint64_t Device::clock() const
{
    switch (m_kind)
    {
    case Kind::Output:
        return m_sound ? m_sound->heard(m_output) : 0;
    case Kind::NoSound:
        return framesSince(m_opened, m_rate);
    case Kind::Capture:
        break;
    }
    return m_output;
}

// The played frame of a_stream being heard now. Without sound nothing is
// mixed, so the stream is moved on to the clock here, as it is queried.
uint64_t Device::heard(Stream& a_stream)
{
    if (!a_stream.playing())
        return 0;
    const uint64_t now = clock();
    const uint64_t frame = now > a_stream.deviceStart() ? now - a_stream.deviceStart() : 0;
    if (m_kind == Kind::NoSound)
    {
        if (frame > a_stream.rendered())
            a_stream.render(nullptr, static_cast<size_t>(frame - a_stream.rendered()));
        return frame;
    }
    return std::min(frame, a_stream.rendered());
}
