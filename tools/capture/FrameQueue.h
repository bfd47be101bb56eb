// A bounded queue of frames between the render thread and the encoder
// thread: the renderer waits when the encoder falls this many frames behind,
// so memory stays bounded, and the encoder waits for work otherwise.
#pragma once

#include "CapturedFrame.h"

#include <condition_variable>
#include <deque>
#include <mutex>

class FrameQueue
{
public:
    explicit FrameQueue(size_t a_capacity);

    // Waits for room, then queues a_frame. False once the queue is aborted.
    bool push(CapturedFrame&& a_frame);
    // Waits for a frame. False when the queue is closed and empty, or aborted.
    bool pop(CapturedFrame* a_frame);

    // No more frames will come; pop drains what is queued.
    void close();
    // The consumer gave up: pushes fail and waiting ends on both sides.
    void abort();

private:
    size_t m_capacity;
    std::deque<CapturedFrame> m_frames;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_closed = false;
    bool m_aborted = false;
};
