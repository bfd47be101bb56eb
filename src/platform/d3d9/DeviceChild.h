// The part of every device resource that ties it to its device, counted as
// Direct3D 9 counts: a resource the program holds (public count above 0)
// holds one reference on its device, so the device lives until its last
// resource is released; the device's state binds resources (stages, stream,
// targets) without raising their public count, and a bound resource the
// program has released lives on, out of its reach, until it is unbound.
// The device also keeps a list of its live resources so that, should it go
// away first, each frees its GL objects while the device's context still
// exists and is left orphaned.
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

    // A binding by the device's state: not in the public count.
    virtual void bind();
    virtual void unbind();

protected:
    // The public count rose from 0 (creation included) or fell to 0: the
    // reference on the device is taken or given back, and a resource bound
    // nowhere is destroyed.
    void publicCountRose();
    void publicCountFell();
    virtual bool referenced() const = 0;  // public count above 0
    virtual void destroy() = 0;

    // Frees the GL objects; called once, with the device's context current.
    virtual void releaseGl() = 0;
    // Destructors of derived classes call this first.
    void releaseGlIfAlive();
    // The device's context is current (calls that reach GL make sure of it:
    // the device may have outlived its window); false with no device.
    bool contextCurrent() const;

private:
    Device9* m_device;
    ULONG m_bindings = 0;
};

// Binds a_new into a slot of the device's state, unbinding what it held.
template <typename Object>
void replaceBinding(Object*& a_slot, Object* a_new)
{
    if (a_new)
        dynamic_cast<DeviceChild*>(a_new)->bind();
    Object* old = a_slot;
    a_slot = a_new;
    if (old)
        dynamic_cast<DeviceChild*>(old)->unbind();
}
