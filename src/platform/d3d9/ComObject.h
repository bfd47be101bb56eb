// COM reference counting for the layer's objects: one reference on creation,
// no other interfaces to query. By default the object is deleted when
// Release drops the last reference; device resources decide for themselves
// (DeviceResource: the device's state may still hold them).
#pragma once

#include "core/Assert.h"

#include <unknwn.h>

#include <atomic>

// The layer's objects alive now, for tests that look for leaks.
inline std::atomic<long> g_liveComObjects{0};

template <typename Interface>
class ComObject : public Interface
{
public:
    HRESULT QueryInterface(REFIID, void** a_object) override
    {
        if (a_object)
            *a_object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG AddRef() override
    {
        if (m_references++ == 0)
            revived();
        return m_references;
    }

    ULONG Release() override
    {
        TARVO_ASSERT(m_references > 0);
        const ULONG left = --m_references;
        if (left == 0)
            released();  // may delete this
        return left;
    }

    ComObject() { ++g_liveComObjects; }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

protected:
    virtual ~ComObject() { --g_liveComObjects; }

    // The count rose from 0 again (an object kept alive without references
    // handed out anew), and fell to 0.
    virtual void revived() {}
    virtual void released() { delete this; }

    ULONG m_references = 1;
};

// Takes a counted reference into a slot, releasing what the slot held.
template <typename Interface>
void replaceReference(Interface*& a_slot, Interface* a_new)
{
    if (a_new)
        a_new->AddRef();
    Interface* old = a_slot;
    a_slot = a_new;
    if (old)
        old->Release();
}
