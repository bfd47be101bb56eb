// The default output on a sound server (PulseAudio, or PipeWire's pulse
// server), written by a thread of its own so that the server can be asked,
// after every block, how much it holds between the program and the speaker.
#pragma once

#include "Output.h"
#include "PulseOutput.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

class ServerOutput : public Output
{
public:
    // A sound server is used unless SDL_AUDIODRIVER names a driver for SDL
    // (its own "pulseaudio" included).
    static bool wanted();
    // Playing at once; null when no server answers.
    static std::unique_ptr<Output> open(uint32_t a_rate, Fill a_fill, void* a_user);
    ~ServerOutput() override;

    void filled(size_t a_frames) override;
    uint64_t heard(uint64_t a_total) const override;
    bool lost() const override { return m_lost; }

private:
    using Clock = std::chrono::steady_clock;

    ServerOutput(uint32_t a_rate, Fill a_fill, void* a_user);
    void write();
    void steer(uint64_t a_queued);
    uint64_t heardAt(uint64_t a_total, Clock::time_point a_now) const;

    uint32_t m_rate;
    Fill m_fill;
    void* m_user;
    PulseOutput m_server;
    std::thread m_writer;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_lost{false};
    uint64_t m_written = 0;  // frames filled and written; the writer's own

    // The clock the writer steers: the frame heard at the anchor's time,
    // from which it runs at the output's pace; guarded by m_timing.
    mutable std::mutex m_timing;
    bool m_anchored = false;
    double m_anchorFrame = 0.0;
    Clock::time_point m_anchorTime;
    mutable uint64_t m_lastHeard = 0;  // the clock never runs back
    uint64_t m_lostFrame = 0;          // heard when the server went
    Clock::time_point m_lostAt;
};
