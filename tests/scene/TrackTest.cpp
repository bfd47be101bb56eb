// Tests of keyframe tracks: sampling with the count - 1 period, negative and
// very large times, single keys, loading, and the mesh rotation order.
#include "scene/Track.h"

#include <gtest/gtest.h>

#include <math.h>

#include <initializer_list>

namespace
{

template <typename K>
void load(Track<K>& a_track, std::initializer_list<K> a_keys)
{
    a_track.reset(static_cast<uint32_t>(a_keys.size()));
    for (const K& key : a_keys)
        a_track.append(key);
}

void expectQuaternionNear(const D3DXQUATERNION& a_actual, const D3DXQUATERNION& a_expected,
                          float a_tolerance)
{
    EXPECT_NEAR(a_actual.x, a_expected.x, a_tolerance);
    EXPECT_NEAR(a_actual.y, a_expected.y, a_tolerance);
    EXPECT_NEAR(a_actual.z, a_expected.z, a_tolerance);
    EXPECT_NEAR(a_actual.w, a_expected.w, a_tolerance);
}

// A rotation about the axis (a_x, a_y, a_z) by a_angle radians.
D3DXQUATERNION rotation(float a_x, float a_y, float a_z, float a_angle)
{
    const D3DXVECTOR3 axis(a_x, a_y, a_z);
    D3DXQUATERNION q;
    return *D3DXQuaternionRotationAxis(&q, &axis, a_angle);
}

}

// A vec3 track of three keys repeats every two frames and blends toward key 0
// after key 1; negative times extrapolate away from the next key.
TEST(TrackTest, SamplesVectorsWithThePeriodCountMinusOne)
{
    Track<D3DXVECTOR3> track;
    load(track, {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(0, 0, 0)});

    struct Case
    {
        float time;
        float expectedX;
    };
    const Case cases[] = {
        {0.0f, 0.0f},   {0.5f, 5.0f}, {1.0f, 10.0f}, {1.5f, 5.0f},  // between key 1 and key 0
        {2.0f, 0.0f},    // key 2 is never reached: frame 2 is key 0 again
        {3.25f, 7.5f},   // wrapped: 0.25 of the way from key 1 back to key 0
        {-0.5f, -5.0f},  // w = 0, f = -0.5: key 0 x 1.5 + key 1 x -0.5
        {-1.5f, 15.0f},  // w = -1 reads as 2^32 - 1, odd: key 1 x 1.5 + key 0 x -0.5
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "time " << c.time);
        const D3DXVECTOR3 sample = track.sample(c.time);
        EXPECT_FLOAT_EQ(sample.x, c.expectedX);
        EXPECT_EQ(sample.y, 0.0f);
        EXPECT_EQ(sample.z, 0.0f);
    }
}

// A float track follows the same rule; whole frames wrap through the unsigned
// low 32 bits of the 64-bit frame number, not through a signed modulus.
TEST(TrackTest, SamplesFloatsWithUnsignedWrapAround)
{
    Track<float> track;
    load(track, {1.0f, 2.0f, 3.0f, 4.0f});  // period 3

    struct Case
    {
        const char* name;
        float time;
        float expected;
    };
    const Case cases[] = {
        {"between key 2 and key 0", 2.5f, 2.0f},
        {"last key never returned", 3.0f, 1.0f},
        {"second period", 4.0f, 2.0f},
        {"-1 is 2^32 - 1, a multiple of 3", -1.0f, 1.0f},
        {"-2 is 2^32 - 2", -2.0f, 3.0f},
        {"2^32 keeps only its low 32 bits, 0", 4294967296.0f, 1.0f},
        {"2^32 + 2^9 keeps 2^9 = 512, 2 mod 3", 4294967808.0f, 3.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_FLOAT_EQ(track.sample(c.time), c.expected);
    }
}

// A track of one key is constant at every time.
TEST(TrackTest, SingleKeyIsConstant)
{
    Track<D3DXVECTOR3> track;
    load(track, {D3DXVECTOR3(1.5f, -2.0f, 3.0f)});
    for (float time : {0.0f, 0.75f, 1.0f, 4321.5f, 99999.0f, -0.5f, -2500.25f})
    {
        SCOPED_TRACE(testing::Message() << "time " << time);
        EXPECT_EQ(track.sample(time), D3DXVECTOR3(1.5f, -2.0f, 3.0f));
    }
}

// Quaternion keys blend component by component and are not renormalised.
TEST(TrackTest, QuaternionsBlendWithoutNormalising)
{
    Track<D3DXQUATERNION> track;
    load(track,
         {D3DXQUATERNION(0, 0, 0, 1), D3DXQUATERNION(0, 0, 1, 0), D3DXQUATERNION(0, 0, 0, 1)});
    EXPECT_EQ(track.sample(0.5f), D3DXQUATERNION(0.0f, 0.0f, 0.5f, 0.5f));
}

// Loading replaces the keys: a reset track holds only what is appended after it.
TEST(TrackTest, ResetReplacesTheKeys)
{
    Track<float> track;
    load(track, {1.0f, 2.0f, 3.0f});
    EXPECT_EQ(track.count(), 3u);

    track.reset(1);
    EXPECT_EQ(track.count(), 0u);
    track.append(7.0f);
    EXPECT_EQ(track.count(), 1u);
    EXPECT_EQ(track.key(0), 7.0f);
    EXPECT_EQ(track.sample(1.5f), 7.0f);
}

// Sampling an empty track or at a time with no whole frame number stops with
// the assertion rather than reading outside the keys.
TEST(TrackTest, BadSamplesFailTheAssertion)
{
    Track<float> empty;
    EXPECT_DEATH(empty.sample(0.0f), "count\\(\\) != 0.*Track\\.h");

    Track<float> track;
    load(track, {1.0f, 2.0f});
    EXPECT_DEATH(track.sample(NAN), "a_time > -9\\.2e18f.*Track\\.h");
    EXPECT_DEATH(track.sample(1e30f), "a_time > -9\\.2e18f.*Track\\.h");
    EXPECT_DEATH(track.key(2), "a_index < count\\(\\).*Track\\.h");
}

// The mesh rotation runs one frame ahead: with five keys (period 4) it is key
// 1 at time 0, key 2 at 1, key 3 at 2 and key 0 at 3.
TEST(TrackTest, RotationRunsOneFrameAhead)
{
    const D3DXQUATERNION keys[5] = {rotation(1, 0, 0, 0.3f), rotation(0, 1, 0, 0.6f),
                                    rotation(0, 0, 1, 0.9f), rotation(1, 1, 0, 1.2f),
                                    rotation(0, 1, 1, 1.5f)};
    Track<D3DXQUATERNION> track;
    load(track, {keys[0], keys[1], keys[2], keys[3], keys[4]});

    struct Case
    {
        float time;
        int expectedKey;
    };
    const Case cases[] = {{0.0f, 1}, {1.0f, 2}, {2.0f, 3}, {3.0f, 0}, {4.0f, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "time " << c.time);
        EXPECT_EQ(rotationAt(track, c.time), keys[c.expectedKey]);
    }
}

// Between whole frames the rotation interpolates from the key of frame f + 1
// toward that of f + 2: evenly spaced turns about one axis give the halfway turn.
TEST(TrackTest, RotationInterpolatesBetweenTheNextTwoKeys)
{
    Track<D3DXQUATERNION> track;
    load(track, {rotation(0, 0, 1, 0.0f), rotation(0, 0, 1, 0.2f), rotation(0, 0, 1, 0.4f),
                 rotation(0, 0, 1, 0.6f), rotation(0, 0, 1, 0.8f), rotation(0, 0, 1, 1.0f)});

    // Halfway from key 2 to key 3.
    expectQuaternionNear(rotationAt(track, 1.5f), rotation(0, 0, 1, 0.5f), 1e-5f);
}

// A single rotation key is the rotation at every time.
TEST(TrackTest, SingleRotationKeyIsConstant)
{
    const D3DXQUATERNION key = rotation(1, 2, 3, 0.8f);
    Track<D3DXQUATERNION> track;
    load(track, {key});
    for (float time : {0.0f, 0.4f, 17.9f, -3.5f})
    {
        SCOPED_TRACE(testing::Message() << "time " << time);
        expectQuaternionNear(rotationAt(track, time), key, 1e-6f);
    }
}
