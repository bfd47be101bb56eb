// The default output on a sound server.
#include "ServerOutput.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

namespace
{

// A server is written in small blocks and asked to hold about four of them:
// close enough to the picture, and enough to ride out a slow frame.
constexpr uint32_t kBlockFrames = 512;
constexpr uint32_t kBufferFrames = 2048;
// The share of each answer's difference the clock takes in.
constexpr double kSteering = 0.05;

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

bool ServerOutput::wanted()
{
    const char* driver = getenv("SDL_AUDIODRIVER");
    return !driver || !*driver;
}

std::unique_ptr<Output> ServerOutput::open(uint32_t a_rate, Fill a_fill, void* a_user)
{
    std::unique_ptr<ServerOutput> output(new ServerOutput(a_rate, a_fill, a_user));
    if (!output->m_server.open(a_rate, kBufferFrames))
        return nullptr;
    output->m_writer = std::thread(&ServerOutput::write, output.get());
    return output;
}

ServerOutput::ServerOutput(uint32_t a_rate, Fill a_fill, void* a_user)
    : m_rate(a_rate), m_fill(a_fill), m_user(a_user)
{
}

ServerOutput::~ServerOutput()
{
    m_stopping = true;
    if (m_writer.joinable())
        m_writer.join();
}

// The writer counts what it writes itself.
void ServerOutput::filled(size_t) {}

// The writer: mixes a block, writes it (waiting while the server is full),
// then asks how much of what was written is still queued. A server that goes
// away leaves the clock to the wall.
void ServerOutput::write()
{
    std::vector<int16_t> block(kBlockFrames * kChannels);
    while (!m_stopping)
    {
        m_fill(m_user, block.data(), kBlockFrames);
        if (!m_server.write(block.data(), kBlockFrames))
        {
            std::lock_guard<std::mutex> lock(m_timing);
            m_lostAt = Clock::now();
            m_lostFrame = heardAt(m_written, m_lostAt);
            m_lost = true;
            warnOnce(g_saidGone, "the sound output has gone; playing on without sound");
            return;
        }
        m_written += kBlockFrames;
        uint64_t queued = 0;
        if (!m_server.queued(queued))
        {
            warnOnce(g_saidNoLatency, "the sound server gives no latency; the sound may lag the "
                                      "picture by its buffering");
            queued = kBlockFrames;
        }
        steer(std::min(queued, m_written));
    }
}

// Each answer says which frame is heard now, give or take the scheduling of
// this thread and of the server's timing updates (several milliseconds
// either way). The clock runs at the output's pace and is pulled a little
// towards each answer, so the noise averages out over a quarter of a
// second; a difference of more than 30 ms (playback starting, an underrun)
// moves it at once.
void ServerOutput::steer(uint64_t a_queued)
{
    const Clock::time_point now = Clock::now();
    const double answer = static_cast<double>(m_written - a_queued);
    std::lock_guard<std::mutex> lock(m_timing);
    if (m_anchored)
    {
        const double predicted =
            m_anchorFrame + std::chrono::duration<double>(now - m_anchorTime).count() * m_rate;
        const double error = answer - predicted;
        m_anchorFrame = fabs(error) > 0.03 * m_rate ? answer : predicted + kSteering * error;
    }
    else
    {
        m_anchorFrame = answer;
    }
    m_anchorTime = now;
    m_anchored = true;
}

// The clock runs at the output's pace from its anchor, never past what was
// mixed for it: a writer kept waiting by a busy machine must not hold the
// clock back while the server plays what it was given. Once the server has
// gone, it runs on by the wall from the frame heard last.
uint64_t ServerOutput::heard(uint64_t a_total) const
{
    std::lock_guard<std::mutex> lock(m_timing);
    const Clock::time_point now = Clock::now();
    if (m_lost)
        return m_lostFrame + static_cast<uint64_t>(
                                 std::chrono::duration<double>(now - m_lostAt).count() * m_rate);
    return heardAt(a_total, now);
}

// m_timing is held.
uint64_t ServerOutput::heardAt(uint64_t a_total, Clock::time_point a_now) const
{
    if (!m_anchored)
        return m_lastHeard;
    const double frame =
        m_anchorFrame + std::chrono::duration<double>(a_now - m_anchorTime).count() * m_rate;
    const uint64_t heard = frame <= 0.0 ? 0 : std::min(static_cast<uint64_t>(frame), a_total);
    m_lastHeard = std::max(m_lastHeard, heard);
    return m_lastHeard;
}
