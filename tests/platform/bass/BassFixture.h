// What the audio layer's tests share: user files that outlive their streams,
// the layer freed after every test, and streams playing on the capture device.
#pragma once

#include "platform/bass/MemoryFile.h"

#include <BassCapture.h>
#include <bass.h>

#include <gtest/gtest.h>

#include <list>
#include <vector>

class BassFixture : public testing::Test
{
protected:
    // Freeing the layer closes every file while the fixture still holds it.
    void TearDown() override
    {
        BASS_Free();
        BassCapture::deselect();
    }

    MemoryFile& keep(std::vector<uint8_t> a_bytes)
    {
        m_files.emplace_back(std::move(a_bytes));
        return m_files.back();
    }

    HSTREAM create(MemoryFile& a_file, DWORD a_flags = BASS_STREAM_PRESCAN)
    {
        return BASS_StreamCreateFileUser(STREAMFILE_NOBUFFER, a_flags, &MemoryFile::s_procs,
                                         &a_file);
    }

    // Opens the capture device at a_numerator / a_denominator frames per
    // second and plays a stream over a_file on it (with restart); 0 if any
    // of that fails.
    HSTREAM playCaptured(MemoryFile& a_file, DWORD a_flags, uint32_t a_numerator,
                         uint32_t a_denominator = 1)
    {
        if (!BassCapture::select(a_numerator, a_denominator) ||
            !BASS_Init(-1, 44100, 0, nullptr, nullptr))
            return 0;
        a_file.m_cursor = 0;
        const HSTREAM stream = create(a_file, a_flags);
        return stream != 0 && BASS_ChannelPlay(stream, TRUE) ? stream : 0;
    }

    // Steps the capture device a_steps times; returns the samples stepped over.
    static std::vector<int16_t> step(int a_steps)
    {
        std::vector<int16_t> samples;
        for (int i = 0; i < a_steps; ++i)
            BassCapture::step(samples);
        return samples;
    }

private:
    std::list<MemoryFile> m_files;
};
