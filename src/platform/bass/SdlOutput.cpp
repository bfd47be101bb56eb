// The default output through SDL audio.
#include "Output.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>

namespace
{

constexpr uint16_t kBufferFrames = 1024;

class SdlOutput : public Output
{
public:
    SdlOutput(uint32_t a_rate, Fill a_fill, void* a_user)
        : m_rate(a_rate), m_fill(a_fill), m_user(a_user)
    {
    }
    ~SdlOutput() override
    {
        if (m_device != 0)
            SDL_CloseAudioDevice(m_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    bool open()
    {
        SDL_AudioSpec wanted = {};
        wanted.freq = static_cast<int>(m_rate);
        wanted.format = AUDIO_S16SYS;
        wanted.channels = kChannels;
        wanted.samples = kBufferFrames;
        wanted.callback = &SdlOutput::callback;
        wanted.userdata = this;
        // No changes allowed: SDL converts to whatever the hardware takes, so
        // the mix is always 16-bit stereo at the rate asked for.
        m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (m_device == 0)
            return false;
        SDL_PauseAudioDevice(m_device, 0);
        return true;
    }

    void filled(size_t a_frames) override
    {
        m_lastBuffer = std::chrono::steady_clock::now();
        m_lastBufferFrames = a_frames;
    }

    // SDL's queue holds the buffer it took last, heard from the moment it
    // was taken; the dummy driver and a double-buffered device hold exactly
    // that. FIXME: SDL does not report the latency a sound server adds on
    // top, so the position may lead there by it.
    uint64_t heard(uint64_t a_total) const override
    {
        if (m_lastBufferFrames == 0)
            return 0;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - m_lastBuffer).count();
        const uint64_t since = static_cast<uint64_t>(seconds * m_rate);
        return a_total - m_lastBufferFrames + std::min<uint64_t>(since, m_lastBufferFrames);
    }

private:
    static void callback(void* a_self, uint8_t* a_buffer, int a_bytes)
    {
        SdlOutput& self = *static_cast<SdlOutput*>(a_self);
        const size_t frames = static_cast<size_t>(a_bytes) / (kChannels * sizeof(int16_t));
        self.m_fill(self.m_user, reinterpret_cast<int16_t*>(a_buffer), frames);
    }

    uint32_t m_rate;
    Fill m_fill;
    void* m_user;
    SDL_AudioDeviceID m_device = 0;
    std::chrono::steady_clock::time_point m_lastBuffer;
    uint64_t m_lastBufferFrames = 0;
};

}

std::unique_ptr<Output> Output::open(uint32_t a_rate, Fill a_fill, void* a_user)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    std::unique_ptr<SdlOutput> output(new SdlOutput(a_rate, a_fill, a_user));
    if (!output->open())
        return nullptr;
    return output;
}
