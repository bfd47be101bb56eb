// The soundtrack: the MP3 streamed from the soundtrack's own copy of its
// bytes, the tempo, and the smoothed spectrum that the picture reads. Its
// playback position is the demo's clock (see Timer).
#pragma once

#include <bass.h>

#include <stdint.h>

class Soundtrack
{
public:
    static constexpr int kSpectrumBins = 128;

    // Creation: reads "KUV-2.mp3" and makes its stream, not yet playing.
    // Returns an owned soundtrack, or null on failure.
    static Soundtrack* create(float a_bpm);
    Soundtrack() = default;
    // Frees the audio library (and with it the stream) and the data.
    ~Soundtrack();
    Soundtrack(const Soundtrack&) = delete;
    Soundtrack& operator=(const Soundtrack&) = delete;

    // Spectrum: 128 magnitudes at the position heard, smoothed, refreshed at
    // most every 0.05 s of demo time (and whenever demo time runs backwards).
    float* getSpectrum();
    // One smoothing pass, in place: each bin becomes the mean of its two
    // neighbours, wrapping at both ends, the left one already smoothed.
    static void smoothSpectrum(float* a_spectrum);

    HSTREAM m_stream = 0;
    uint8_t* m_data = nullptr;    // owned copy of the MP3 file
    uint64_t m_length = 0;        // bytes in m_data
    uint64_t m_position = 0;      // the stream's read cursor into m_data, bytes
    float m_bpm = 0.0f;           // beats per minute
    float m_spectrumTime = 0.0f;  // demo time of the last refresh, seconds
    float m_spectrum[kSpectrumBins] = {};
};

// The stream's user file procedures over m_data; a_user is the Soundtrack.
// The audio library calls them on its own thread, one at a time.
void CALLBACK soundtrackClose(void* a_user);
QWORD CALLBACK soundtrackLength(void* a_user);
DWORD CALLBACK soundtrackRead(void* a_buffer, DWORD a_length, void* a_user);
BOOL CALLBACK soundtrackSeek(QWORD a_offset, void* a_user);
