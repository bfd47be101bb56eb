// The soundtrack over any bytes: the file "KUV-2.mp3" read as the demo reads
// it, its stream created through the user file procedures (with the prescan
// the demo asks for) on the capture device, then played for a few video
// frames with the spectrum read at each. Looping follows the input's length,
// so that both ends of a stream are reached. A stream that cannot be made
// must leave the audio library free; one that plays must give a position and
// a finite spectrum.
#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"
#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

#include <BassCapture.h>
#include <MessageBoxRecorder.h>
#include <bass.h>

#include <math.h>
#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace
{

constexpr uint32_t kFramesPerSecond = 30;
constexpr int kFrames = 6;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_data, size_t a_size)
{
    static TemporaryFolder s_folder(true);
    writeBytes("KUV-2.mp3", std::vector<uint8_t>(a_data, a_data + a_size));
    g_fatalErrorShown = false;
    g_loop = (a_size & 1) != 0;
    MessageBoxRecorder boxes;
    if (!BassCapture::select(kFramesPerSecond))
        __builtin_trap();
    Soundtrack* soundtrack = Soundtrack::create(170.0f);
    if (!soundtrack)
    {
        // Freed again: the next creation may initialise the library.
        if (!BASS_Init(0, 44100, 0, nullptr, nullptr) || !BASS_Free())
            __builtin_trap();
        BassCapture::deselect();
        return 0;
    }
    if (!BASS_ChannelPlay(soundtrack->m_stream, TRUE))
        __builtin_trap();
    std::vector<int16_t> samples;
    for (int frame = 0; frame < kFrames; ++frame)
    {
        BassCapture::step(samples);
        const QWORD position = BASS_ChannelGetPosition(soundtrack->m_stream, BASS_POS_BYTE);
        if (position == QWORD(-1))
            __builtin_trap();
        Time::g_time = float(BASS_ChannelBytes2Seconds(soundtrack->m_stream, position));
        const float* spectrum = soundtrack->getSpectrum();
        for (int bin = 0; bin < Soundtrack::kSpectrumBins; ++bin)
        {
            if (!isfinite(spectrum[bin]))
                __builtin_trap();
        }
    }
    delete soundtrack;
    Time::g_time = 0.0f;
    g_loop = false;
    BassCapture::deselect();
    return 0;
}
