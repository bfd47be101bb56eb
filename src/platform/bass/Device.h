// The output that streams play on, opened by BASS_Init: the default output
// through the platform's audio API (Output), no sound (a wall clock that still plays in real time),
// or the capture device (a clock that moves only when stepped).
//
// Locking: one mutex per device guards every stream and the device clock.
// The output's thread takes it for each buffer it mixes; every API call takes
// it for its whole work. Decoding, and with it every call of a stream's user
// file procedures, happens only while the mutex is held, so those procedures
// never run at the same time as each other or as any API call.
#pragma once

#include "Fft256.h"
#include "Output.h"
#include "Stream.h"

#include <stdint.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class Device
{
public:
    enum class Kind
    {
        Output,   // the default output device
        NoSound,  // device 0
        Capture   // stepped by BassCapture
    };

    // Opening: a_device as BASS_Init takes it; a capture frame rate (numerator
    // and denominator, both non-zero) opens the capture device instead.
    // Returns BASS_OK or the error code BASS_Init reports.
    static int open(int a_device, uint32_t a_rate, uint32_t a_captureNumerator,
                    uint32_t a_captureDenominator, std::unique_ptr<Device>& a_opened);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    Kind kind() const { return m_kind; }

    // Streams, by handle. Each returns BASS_OK or a BASS_ERROR_* code.
    int add(std::unique_ptr<Stream> a_stream, HSTREAM& a_handle);
    int play(HSTREAM a_handle, bool a_restart);
    int position(HSTREAM a_handle, uint64_t& a_bytes);  // the position being heard
    int bytesPerSecond(HSTREAM a_handle, double& a_rate);
    int spectrum(HSTREAM a_handle, float* a_magnitudes, DWORD& a_bytesRead);

    // Capture device: advances every playing stream by one video frame's
    // worth of sample frames and appends them, mixed to interleaved stereo,
    // to a_samples. Returns the sample frames stepped.
    uint32_t step(std::vector<int16_t>& a_samples);

private:
    using Clock = std::chrono::steady_clock;

    Device(Kind a_kind, uint32_t a_rate);
    static void fillOutput(void* a_self, int16_t* a_buffer, size_t a_frames);
    void mix(int16_t* a_output, size_t a_frames);
    uint64_t clock() const;
    // Runs a_action on the stream a_handle names, with the mutex held;
    // BASS_ERROR_HANDLE when there is none.
    template <typename Action>
    int withStream(HSTREAM a_handle, Action a_action)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto found = m_streams.find(a_handle);
        return found == m_streams.end() ? BASS_ERROR_HANDLE : a_action(*found->second);
    }
    uint64_t heard(Stream& a_stream);

    Kind m_kind;
    uint32_t m_rate;  // output sample frames per second
    std::mutex m_mutex;
    std::map<HSTREAM, std::unique_ptr<Stream>> m_streams;
    HSTREAM m_nextHandle = 1;
    Fft256 m_fft;
    std::vector<int32_t> m_mix;
    uint64_t m_output = 0;  // sample frames handed to the output, or stepped over
    Clock::time_point m_opened;
    std::unique_ptr<Output> m_sound;  // Output only; closed first, before the streams go

    // Capture: frames per second as a fraction, and the steps taken.
    uint64_t m_captureNumerator = 0;
    uint64_t m_captureDenominator = 1;
    uint64_t m_steps = 0;
};
