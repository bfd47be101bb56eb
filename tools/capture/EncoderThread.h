// The thread that turns rendered frames into files, so that conversion,
// PNG compression and video encoding overlap the rendering of the next
// frames: frames go in through a bounded queue, in order.
#pragma once

#include "FrameQueue.h"

#include <stdint.h>

#include <atomic>
#include <string>
#include <thread>

class VideoEncoder;

class EncoderThread
{
public:
    // Frames of a_width x a_height go to a_encoder (may be null) and, when
    // a_pngFolder is not empty, into PNG files there.
    EncoderThread(VideoEncoder* a_encoder, const std::string& a_pngFolder, uint32_t a_width,
                  uint32_t a_height);
    // Aborts and joins a thread still running.
    ~EncoderThread();
    EncoderThread(const EncoderThread&) = delete;
    EncoderThread& operator=(const EncoderThread&) = delete;

    void start();
    // Hands a_frame over, waiting while the queue is full. False once the
    // thread has failed; its message is in error().
    bool submit(CapturedFrame&& a_frame);
    // Waits until every frame handed over is written. False if one failed.
    bool finish();

    // What failed on the thread; valid after submit or finish returned false.
    const std::string& error() const { return m_error; }

    // The PNG file of frame a_index in a_folder: frame-000123.png.
    static std::string pngName(const std::string& a_folder, uint32_t a_index);

    static constexpr size_t kQueuedFrames = 4;

private:
    void run();
    bool write(const CapturedFrame& a_frame);

    VideoEncoder* m_encoder;
    std::string m_pngFolder;
    uint32_t m_width;
    uint32_t m_height;
    FrameQueue m_queue{kQueuedFrames};
    std::thread m_thread;
    std::atomic<bool> m_failed{false};
    std::string m_error;  // written by the thread before m_failed is set
    std::vector<uint8_t> m_rgb;
};
