// A keyframe track: one key per frame (vectors, floats or quaternions),
// sampled at fractional frame times with wrap-around.
#pragma once

#include "core/Assert.h"

#include <d3dx9.h>

#include <math.h>
#include <stdint.h>

#include <vector>

template <typename K>
class Track
{
public:
    // Loading: a track is filled once, by replacing its keys with an empty
    // array and appending the keys in frame order.
    void reset(uint32_t a_capacity);
    void append(const K& a_key);

    uint32_t count() const { return static_cast<uint32_t>(m_keys.size()); }
    const K& key(uint32_t a_index) const;

    // The keys blended linearly at a_time (frames). The track repeats every
    // count() - 1 frames: key count() - 1 is never returned, and after key
    // count() - 2 the blend runs toward key 0. Negative times extrapolate
    // away from the next key. A track of one key is constant.
    K sample(float a_time) const;

private:
    std::vector<K> m_keys;
};

// The rotation of a mesh at frame time a_time: squad over the keys of frames
// f + 1 and f + 2, with the keys of frames f and f + 3 shaping the tangents,
// where f is a_time truncated toward zero. Rotation therefore runs one frame
// ahead of a plain sample of the same track.
inline D3DXQUATERNION rotationAt(const Track<D3DXQUATERNION>& a_track, float a_time);

template <typename K>
void Track<K>::reset(uint32_t a_capacity)
{
    std::vector<K> keys;
    keys.reserve(a_capacity);
    m_keys.swap(keys);
}

template <typename K>
void Track<K>::append(const K& a_key)
{
    m_keys.push_back(a_key);
}

template <typename K>
const K& Track<K>::key(uint32_t a_index) const
{
    TARVO_ASSERT(a_index < count());
    return m_keys[a_index];
}

template <typename K>
K Track<K>::sample(float a_time) const
{
    // An empty track has no key 0 to return, and a time beyond the 64-bit
    // range (or NaN) has no whole frame number.
    TARVO_ASSERT(count() != 0);
    TARVO_ASSERT(a_time > -9.2e18f && a_time < 9.2e18f);
    if (count() < 2)
        return m_keys[0];

    const uint32_t period = count() - 1;
    const int64_t whole = static_cast<int64_t>(a_time);
    // Negative frames wrap through the unsigned low 32 bits, as the exported
    // animation expects: -1 is frame 2^32 - 1 of the cycle.
    const uint32_t i = static_cast<uint32_t>(whole) % period;
    const uint32_t j = (i + 1) % period;
    const float f = a_time - static_cast<float>(whole);
    return m_keys[i] * (1.0f - f) + m_keys[j] * f;
}

inline D3DXQUATERNION rotationAt(const Track<D3DXQUATERNION>& a_track, float a_time)
{
    const float f = truncf(a_time);
    const D3DXQUATERNION q0 = a_track.sample(f);
    const D3DXQUATERNION q1 = a_track.sample(f + 1.0f);
    const D3DXQUATERNION q2 = a_track.sample(f + 2.0f);
    const D3DXQUATERNION q3 = a_track.sample(f + 3.0f);
    D3DXQUATERNION a, b, c, rotation;
    D3DXQuaternionSquadSetup(&a, &b, &c, &q0, &q1, &q2, &q3);
    return *D3DXQuaternionSquad(&rotation, &q1, &a, &b, &c, a_time - f);
}
