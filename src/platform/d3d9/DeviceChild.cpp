// The part of every device resource that ties it to its device.
#include "DeviceChild.h"

#include "Device9.h"

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

void DeviceChild::releaseGlIfAlive()
{
    if (m_device)
        releaseGl();
}
