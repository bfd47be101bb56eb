// The audio library's entry points, in the order of bass.h.
#include "bass.h"

#include "Layer.h"
#include "Decoder.h"

namespace Layer
{
std::unique_ptr<Device> g_device;
uint32_t g_captureNumerator = 0;
uint32_t g_captureDenominator = 0;
}

namespace
{

// The real library keeps the last error per thread; a successful call
// clears it.
thread_local int t_error = BASS_OK;

template <typename T>
T fail(int a_error, T a_result)
{
    t_error = a_error;
    return a_result;
}

template <typename T>
T succeed(T a_result)
{
    t_error = BASS_OK;
    return a_result;
}

}

BOOL BASS_Init(int device, DWORD freq, DWORD, HWND, const void*)
{
    if (Layer::g_device)
        return fail(BASS_ERROR_ALREADY, FALSE);
    const int error = Device::open(device, freq, Layer::g_captureNumerator,
                                   Layer::g_captureDenominator, Layer::g_device);
    return error == BASS_OK ? succeed(TRUE) : fail(error, FALSE);
}

// Frees every stream (each calls its close procedure) and the device.
BOOL BASS_Free(void)
{
    if (!Layer::g_device)
        return fail(BASS_ERROR_INIT, FALSE);
    Layer::g_device.reset();
    return succeed(TRUE);
}

int BASS_ErrorGetCode(void)
{
    return t_error;
}

// Only what the system asks for is implemented: unbuffered user files,
// looping and prescanning. Other systems and flags are refused rather than
// silently ignored.
HSTREAM BASS_StreamCreateFileUser(DWORD system, DWORD flags, const BASS_FILEPROCS* proc, void* user)
{
    if (!Layer::g_device)
        return fail(BASS_ERROR_INIT, HSTREAM(0));
    if (system != STREAMFILE_NOBUFFER || (flags & ~DWORD(BASS_SAMPLE_LOOP | BASS_STREAM_PRESCAN)) ||
        !proc || !proc->close || !proc->length || !proc->read || !proc->seek)
        return fail(BASS_ERROR_ILLPARAM, HSTREAM(0));
    std::unique_ptr<Decoder> decoder = Decoder::createMp3(*proc, user);
    const int opened = decoder->open((flags & BASS_STREAM_PRESCAN) != 0);
    if (opened != BASS_OK)
        return fail(opened, HSTREAM(0));
    HSTREAM handle = 0;
    const int added = Layer::g_device->add(
        std::unique_ptr<Stream>(new Stream(std::move(decoder), (flags & BASS_SAMPLE_LOOP) != 0)),
        handle);
    return added == BASS_OK ? succeed(handle) : fail(added, HSTREAM(0));
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart)
{
    if (!Layer::g_device)
        return fail(BASS_ERROR_HANDLE, FALSE);
    const int error = Layer::g_device->play(handle, restart != FALSE);
    return error == BASS_OK ? succeed(TRUE) : fail(error, FALSE);
}

QWORD BASS_ChannelGetPosition(DWORD handle, DWORD mode)
{
    if (!Layer::g_device)
        return fail(BASS_ERROR_HANDLE, QWORD(-1));
    if (mode != BASS_POS_BYTE)
        return fail(BASS_ERROR_NOTAVAIL, QWORD(-1));
    uint64_t bytes = 0;
    const int error = Layer::g_device->position(handle, bytes);
    return error == BASS_OK ? succeed(QWORD(bytes)) : fail(error, QWORD(-1));
}

double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos)
{
    if (!Layer::g_device)
        return fail(BASS_ERROR_HANDLE, -1.0);
    double bytesPerSecond = 0.0;
    const int error = Layer::g_device->bytesPerSecond(handle, bytesPerSecond);
    return error == BASS_OK ? succeed(static_cast<double>(pos) / bytesPerSecond)
                            : fail(error, -1.0);
}

// Only the 256-sample spectrum: 128 floats at the position being heard.
// The return value is the bytes of the channel the transform read.
DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length)
{
    if (!Layer::g_device)
        return fail(BASS_ERROR_HANDLE, DWORD(-1));
    if (length != BASS_DATA_FFT256 || !buffer)
        return fail(BASS_ERROR_ILLPARAM, DWORD(-1));
    DWORD bytesRead = 0;
    const int error = Layer::g_device->spectrum(handle, static_cast<float*>(buffer), bytesRead);
    return error == BASS_OK ? succeed(bytesRead) : fail(error, DWORD(-1));
}
