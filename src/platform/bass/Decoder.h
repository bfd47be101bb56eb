// A stream's source of samples: decodes a file, read only through the four
// user file procedures of BASS_StreamCreateFileUser, to 16-bit samples.
// Each platform has its own (mpg123 on Linux, ACM's MP3 codec on Windows).
#pragma once

#include "bass.h"

#include <stddef.h>
#include <stdint.h>

#include <memory>

class Decoder
{
public:
    // The platform's MP3 decoder over a_procs. It calls the close procedure
    // once, when it is destroyed, as the real library does when a stream goes.
    static std::unique_ptr<Decoder> createMp3(const BASS_FILEPROCS& a_procs, void* a_user);
    virtual ~Decoder() = default;

    // Opening: a_prescan scans every frame for the exact length. Returns
    // BASS_OK or the BASS_ERROR_* code that stream creation reports.
    virtual int open(bool a_prescan) = 0;

    // Format and length, valid after a successful open.
    virtual uint32_t rate() const = 0;
    virtual uint32_t channels() const = 0;
    virtual uint64_t length() const = 0;  // sample frames; estimated without a prescan

    // Decoding: up to a_frames frames of interleaved samples; 0 at the end
    // (or on damaged data, which ends the stream).
    virtual size_t read(int16_t* a_samples, size_t a_frames) = 0;
    virtual bool rewind() = 0;
};
