// The part of every device resource that ties it to its device: the device
// keeps a list of its live resources so that, when it goes away first (COM
// lets callers release the device before its resources), each frees its GL
// objects while the device's context still exists and is left orphaned.
#pragma once

#include <d3d9.h>

class Device9;

class DeviceChild
{
public:
    explicit DeviceChild(Device9* a_device);
    virtual ~DeviceChild();
    DeviceChild(const DeviceChild&) = delete;
    DeviceChild& operator=(const DeviceChild&) = delete;

    // Null once the device is gone.
    Device9* device() const { return m_device; }
    // IDirect3DResource9::GetDevice: the device with a new reference.
    HRESULT getDevice(IDirect3DDevice9** a_device) const;

    // The device is being destroyed: free GL objects now (when its context
    // could be made current; otherwise they go with the context), and never
    // touch GL again.
    void orphan(bool a_contextCurrent);

protected:
    // Frees the GL objects; called once, with the device's context current.
    virtual void releaseGl() = 0;
    // Destructors of derived classes call this first.
    void releaseGlIfAlive();

private:
    Device9* m_device;
};
