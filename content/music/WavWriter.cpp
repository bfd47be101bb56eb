// Writes a stereo buffer as a 32-bit float WAV file, for listening and analysis, with libsndfile.
#include "WavWriter.h"

#include "StereoBuffer.h"
#include "Tempo.h"

#include <sndfile.h>
#include <stdio.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace
{

// The frames handed to libsndfile at a time: the song is minutes long, and interleaving it
// whole would double its memory.
constexpr size_t kChunkFrames = 65536;

}

bool WavWriter::write(const StereoBuffer& a_buffer, const std::string& a_path, std::string& a_error)
{
    SF_INFO info = {};
    info.samplerate = Tempo::kSampleRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(a_path.c_str(), SFM_WRITE, &info);
    if (!file)
    {
        a_error = "cannot write " + a_path + ": " + sf_strerror(nullptr);
        return false;
    }
    // The samples as they are, without the PEAK chunk libsndfile adds to float files by default:
    // the layout stays the plain one that every reader knows.
    sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);

    std::vector<float> interleaved;
    bool written = true;
    for (size_t first = 0; written && first < a_buffer.frames(); first += kChunkFrames)
    {
        const size_t count = std::min(kChunkFrames, a_buffer.frames() - first);
        interleaved.resize(2 * count);
        for (size_t i = 0; i < count; ++i)
        {
            interleaved[2 * i] = a_buffer.left()[first + i];
            interleaved[2 * i + 1] = a_buffer.right()[first + i];
        }
        written = sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(count)) ==
                  static_cast<sf_count_t>(count);
    }
    if (!written)
        a_error = "cannot write " + a_path + ": " + sf_strerror(file);
    // Closing writes the header's sizes; a failure there leaves a file no reader can trust.
    if (sf_close(file) != 0 && written)
    {
        a_error = "cannot write " + a_path + ": closing failed";
        written = false;
    }
    // Only a file of ours: a device given as the output stays.
    struct stat status;
    if (!written && stat(a_path.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        remove(a_path.c_str());
    return written;
}
