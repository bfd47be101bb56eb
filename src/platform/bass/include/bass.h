// The audio library as the system sees it: the types, constants and functions
// it calls, with the real API's names, values and signatures.
#pragma once

#include <stdint.h>
#include <windows.h>

#ifdef __cplusplus
extern "C"
{
#endif

    // Base types (DWORD, BOOL and HWND come from <windows.h>, as on the real platform).
    typedef uint64_t QWORD;
    typedef DWORD HSTREAM;

// Error codes, as BASS_ErrorGetCode reports them.
#define BASS_OK 0
#define BASS_ERROR_MEM 1
#define BASS_ERROR_DRIVER 3
#define BASS_ERROR_HANDLE 5
#define BASS_ERROR_FORMAT 6
#define BASS_ERROR_INIT 8
#define BASS_ERROR_ALREADY 14
#define BASS_ERROR_ILLPARAM 20
#define BASS_ERROR_DEVICE 23
#define BASS_ERROR_NOTAVAIL 37
#define BASS_ERROR_FILEFORM 41
#define BASS_ERROR_ENDED 45
#define BASS_ERROR_UNKNOWN -1

// Stream creation flags.
#define BASS_SAMPLE_LOOP 4
#define BASS_STREAM_PRESCAN 0x20000

// File systems of BASS_StreamCreateFileUser.
#define STREAMFILE_NOBUFFER 0

// Position modes.
#define BASS_POS_BYTE 0

// BASS_ChannelGetData: a 256-sample FFT, returning 128 floats.
#define BASS_DATA_FFT256 0x80000000

    // User file procedures; the user pointer is the one given at stream creation.
    typedef void(CALLBACK FILECLOSEPROC)(void* user);
    typedef QWORD(CALLBACK FILELENPROC)(void* user);
    typedef DWORD(CALLBACK FILEREADPROC)(void* buffer, DWORD length, void* user);
    typedef BOOL(CALLBACK FILESEEKPROC)(QWORD offset, void* user);

    typedef struct
    {
        FILECLOSEPROC* close;
        FILELENPROC* length;
        FILEREADPROC* read;
        FILESEEKPROC* seek;
    } BASS_FILEPROCS;

    // Output device.
    BOOL BASS_Init(int device, DWORD freq, DWORD flags, HWND win, const void* dsguid);
    BOOL BASS_Free(void);
    int BASS_ErrorGetCode(void);

    // Streams and channels.
    HSTREAM BASS_StreamCreateFileUser(DWORD system, DWORD flags, const BASS_FILEPROCS* proc,
                                      void* user);
    BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
    QWORD BASS_ChannelGetPosition(DWORD handle, DWORD mode);
    double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos);
    DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);

#ifdef __cplusplus
}
#endif
