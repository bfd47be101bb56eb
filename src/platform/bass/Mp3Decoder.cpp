// MP3 decoding with libmpg123 over the user's file procedures.
#include "Mp3Decoder.h"

#include <mpg123.h>
#include <stdio.h>

namespace
{

// mpg123 before 1.27 needs its global set-up once; later versions ignore it.
void initialiseLibrary()
{
    static const int s_result = mpg123_init();
    static_cast<void>(s_result);
}

}

std::unique_ptr<Decoder> Decoder::createMp3(const BASS_FILEPROCS& a_procs, void* a_user)
{
    return std::unique_ptr<Decoder>(new Mp3Decoder(a_procs, a_user));
}

Mp3Decoder::Mp3Decoder(const BASS_FILEPROCS& a_procs, void* a_user)
    : m_procs(a_procs), m_user(a_user)
{
}

Mp3Decoder::~Mp3Decoder()
{
    if (m_handle)
    {
        mpg123_close(m_handle);
        mpg123_delete(m_handle);
    }
    // The real library calls the close procedure once, when the stream goes.
    m_procs.close(m_user);
}

int Mp3Decoder::open(bool a_prescan)
{
    initialiseLibrary();
    int error = MPG123_OK;
    m_handle = mpg123_new(nullptr, &error);
    if (!m_handle)
        return BASS_ERROR_MEM;
    mpg123_param(m_handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);

    // Every rate and channel count the file has, always as 16-bit samples,
    // which is what the real library decodes to without BASS_SAMPLE_FLOAT.
    mpg123_format_none(m_handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(m_handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

    m_fileLength = m_procs.length(m_user);
    if (mpg123_replace_reader_handle(m_handle, &Mp3Decoder::readProc, &Mp3Decoder::seekProc,
                                     nullptr) != MPG123_OK ||
        mpg123_open_handle(m_handle, this) != MPG123_OK)
        return BASS_ERROR_FILEFORM;
    if (m_fileLength != 0)
        mpg123_set_filesize(m_handle, static_cast<off_t>(m_fileLength));
    if (a_prescan && mpg123_scan(m_handle) != MPG123_OK)
        return BASS_ERROR_FILEFORM;

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(m_handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        channels <= 0)
        return BASS_ERROR_FILEFORM;
    const off_t length = mpg123_length(m_handle);
    if (length <= 0)
        return BASS_ERROR_FILEFORM;
    m_rate = static_cast<uint32_t>(rate);
    m_channels = static_cast<uint32_t>(channels);
    m_length = static_cast<uint64_t>(length);
    return BASS_OK;
}

size_t Mp3Decoder::read(int16_t* a_samples, size_t a_frames)
{
    const size_t frameBytes = m_channels * sizeof(int16_t);
    unsigned char* out = reinterpret_cast<unsigned char*>(a_samples);
    const size_t wanted = a_frames * frameBytes;
    size_t total = 0;
    while (total < wanted)
    {
        size_t done = 0;
        const int result = mpg123_read(m_handle, out + total, wanted - total, &done);
        total += done;
        if (result == MPG123_NEW_FORMAT)
            continue;
        if (result != MPG123_OK || done == 0)
            break;
    }
    return total / frameBytes;
}

bool Mp3Decoder::rewind()
{
    return mpg123_seek(m_handle, 0, SEEK_SET) == 0;
}

ssize_t Mp3Decoder::readProc(void* a_self, void* a_buffer, size_t a_bytes)
{
    Mp3Decoder& self = *static_cast<Mp3Decoder*>(a_self);
    if (self.m_fileLength != 0 && self.m_cursor >= self.m_fileLength)
        return 0;
    const DWORD wanted = a_bytes > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<DWORD>(a_bytes);
    const DWORD got = self.m_procs.read(a_buffer, wanted, self.m_user);
    if (got == static_cast<DWORD>(-1) || got > wanted)
        return -1;
    self.m_cursor += got;
    return static_cast<ssize_t>(got);
}

// mpg123 opens a file by seeking to its end to learn its size, but a user
// seek procedure may refuse that offset (it is not a readable byte; the
// demo's soundtrack refuses it). That position is kept here alone: reads
// there return 0 without asking the user, and the next seek elsewhere moves
// the user's cursor again. A length of 0 means the length is unknown.
off_t Mp3Decoder::seekProc(void* a_self, off_t a_offset, int a_whence)
{
    Mp3Decoder& self = *static_cast<Mp3Decoder*>(a_self);
    int64_t target = a_offset;
    if (a_whence == SEEK_CUR)
        target += static_cast<int64_t>(self.m_cursor);
    else if (a_whence == SEEK_END && self.m_fileLength != 0)
        target += static_cast<int64_t>(self.m_fileLength);
    else if (a_whence != SEEK_SET)
        return -1;
    if (target < 0)
        return -1;
    const uint64_t offset = static_cast<uint64_t>(target);
    const bool atEnd = self.m_fileLength != 0 && offset == self.m_fileLength;
    if (!atEnd && !self.m_procs.seek(offset, self.m_user))
        return -1;
    self.m_cursor = offset;
    return static_cast<off_t>(offset);
}
