// Writes a stereo buffer as a 32-bit float WAV file, for listening and analysis.
#include "WavWriter.h"

#include "StereoBuffer.h"
#include "Tempo.h"

#include <stdint.h>
#include <stdio.h>

#include <memory>
#include <vector>

namespace
{

struct FileCloser
{
    void operator()(FILE* a_file) const { fclose(a_file); }
};

void putLittle(std::vector<unsigned char>& a_out, uint32_t a_value, int a_bytes)
{
    for (int i = 0; i < a_bytes; ++i)
        a_out.push_back(static_cast<unsigned char>(a_value >> (8 * i)));
}

void putTag(std::vector<unsigned char>& a_out, const char* a_tag)
{
    a_out.insert(a_out.end(), a_tag, a_tag + 4);
}

}

bool WavWriter::write(const StereoBuffer& a_buffer, const std::string& a_path, std::string& a_error)
{
    // WAVE_FORMAT_IEEE_FLOAT (3): the RIFF layout with "fmt ", "fact" and "data"
    // chunks that Microsoft's multimedia format note asks of non-PCM formats.
    const uint32_t frames = static_cast<uint32_t>(a_buffer.frames());
    const uint32_t dataBytes = frames * 2u * 4u;
    std::vector<unsigned char> header;
    putTag(header, "RIFF");
    putLittle(header, 4u + (8u + 18u) + (8u + 4u) + (8u + dataBytes), 4);
    putTag(header, "WAVE");
    putTag(header, "fmt ");
    putLittle(header, 18, 4);
    putLittle(header, 3, 2);                        // format tag
    putLittle(header, 2, 2);                        // channels
    putLittle(header, Tempo::kSampleRate, 4);       // frames per second
    putLittle(header, Tempo::kSampleRate * 8u, 4);  // bytes per second
    putLittle(header, 8, 2);                        // bytes per frame
    putLittle(header, 32, 2);                       // bits per sample
    putLittle(header, 0, 2);                        // extension size
    putTag(header, "fact");
    putLittle(header, 4, 4);
    putLittle(header, frames, 4);
    putTag(header, "data");
    putLittle(header, dataBytes, 4);

    std::vector<float> interleaved(static_cast<size_t>(frames) * 2);
    for (size_t i = 0; i < frames; ++i)
    {
        interleaved[2 * i] = a_buffer.left()[i];
        interleaved[2 * i + 1] = a_buffer.right()[i];
    }

    std::unique_ptr<FILE, FileCloser> file(fopen(a_path.c_str(), "wb"));
    if (!file || fwrite(header.data(), 1, header.size(), file.get()) != header.size() ||
        fwrite(interleaved.data(), sizeof(float), interleaved.size(), file.get()) !=
            interleaved.size() ||
        fflush(file.get()) != 0)
    {
        a_error = "cannot write " + a_path;
        return false;
    }
    return true;
}
