// The soundtrack's stream over its private copy of the MP3, and its spectrum.
#include "sound/Soundtrack.h"

#include "core/LauncherSettings.h"
#include "archive/FileSystem.h"
#include "sound/Time.h"

#include <string.h>

namespace
{

const char* const kFileName = "KUV-2.mp3";
const DWORD kRate = 44100;

}

// Without an output device the first frame's clock would have no soundtrack
// to read, so the demo then plays on the no-sound device instead: silent,
// at the right pace. The archive's memory is released after loading, so the
// stream reads a copy of the file.
Soundtrack* Soundtrack::create(float a_bpm)
{
    if (!BASS_Init(-1, kRate, 0, nullptr, nullptr) && !BASS_Init(0, kRate, 0, nullptr, nullptr))
        return nullptr;

    File file;
    ReturnCode read = FileSystem::readFile(kFileName, file);
    if (read.failed())
    {
        // Left initialised, the library would refuse the next BASS_Init.
        BASS_Free();
        return nullptr;
    }

    Soundtrack* soundtrack = new Soundtrack;
    soundtrack->m_length = file.m_size;
    soundtrack->m_data = new uint8_t[file.m_size];
    memcpy(soundtrack->m_data, file.m_data + file.m_position, file.m_size);
    file.m_position += file.m_size;

    BASS_FILEPROCS procs = {soundtrackClose, soundtrackLength, soundtrackRead, soundtrackSeek};
    const DWORD flags = BASS_STREAM_PRESCAN | (g_loop ? BASS_SAMPLE_LOOP : 0);
    soundtrack->m_stream =
        BASS_StreamCreateFileUser(STREAMFILE_NOBUFFER, flags, &procs, soundtrack);
    if (soundtrack->m_stream == 0)
    {
        delete soundtrack;
        return nullptr;
    }
    soundtrack->m_bpm = a_bpm;
    return soundtrack;
}

Soundtrack::~Soundtrack()
{
    BASS_Free();
    delete[] m_data;
}

// The refresh threshold is the float 0.05 compared in double precision
// (0.05000000074505806), so a step of exactly 0.05f does not refresh.
float* Soundtrack::getSpectrum()
{
    const float time = Time::g_time;
    const float elapsed = time - m_spectrumTime;
    if (!(static_cast<double>(elapsed) > static_cast<double>(0.05f) || elapsed < 0.0f))
        return m_spectrum;
    BASS_ChannelGetData(m_stream, m_spectrum, BASS_DATA_FFT256);
    smoothSpectrum(m_spectrum);
    smoothSpectrum(m_spectrum);
    m_spectrumTime = time;
    return m_spectrum;
}

// In increasing order and in place: bin j's left neighbour is already
// smoothed in this pass, its right neighbour not yet (bin 0 takes the old
// bin 127; bin 127 takes the new bin 0). A bin's own value does not count.
void Soundtrack::smoothSpectrum(float* a_spectrum)
{
    for (int j = 0; j < kSpectrumBins; ++j)
        a_spectrum[j] = 0.5f * (a_spectrum[(j + kSpectrumBins - 1) % kSpectrumBins] +
                                a_spectrum[(j + 1) % kSpectrumBins]);
}

void CALLBACK soundtrackClose(void*) {}

QWORD CALLBACK soundtrackLength(void* a_user)
{
    return static_cast<Soundtrack*>(a_user)->m_length;
}

DWORD CALLBACK soundtrackRead(void* a_buffer, DWORD a_length, void* a_user)
{
    Soundtrack& soundtrack = *static_cast<Soundtrack*>(a_user);
    const uint64_t left = soundtrack.m_length - soundtrack.m_position;
    const DWORD count = a_length < left ? a_length : static_cast<DWORD>(left);
    memcpy(a_buffer, soundtrack.m_data + soundtrack.m_position, count);
    soundtrack.m_position += count;
    return count;
}

BOOL CALLBACK soundtrackSeek(QWORD a_offset, void* a_user)
{
    Soundtrack& soundtrack = *static_cast<Soundtrack*>(a_user);
    if (a_offset >= soundtrack.m_length)
        return FALSE;
    soundtrack.m_position = a_offset;
    return TRUE;
}
