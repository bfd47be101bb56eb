// A device resource with a COM count of its own (textures, buffers,
// shaders): the public count is ComObject's, the bindings DeviceChild's.
#pragma once

#include "ComObject.h"
#include "DeviceChild.h"

template <typename Interface>
class DeviceResource : public ComObject<Interface>, public DeviceChild
{
protected:
    // Created with one public reference, which holds the device.
    explicit DeviceResource(Device9* a_device) : DeviceChild(a_device) { publicCountRose(); }

    void revived() override { publicCountRose(); }
    void released() override { publicCountFell(); }
    bool referenced() const override { return this->m_references != 0; }
    void destroy() override { delete this; }
};
