// music_generator: renders the demo's song and writes it as KUV-2.mp3 (and, on request, as a WAV).
#include "Mp3Encoder.h"
#include "Song.h"
#include "StereoBuffer.h"
#include "WavWriter.h"

#include <stdio.h>
#include <string.h>

#include <string>

namespace
{

const char kUsage[] =
    "usage: music_generator [--mp3 PATH] [--wav PATH]\n"
    "\n"
    "Renders the song (170 BPM, 44.1 kHz stereo) and writes it as an MP3 (224 kbit/s\n"
    "constant bit rate, with an Info frame for gapless decoding) and/or as a 32-bit\n"
    "float WAV for analysis. At least one output is required.\n";

constexpr int kBitrate = 224;

}

int main(int a_argc, char** a_argv)
{
    std::string mp3Path;
    std::string wavPath;
    for (int i = 1; i < a_argc; ++i)
    {
        if (i + 1 < a_argc && strcmp(a_argv[i], "--mp3") == 0)
            mp3Path = a_argv[++i];
        else if (i + 1 < a_argc && strcmp(a_argv[i], "--wav") == 0)
            wavPath = a_argv[++i];
        else
        {
            fputs(kUsage, stderr);
            return 2;
        }
    }
    if (mp3Path.empty() && wavPath.empty())
    {
        fputs(kUsage, stderr);
        return 2;
    }

    const StereoBuffer song = Song::render();
    std::string error;
    if (!wavPath.empty() && !WavWriter::write(song, wavPath, error))
    {
        fprintf(stderr, "music_generator: %s\n", error.c_str());
        return 1;
    }
    if (!mp3Path.empty() && !Mp3Encoder::write(song, kBitrate, mp3Path, error))
    {
        fprintf(stderr, "music_generator: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
