// Tests of cameras: a new camera, the shake noise generator and smoothing,
// how the shake moves the eye, target and roll, and the view and projection.
#include "scene/Camera.h"

#include "sound/Time.h"

#include <gtest/gtest.h>

#include <math.h>

#include <vector>

namespace
{

void loadVector(Track<D3DXVECTOR3>& a_track, const std::vector<D3DXVECTOR3>& a_keys)
{
    a_track.reset(static_cast<uint32_t>(a_keys.size()));
    for (const D3DXVECTOR3& key : a_keys)
        a_track.append(key);
}

void loadFloat(Track<float>& a_track, const std::vector<float>& a_keys)
{
    a_track.reset(static_cast<uint32_t>(a_keys.size()));
    for (float key : a_keys)
        a_track.append(key);
}

// A camera with constant position, target, roll and field of view.
void place(Camera& a_camera, const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_target,
           float a_roll = 0.0f, float a_fov = 1.7777778f)
{
    loadVector(a_camera.m_positionTrack, {a_position});
    loadVector(a_camera.m_targetTrack, {a_target});
    loadFloat(a_camera.m_rollTrack, {a_roll});
    loadFloat(a_camera.m_fovTrack, {a_fov});
}

// The clock is a process-wide global; every test leaves it at 0.
class CameraTest : public testing::Test
{
protected:
    void TearDown() override { Time::g_time = 0.0f; }
};

}

// A new camera given only its tracks shows them unshaken at any demo time and
// projects through the exported field of view with the planes 1 and 5000;
// the shared noise exists once any camera does.
TEST_F(CameraTest, NewCameraShowsItsTracksUnshaken)
{
    Camera camera;
    EXPECT_EQ(CameraShake::g_shakeNoise.count(), 65536u);
    place(camera, D3DXVECTOR3(3, 4, -10), D3DXVECTOR3(1, 2, 0), 0.25f);
    Time::g_time = 1.25f;
    EXPECT_EQ(camera.eye(), D3DXVECTOR3(3, 4, -10));
    EXPECT_EQ(camera.lookAt(), D3DXVECTOR3(1, 2, 0));
    EXPECT_EQ(camera.rollAngle(), 0.25f);
    const D3DXMATRIX projection = camera.projectionMatrix();
    EXPECT_FLOAT_EQ(projection._22, static_cast<float>(1.0 / tan(0.5)));
    EXPECT_FLOAT_EQ(projection._33, 5000.0f / 4999.0f);
    EXPECT_FLOAT_EQ(projection._43, -5000.0f / 4999.0f);
}

// Before smoothing, each component is (r / 1000 x 2 - 1) x 1.2 for the
// generator's r = value mod 1000: the first key from r = 18, 406, 904 is
// (-1.1568, -0.2256, 0.9696), the second from r = 778, 224, 254.
TEST_F(CameraTest, RawNoiseStartsWithTheDocumentedValues)
{
    const std::vector<D3DXVECTOR3> keys = CameraShake::randomNoiseKeys();
    ASSERT_EQ(keys.size(), 65536u);
    EXPECT_FLOAT_EQ(keys[0].x, -1.1568f);
    EXPECT_FLOAT_EQ(keys[0].y, -0.2256f);
    EXPECT_FLOAT_EQ(keys[0].z, 0.9696f);

    const int r[2][3] = {{18, 406, 904}, {778, 224, 254}};
    for (int key = 0; key < 2; ++key)
    {
        for (int component = 0; component < 3; ++component)
        {
            SCOPED_TRACE(testing::Message() << "key " << key << ", component " << component);
            const float c = static_cast<float>(r[key][component] / 1000.0 * 2.0 - 1.0);
            EXPECT_EQ(keys[key][component], c * 1.2f);
        }
    }
}

// The generator is deterministic and stays within [-1.2, 1.2].
TEST_F(CameraTest, RawNoiseIsReproducibleAndBounded)
{
    const std::vector<D3DXVECTOR3> first = CameraShake::randomNoiseKeys();
    EXPECT_TRUE(first == CameraShake::randomNoiseKeys());
    for (const D3DXVECTOR3& key : first)
    {
        for (int component = 0; component < 3; ++component)
        {
            ASSERT_GE(key[component], -1.2f);
            ASSERT_LE(key[component], 1.2f);
        }
    }
}

// One smoothing pass runs in place in ascending order: a single 1 at position
// 4 of 10 gives 0.5 at 3, then halves at every later position, since each key
// averages its already smoothed left neighbour with its old right one.
TEST_F(CameraTest, SmoothingPassUsesTheUpdatedLeftNeighbour)
{
    struct Case
    {
        const char* name;
        size_t spike;
        float expected[10];
    };
    const Case cases[] = {
        {"spike inside",
         4,
         {0, 0, 0, 0.5f, 0.25f, 0.125f, 0.0625f, 0.03125f, 0.015625f, 0.0078125f}},
        // Key 0 sees the old key 9; key 8 sees the old key 9 and key 9 the new key 0.
        {"spike at the end",
         9,
         {0.5f, 0.25f, 0.125f, 0.0625f, 0.03125f, 0.015625f, 0.0078125f, 0.00390625f,
          (0.00390625f + 1.0f) * 0.5f, (0.5f + (0.00390625f + 1.0f) * 0.5f) * 0.5f}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<D3DXVECTOR3> keys(10, D3DXVECTOR3(0, 0, 0));
        keys[c.spike] = D3DXVECTOR3(1.0f, 2.0f, -1.0f);
        CameraShake::smoothNoise(keys);
        for (size_t i = 0; i < keys.size(); ++i)
        {
            SCOPED_TRACE(testing::Message() << "key " << i);
            EXPECT_FLOAT_EQ(keys[i].x, c.expected[i]);
            EXPECT_FLOAT_EQ(keys[i].y, 2.0f * c.expected[i]);
            EXPECT_FLOAT_EQ(keys[i].z, -c.expected[i]);
        }
    }
}

// The shared noise is built once: a later camera leaves it unchanged, and
// smoothing keeps every component within [-1.2, 1.2].
TEST_F(CameraTest, SharedNoiseIsBuiltOnceAndBounded)
{
    Camera first;
    std::vector<D3DXVECTOR3> keys;
    for (uint32_t i = 0; i < CameraShake::g_shakeNoise.count(); ++i)
        keys.push_back(CameraShake::g_shakeNoise.key(i));
    ASSERT_EQ(keys.size(), 65536u);
    EXPECT_FALSE(keys == CameraShake::randomNoiseKeys());

    Camera second;
    for (uint32_t i = 0; i < CameraShake::g_shakeNoise.count(); ++i)
    {
        const D3DXVECTOR3& key = CameraShake::g_shakeNoise.key(i);
        ASSERT_EQ(key, keys[i]) << "key " << i;
        for (int component = 0; component < 3; ++component)
        {
            ASSERT_GE(key[component], -1.2f);
            ASSERT_LE(key[component], 1.2f);
        }
    }
}

// Without shake the eye, target and roll are exactly the tracks sampled at m_time.
TEST_F(CameraTest, NoShakeGivesTheSampledTracks)
{
    Camera camera;
    loadVector(camera.m_positionTrack,
               {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(0, 0, 0)});
    loadVector(camera.m_targetTrack,
               {D3DXVECTOR3(0, 0, 10), D3DXVECTOR3(0, 4, 10), D3DXVECTOR3(0, 0, 10)});
    loadFloat(camera.m_rollTrack, {0.25f, 0.75f, 0.25f});
    camera.m_time = 0.5f;
    camera.m_shakePhase = 12.25f;
    Time::g_time = 37.3f;

    EXPECT_EQ(camera.eye(), D3DXVECTOR3(5, 0, 0));
    EXPECT_EQ(camera.lookAt(), D3DXVECTOR3(0, 2, 10));
    EXPECT_EQ(camera.rollAngle(), 0.5f);
}

// The eye shake along each axis is scaled by 1 - d for the unit direction d
// from target to eye: none along x on the +x side, double on the -x side.
// Noise time is demo time x 2 + phase: 1.25 x 2 + 3.5 = 6, key 6 exactly.
TEST_F(CameraTest, EyeShakeDependsOnTheSide)
{
    Time::g_time = 1.25f;
    struct Case
    {
        const char* name;
        float positionX;
        float xFactor;
    };
    const Case cases[] = {{"+x side", 10.0f, 0.0f}, {"-x side", -10.0f, 2.0f}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Camera camera;
        place(camera, D3DXVECTOR3(c.positionX, 0, 0), D3DXVECTOR3(0, 0, 0));
        camera.m_positionShake = 3.0f;
        camera.m_shakePhase = 3.5f;

        const D3DXVECTOR3 noise = CameraShake::g_shakeNoise.key(6);
        const D3DXVECTOR3 eye = camera.eye();
        EXPECT_FLOAT_EQ(eye.x, c.positionX + c.xFactor * noise.x * 3.0f);
        EXPECT_FLOAT_EQ(eye.y, noise.y * 3.0f);
        EXPECT_FLOAT_EQ(eye.z, noise.z * 3.0f);
    }
}

// Target and roll shake with the noise at demo time x 4 + phase: 1.25 x 4 +
// 3.5 = 8.5, halfway between keys 8 and 9.
TEST_F(CameraTest, TargetAndRollShakeAtFourTimesDemoTime)
{
    Camera camera;
    place(camera, D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(1, 2, 3), 0.5f);
    camera.m_targetShake = 2.0f;
    camera.m_rollShake = 0.1f;
    camera.m_shakePhase = 3.5f;
    Time::g_time = 1.25f;

    const D3DXVECTOR3 noise =
        (CameraShake::g_shakeNoise.key(8) + CameraShake::g_shakeNoise.key(9)) * 0.5f;
    const D3DXVECTOR3 target = camera.lookAt();
    EXPECT_FLOAT_EQ(target.x, 1.0f + noise.x * 2.0f);
    EXPECT_FLOAT_EQ(target.y, 2.0f + noise.y * 2.0f);
    EXPECT_FLOAT_EQ(target.z, 3.0f + noise.z * 2.0f);
    EXPECT_FLOAT_EQ(camera.rollAngle(), 0.5f + noise.z * 0.1f);
}

// The view is the look-at matrix followed by the roll about the view axis:
// looking down -x from (10, 0, 0), the point (0, 0, 1) is at (1, 0, 10) in
// view space, and a quarter-turn roll takes it to (0, 1, 10).
TEST_F(CameraTest, ViewIsLookAtThenRoll)
{
    Camera camera;
    place(camera, D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(0, 0, 0), static_cast<float>(M_PI / 2));
    const D3DXMATRIX view = camera.viewMatrix();
    const D3DXVECTOR3 point(0, 0, 1);
    D3DXVECTOR3 viewPoint;
    D3DXVec3TransformCoord(&viewPoint, &point, &view);
    EXPECT_NEAR(viewPoint.x, 0.0f, 1e-5f);
    EXPECT_NEAR(viewPoint.y, 1.0f, 1e-5f);
    EXPECT_NEAR(viewPoint.z, 10.0f, 1e-5f);
}

// The exported field of view over 16:9, times m_fovScale, is the vertical
// angle: a key of 1.7777778 gives cot(1.0 / 2) in _22 at scale 1 and
// cot(1.5 / 2) at scale 1.5; the aspect is 16:9 and the planes m_near, m_far.
TEST_F(CameraTest, ProjectionUsesTheScaledVerticalFieldOfView)
{
    struct Case
    {
        float fovScale;
        double verticalFov;
    };
    const Case cases[] = {{1.0f, 1.0}, {1.5f, 1.5}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "fovScale " << c.fovScale);
        Camera camera;
        place(camera, D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 0));
        camera.m_fovScale = c.fovScale;
        const D3DXMATRIX projection = camera.projectionMatrix();
        const double yScale = 1.0 / tan(c.verticalFov / 2.0);
        EXPECT_FLOAT_EQ(projection._22, static_cast<float>(yScale));
        EXPECT_FLOAT_EQ(projection._11, static_cast<float>(yScale / (16.0 / 9.0)));
        EXPECT_FLOAT_EQ(projection._33, 5000.0f / 4999.0f);
        EXPECT_FLOAT_EQ(projection._43, -5000.0f / 4999.0f);
        EXPECT_EQ(projection._34, 1.0f);
    }
}
