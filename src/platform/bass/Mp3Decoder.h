// Decodes an MP3 file to 16-bit samples, reading it only through the four
// user file procedures of BASS_StreamCreateFileUser.
#pragma once

#include "bass.h"

#include <stddef.h>
#include <stdint.h>
#include <sys/types.h>

struct mpg123_handle_struct;

class Mp3Decoder
{
public:
    Mp3Decoder(const BASS_FILEPROCS& a_procs, void* a_user);
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Opening: a_prescan scans every frame for the exact length. Returns
    // BASS_OK or the BASS_ERROR_* code that stream creation reports.
    int open(bool a_prescan);

    // Format and length, valid after a successful open.
    uint32_t rate() const { return m_rate; }
    uint32_t channels() const { return m_channels; }
    uint64_t length() const { return m_length; }  // sample frames; estimated without a prescan

    // Decoding: up to a_frames frames of interleaved samples; 0 at the end
    // (or on damaged data, which ends the stream).
    size_t read(int16_t* a_samples, size_t a_frames);
    bool rewind();

private:
    // mpg123's reader over the user's procedures.
    static ssize_t readProc(void* a_self, void* a_buffer, size_t a_bytes);
    static off_t seekProc(void* a_self, off_t a_offset, int a_whence);

    BASS_FILEPROCS m_procs;
    void* m_user;
    uint64_t m_fileLength = 0;  // bytes, from the length procedure
    uint64_t m_cursor = 0;      // bytes; where the user's procedures read next
    mpg123_handle_struct* m_handle = nullptr;
    uint32_t m_rate = 0;
    uint32_t m_channels = 0;
    uint64_t m_length = 0;
};
