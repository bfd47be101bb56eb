// The system's one collection: an ordered list of owned items, each
// registered under a name. Positions never change once handed out; lookups
// by name find the earliest entry of that name.
#pragma once

#include "core/Assert.h"

#include <stdint.h>
#include <string.h>

#include <vector>

template <typename T>
class Container
{
public:
    Container() = default;
    ~Container();
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    // Appends a_item under a copy of a_name; takes ownership of a_item.
    void add(const char* a_name, T* a_item);

    // The first item registered under a_name (case-sensitive), or null.
    T* find(const char* a_name) const;

    T* at(uint32_t a_index) const;
    const char* nameAt(uint32_t a_index) const;  // the copy made by add
    uint32_t count() const { return static_cast<uint32_t>(m_entries.size()); }

private:
    struct Entry
    {
        char* name;  // owned copy
        T* item;     // owned
    };

    std::vector<Entry> m_entries;
};

template <typename T>
Container<T>::~Container()
{
    // Items go in the order they were added: a mesh before its instances.
    for (Entry& entry : m_entries)
    {
        delete[] entry.name;
        delete entry.item;
    }
}

template <typename T>
void Container<T>::add(const char* a_name, T* a_item)
{
    TARVO_ASSERT(a_name && a_item);
    const size_t length = strlen(a_name) + 1;
    char* name = new char[length];
    memcpy(name, a_name, length);
    m_entries.push_back(Entry{name, a_item});
}

template <typename T>
T* Container<T>::find(const char* a_name) const
{
    TARVO_ASSERT(a_name);
    for (const Entry& entry : m_entries)
    {
        if (strcmp(entry.name, a_name) == 0)
            return entry.item;
    }
    return nullptr;
}

template <typename T>
T* Container<T>::at(uint32_t a_index) const
{
    TARVO_ASSERT(a_index < count());
    return m_entries[a_index].item;
}

template <typename T>
const char* Container<T>::nameAt(uint32_t a_index) const
{
    TARVO_ASSERT(a_index < count());
    return m_entries[a_index].name;
}
