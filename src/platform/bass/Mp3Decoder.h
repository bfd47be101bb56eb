// Decodes an MP3 file to 16-bit samples with libmpg123.
#pragma once

#include "Decoder.h"

#include <stddef.h>
#include <stdint.h>
#include <sys/types.h>

struct mpg123_handle_struct;

class Mp3Decoder : public Decoder
{
public:
    Mp3Decoder(const BASS_FILEPROCS& a_procs, void* a_user);
    ~Mp3Decoder() override;
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    int open(bool a_prescan) override;
    uint32_t rate() const override { return m_rate; }
    uint32_t channels() const override { return m_channels; }
    uint64_t length() const override { return m_length; }
    size_t read(int16_t* a_samples, size_t a_frames) override;
    bool rewind() override;

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
