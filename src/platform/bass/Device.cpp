// The output device: mixing, the device clock and the streams it plays.
#include "Device.h"

#include <SDL.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>

namespace
{

constexpr uint16_t kOutputBufferFrames = 1024;
constexpr uint32_t kOutputChannels = 2;
// A server is written in small blocks and asked to hold about four of
// them: close enough to the picture, and enough to ride out a slow frame.
constexpr uint32_t kServerBlockFrames = 512;
constexpr uint32_t kServerBufferFrames = 2048;
// The share of each answer's difference the server clock takes in.
constexpr double kSteering = 0.05;

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

// A sound server is used directly unless SDL_AUDIODRIVER names a driver
// for SDL (its own "pulseaudio" included).
bool serverWanted()
{
    const char* driver = SDL_getenv("SDL_AUDIODRIVER");
    return !driver || !*driver;
}

// Each of these is said once per process, however often it happens.
void warnOnce(bool& a_said, const char* a_message)
{
    if (a_said)
        return;
    a_said = true;
    fprintf(stderr, "audio: %s\n", a_message);
}
bool g_saidNoLatency = false;
bool g_saidGone = false;

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
    if (serverWanted())
    {
        std::unique_ptr<PulseOutput> server(new PulseOutput);
        if (server->open(a_rate, kServerBufferFrames))
        {
            device->m_server = std::move(server);
            device->m_writer = std::thread(&Device::writeToServer, device.get());
            a_opened = std::move(device);
            return BASS_OK;
        }
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return BASS_ERROR_DRIVER;
    SDL_AudioSpec wanted = {};
    wanted.freq = static_cast<int>(a_rate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kOutputChannels;
    wanted.samples = kOutputBufferFrames;
    wanted.callback = &Device::outputCallback;
    wanted.userdata = device.get();
    // No changes allowed: SDL converts to whatever the hardware takes, so the
    // mix is always 16-bit stereo at the rate asked for.
    device->m_sdlDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device->m_sdlDevice == 0)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return BASS_ERROR_DRIVER;
    }
    // SDL's dummy driver holds exactly the buffer it took; any other may
    // hold more that SDL does not report.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || strcmp(driver, "dummy") != 0)
        warnOnce(g_saidNoLatency,
                 "the output does not report its latency; the sound may lag the picture by "
                 "its buffering");
    SDL_PauseAudioDevice(device->m_sdlDevice, 0);
    a_opened = std::move(device);
    return BASS_OK;
}

Device::Device(Kind a_kind, uint32_t a_rate)
    : m_kind(a_kind), m_rate(a_rate), m_opened(Clock::now())
{
}

Device::~Device()
{
    // Closing waits for the audio thread; the mutex must be free for that.
    m_stopping = true;
    if (m_writer.joinable())
        m_writer.join();
    if (m_sdlDevice != 0)
    {
        SDL_CloseAudioDevice(m_sdlDevice);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

int Device::add(std::unique_ptr<Stream> a_stream, HSTREAM& a_handle)
{
    // Like the real library, any rate plays: the stream converts to the output's.
    if (!a_stream->connect(m_rate))
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
        // heard once the frames already handed to SDL have played.
        a_stream.start(wallPaced() ? clock() : m_output);
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

void Device::outputCallback(void* a_self, uint8_t* a_buffer, int a_bytes)
{
    Device& self = *static_cast<Device*>(a_self);
    const size_t frames = static_cast<size_t>(a_bytes) / (kOutputChannels * sizeof(int16_t));
    std::lock_guard<std::mutex> lock(self.m_mutex);
    self.mix(reinterpret_cast<int16_t*>(a_buffer), frames);
    self.m_lastBuffer = Clock::now();
    self.m_lastBufferFrames = frames;
}

// The server's writer: mixes a block, writes it (waiting while the server
// is full), then asks how much of what was written is still queued. A
// server that goes away leaves the clock to the wall.
void Device::writeToServer()
{
    std::vector<int16_t> block(kServerBlockFrames * kOutputChannels);
    while (!m_stopping)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            mix(block.data(), kServerBlockFrames);
        }
        if (!m_server->write(block.data(), kServerBlockFrames))
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            loseOutput();
            return;
        }
        uint64_t queued = 0;
        const bool known = m_server->queued(queued);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!known)
        {
            warnOnce(g_saidNoLatency,
                     "the sound server gives no latency; the sound may lag the picture by its "
                     "buffering");
            queued = kServerBlockFrames;
        }
        m_writtenAtAnswer = m_output;
        steer(std::min(queued, m_output));
    }
}

// Each answer says which frame is heard now, give or take the scheduling of
// this thread and of the server's timing updates (several milliseconds
// either way). The clock runs at the output's pace and is pulled a little
// towards each answer, so the noise averages out over a quarter of a
// second; a difference of more than 30 ms (playback starting, an underrun)
// moves it at once. The mutex is held.
void Device::steer(uint64_t a_queued)
{
    const Clock::time_point now = Clock::now();
    const double answer = static_cast<double>(m_writtenAtAnswer - a_queued);
    if (m_anchored)
    {
        const double predicted =
            m_anchorFrame + std::chrono::duration<double>(now - m_anchorTime).count() * m_rate;
        const double error = answer - predicted;
        m_anchorFrame = std::fabs(error) > 0.03 * m_rate ? answer : predicted + kSteering * error;
    }
    else
        m_anchorFrame = answer;
    m_anchorTime = now;
    m_anchored = true;
}

// The mutex is held.
void Device::loseOutput()
{
    m_lostFrame = clock();
    m_lostAt = Clock::now();
    m_lost = true;
    warnOnce(g_saidGone, "the sound output has gone; playing on without sound");
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

// The device frame being heard now. A server's clock runs at the output's
// pace from its anchor (see steer), never past what was mixed for it: a
// writer kept waiting by a busy machine must not hold the clock back while
// the server plays what it was given. SDL's queue holds
// the buffer it took last, heard from the moment it was taken; the dummy
// driver and a double-buffered device hold exactly that.
uint64_t Device::clock() const
{
    if (m_lost)
        return m_lostFrame + framesSince(m_lostAt, m_rate);
    switch (m_kind)
    {
    case Kind::Output:
        if (m_server)
        {
            if (!m_anchored)
                return 0;
            const double frame =
                m_anchorFrame +
                std::chrono::duration<double>(Clock::now() - m_anchorTime).count() * m_rate;
            const uint64_t heard =
                frame <= 0.0 ? 0 : std::min(static_cast<uint64_t>(frame), m_output);
            m_lastHeard = std::max(m_lastHeard, heard);
            return m_lastHeard;
        }
        if (m_lastBufferFrames == 0)
            return 0;
        return m_output - m_lastBufferFrames +
               std::min(framesSince(m_lastBuffer, m_rate), m_lastBufferFrames);
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
    if (wallPaced())
    {
        if (frame > a_stream.rendered())
            a_stream.render(nullptr, static_cast<size_t>(frame - a_stream.rendered()));
        return a_stream.played(frame);
    }
    return a_stream.played(std::min(frame, a_stream.rendered()));
}
