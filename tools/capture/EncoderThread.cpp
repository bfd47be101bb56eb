// Writing frames on a thread of their own.
#include "EncoderThread.h"

#include "PngWriter.h"
#include "StagedFile.h"
#include "VideoEncoder.h"

#include <stdio.h>

EncoderThread::EncoderThread(VideoEncoder* a_encoder, const std::string& a_pngFolder,
                             uint32_t a_width, uint32_t a_height)
    : m_encoder(a_encoder), m_pngFolder(a_pngFolder), m_width(a_width), m_height(a_height)
{
}

EncoderThread::~EncoderThread()
{
    if (m_thread.joinable())
    {
        m_queue.abort();
        m_thread.join();
    }
}

std::string EncoderThread::pngName(const std::string& a_folder, uint32_t a_index)
{
    char name[32];
    snprintf(name, sizeof(name), "frame-%06u.png", a_index);
    return a_folder + "/" + name;
}

void EncoderThread::start()
{
    m_thread = std::thread([this] { run(); });
}

bool EncoderThread::submit(CapturedFrame&& a_frame)
{
    return !m_failed && m_queue.push(std::move(a_frame));
}

bool EncoderThread::finish()
{
    m_queue.close();
    if (m_thread.joinable())
        m_thread.join();
    return !m_failed;
}

void EncoderThread::run()
{
    CapturedFrame frame;
    while (m_queue.pop(&frame))
    {
        if (!write(frame))
        {
            m_failed = true;
            m_queue.abort();
            return;
        }
    }
}

bool EncoderThread::write(const CapturedFrame& a_frame)
{
    if (!m_pngFolder.empty())
    {
        const size_t pixels = size_t(m_width) * m_height;
        m_rgb.resize(pixels * 3);
        for (size_t i = 0; i < pixels; ++i)
        {
            m_rgb[i * 3 + 0] = a_frame.pixels[i * 4 + 2];
            m_rgb[i * 3 + 1] = a_frame.pixels[i * 4 + 1];
            m_rgb[i * 3 + 2] = a_frame.pixels[i * 4 + 0];
        }
        StagedFile file(pngName(m_pngFolder, a_frame.index));
        if (!writePng(file.temporaryPath(), m_width, m_height, m_rgb) || !file.commit())
        {
            m_error = "cannot write '" + file.path() + "'";
            return false;
        }
    }
    if (m_encoder)
    {
        if (!m_encoder->addVideo(a_frame.pixels.data(), size_t(m_width) * 4) ||
            !m_encoder->addAudio(a_frame.samples.data(), a_frame.samples.size() / 2))
        {
            m_error = m_encoder->m_error;
            return false;
        }
    }
    return true;
}
