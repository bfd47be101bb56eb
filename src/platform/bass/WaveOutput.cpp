// The default output through waveOut: a few buffers queued on the device,
// refilled by a thread of ours as the device hands each one back. The
// device's own sample counter says what is being heard.
#include "Output.h"

#include <windows.h>
// mmsystem.h needs windows.h first.
#include <mmsystem.h>

#include <atomic>
#include <thread>
#include <vector>

namespace
{

constexpr size_t kBuffers = 4;
constexpr size_t kBufferFrames = 1024;

class WaveOutput : public Output
{
public:
    WaveOutput(Fill a_fill, void* a_user) : m_fill(a_fill), m_user(a_user) {}
    ~WaveOutput() override
    {
        if (m_thread.joinable())
        {
            m_stopping = true;
            SetEvent(m_event);
            m_thread.join();
        }
        if (m_device)
        {
            waveOutReset(m_device);
            for (Buffer& buffer : m_buffers)
                if (buffer.header.dwFlags & WHDR_PREPARED)
                    waveOutUnprepareHeader(m_device, &buffer.header, sizeof(WAVEHDR));
            waveOutClose(m_device);
        }
        if (m_event)
            CloseHandle(m_event);
    }
    WaveOutput(const WaveOutput&) = delete;
    WaveOutput& operator=(const WaveOutput&) = delete;

    bool open(uint32_t a_rate)
    {
        m_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (!m_event)
            return false;
        WAVEFORMATEX format = {};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = kChannels;
        format.nSamplesPerSec = a_rate;
        format.wBitsPerSample = 16;
        format.nBlockAlign = kChannels * 2;
        format.nAvgBytesPerSec = a_rate * format.nBlockAlign;
        // The event rather than a callback procedure: waveOut forbids calling
        // its own functions from its callback, and refilling needs them.
        if (waveOutOpen(&m_device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(m_event), 0,
                        CALLBACK_EVENT) != MMSYSERR_NOERROR)
        {
            m_device = nullptr;
            return false;
        }
        for (Buffer& buffer : m_buffers)
        {
            buffer.samples.assign(kBufferFrames * kChannels, 0);
            buffer.header.lpData = reinterpret_cast<LPSTR>(buffer.samples.data());
            buffer.header.dwBufferLength = static_cast<DWORD>(buffer.samples.size() * 2);
            if (waveOutPrepareHeader(m_device, &buffer.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR)
                return false;
            // Prepared buffers count as done, so the thread fills them first.
            buffer.header.dwFlags |= WHDR_DONE;
        }
        m_thread = std::thread(&WaveOutput::run, this);
        return true;
    }

    void filled(size_t) override {}

    // waveOut's sample counter is 32 bits wide; the difference to the
    // frames filled so far is always far below that, so the counter is
    // extended against a_total.
    uint64_t heard(uint64_t a_total) const override
    {
        MMTIME time = {};
        time.wType = TIME_SAMPLES;
        if (waveOutGetPosition(m_device, &time, sizeof(time)) != MMSYSERR_NOERROR ||
            time.wType != TIME_SAMPLES)
            return 0;
        const uint32_t behind = static_cast<uint32_t>(a_total) - time.u.sample;
        return behind > a_total ? 0 : a_total - behind;
    }

private:
    struct Buffer
    {
        std::vector<int16_t> samples;
        WAVEHDR header = {};
    };

    // Refills every buffer the device has finished with and queues it again,
    // in order, until the output closes.
    void run()
    {
        while (!m_stopping)
        {
            for (Buffer& buffer : m_buffers)
            {
                if (m_stopping || !(buffer.header.dwFlags & WHDR_DONE))
                    continue;
                m_fill(m_user, buffer.samples.data(), kBufferFrames);
                buffer.header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
                waveOutWrite(m_device, &buffer.header, sizeof(WAVEHDR));
            }
            WaitForSingleObject(m_event, INFINITE);
        }
    }

    Fill m_fill;
    void* m_user;
    HWAVEOUT m_device = nullptr;
    HANDLE m_event = nullptr;
    Buffer m_buffers[kBuffers];
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

}

std::unique_ptr<Output> Output::open(uint32_t a_rate, Fill a_fill, void* a_user)
{
    std::unique_ptr<WaveOutput> output(new WaveOutput(a_fill, a_user));
    if (!output->open(a_rate))
        return nullptr;
    return output;
}
