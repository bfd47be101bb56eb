// The bounded frame queue.
#include "FrameQueue.h"

#include "core/Assert.h"

FrameQueue::FrameQueue(size_t a_capacity) : m_capacity(a_capacity)
{
    TARVO_ASSERT(a_capacity > 0);
}

bool FrameQueue::push(CapturedFrame&& a_frame)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_aborted || m_frames.size() < m_capacity; });
    if (m_aborted)
        return false;
    m_frames.push_back(std::move(a_frame));
    m_changed.notify_all();
    return true;
}

bool FrameQueue::pop(CapturedFrame* a_frame)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_aborted || m_closed || !m_frames.empty(); });
    if (m_aborted || m_frames.empty())
        return false;
    *a_frame = std::move(m_frames.front());
    m_frames.pop_front();
    m_changed.notify_all();
    return true;
}

void FrameQueue::close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

void FrameQueue::abort()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_aborted = true;
    m_changed.notify_all();
}
