// The part of every device resource that ties it to its device.
#include "DeviceChild.h"

#include "Device9.h"

#include "core/Assert.h"

DeviceChild::DeviceChild(Device9* a_device) : m_device(a_device)
{
    TARVO_ASSERT(a_device);
    m_device->adopt(this);
}

DeviceChild::~DeviceChild()
{
    if (m_device)
        m_device->disown(this);
}

HRESULT DeviceChild::getDevice(IDirect3DDevice9** a_device) const
{
    if (!a_device || !m_device)
        return D3DERR_INVALIDCALL;
    m_device->AddRef();
    *a_device = m_device;
    return D3D_OK;
}

void DeviceChild::orphan(bool a_contextCurrent)
{
    if (a_contextCurrent)
        releaseGlIfAlive();
    m_device = nullptr;
}

void DeviceChild::bind()
{
    ++m_bindings;
}

void DeviceChild::unbind()
{
    TARVO_ASSERT(m_bindings > 0);
    if (--m_bindings == 0 && !referenced())
        destroy();
}

void DeviceChild::publicCountRose()
{
    if (m_device)
        m_device->AddRef();
}

void DeviceChild::publicCountFell()
{
    Device9* device = m_device;
    if (m_bindings == 0)
        destroy();
    // Last: the device may go with this reference, unbinding (and so
    // destroying) what its state still holds.
    if (device)
        device->Release();
}

void DeviceChild::releaseGlIfAlive()
{
    // Without a current context the GL objects go with the context.
    if (contextCurrent())
        releaseGl();
}

bool DeviceChild::contextCurrent() const
{
    return m_device && m_device->makeCurrent();
}
