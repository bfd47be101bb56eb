// The demo's camera-shake noise: smooth pseudo-random vectors that shake the
// cameras and steer the radial blur.
#pragma once

#include "scene/Track.h"

#include <d3dx9.h>

#include <stdint.h>

#include <vector>

namespace CameraShake
{
constexpr uint32_t kNoiseKeyCount = 65536;
constexpr int kSmoothingPasses = 5;

// The shake noise: smooth pseudo-random vectors, one key per time unit,
// sampled at demo time in seconds times a rate. Built by build() and never
// rebuilt.
extern Track<D3DXVECTOR3> g_shakeNoise;

// Builds g_shakeNoise unless it is built: the first camera does, and the
// radial blur, whose direction follows the noise, does at its init.
void build();

// The noise before smoothing: kNoiseKeyCount keys from the C runtime's
// generator seeded with 125612, each component in [-1.2, 1.2].
std::vector<D3DXVECTOR3> randomNoiseKeys();

// One in-place smoothing pass in ascending order: every key becomes the mean
// of its two neighbours (indices wrap), the left one already smoothed.
void smoothNoise(std::vector<D3DXVECTOR3>& a_keys);
}
