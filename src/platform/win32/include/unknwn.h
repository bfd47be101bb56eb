// COM's base interface, from which the Direct3D and D3DX interfaces derive.
#pragma once

#include <windows.h>

#ifndef GUID_DEFINED
#define GUID_DEFINED
struct GUID
{
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    unsigned char Data4[8];
};
#endif

typedef GUID IID;
typedef const IID& REFIID;

#ifndef E_NOINTERFACE
#define E_NOINTERFACE static_cast<HRESULT>(0x80004002)
#endif

// Objects delete themselves when Release drops the last reference, so the
// interface has no public destructor, as in COM.
struct IUnknown
{
    virtual HRESULT QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
