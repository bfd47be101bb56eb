// One scene file as records: what QorReader parses out of the bytes and
// QorWriter turns back into them. Records keep file order; the index of a
// record's alternative in QorRecord is its tag.
#pragma once

#include <d3dx9.h>

#include <stdint.h>

#include <string>
#include <variant>
#include <vector>

// A camera's field of view is stored as its vertical angle times 16:9, the
// aspect of the frame every camera projects at whatever the monitor's: the
// demo divides by this to get the vertical angle.
constexpr float kQorFovAspect = 1.7777778f;

// The 64-byte vertex of triangle meshes. The device sees position, normal,
// three 2-float texture coordinate sets and one 3-float set; the last float
// is carried but not described to it. What the sets mean belongs to the
// material pass programs ("deferred.vsa"):
//   uv       set 0: the surface's texture coordinates (colour, height,
//            reflection mask and opacity maps)
//   uv1      set 1: a second mapping for the occlusion map
//   uv2      set 2: reserved, written as zero
//   tangent  set 3: the object-space direction in which uv.x grows, along
//            which the height map's slope tilts the normal; zero for none
struct QorVertex
{
    D3DXVECTOR3 position;
    D3DXVECTOR3 normal;
    float uv[2];
    float uv1[2];
    float uv2[2];
    D3DXVECTOR3 tangent;
    float reserved;
};
static_assert(sizeof(QorVertex) == 64, "a mesh vertex is 64 bytes in the file and on the device");

// The device layout of QorVertex: XYZ | NORMAL | TEX4 with set 3 of 3 floats.
constexpr DWORD kQorMeshFvf = 0x01400412;
// The layout of expanded sprite corners: XYZ | TEX1, 20 bytes.
constexpr DWORD kQorSpriteFvf = 0x102;

// Material texture slots as written in the file, and the sampler each fills.
enum QorSlot : uint8_t
{
    kQorSlotOcclusion = 0,   // sampler 3
    kQorSlotColour = 1,      // sampler 0 ("autogen_cubemap.jpg" makes a cube map for sampler 2)
    kQorSlotOpacity = 6,     // sampler 5
    kQorSlotHeight = 8,      // sampler 1
    kQorSlotReflection = 9,  // sampler 4
};

// The keys of one mesh's animation: each track holds either one key (constant)
// or one per frame of the file.
struct QorAnimation
{
    std::vector<D3DXVECTOR3> translation;
    std::vector<D3DXQUATERNION> rotation;
    std::vector<D3DXVECTOR3> scale;
};

struct QorMesh
{
    std::string name;
    int32_t sourceIndex = -1;  // an earlier mesh record this one instances, or -1
    // The rest, up to the animation, only when sourceIndex is -1.
    int32_t materialIndex = -1;       // an earlier material record, or -1 for none
    int32_t extraSize = 0;            // as written; negative skips nothing
    std::vector<uint8_t> extra;       // max(extraSize, 0) bytes the exporter left
    uint8_t kind = 0;                 // 0: indexed triangles; else point sprites
    std::vector<QorVertex> vertices;  // kind 0
    std::vector<uint32_t> indices;    // kind 0; a triangle list
    std::vector<D3DXVECTOR3> points;  // other kinds: sprite centres
    QorAnimation animation;
};

struct QorTextureEntry
{
    uint8_t slot = kQorSlotColour;
    std::string fileName;  // at most 259 bytes
};

struct QorMaterial
{
    std::string name;
    D3DXVECTOR3 diffuse = D3DXVECTOR3(1.0f, 1.0f, 1.0f);
    D3DXVECTOR3 selfIllum = D3DXVECTOR3(-1.0f, -1.0f, -1.0f);  // (-1, -1, -1): none
    float glossiness = 0.0f;
    float specularPower = 0.0f;
    std::vector<QorTextureEntry> textures;
};

// Every track has one key per frame.
struct QorCamera
{
    std::string name;
    std::vector<D3DXVECTOR3> positions;
    std::vector<D3DXVECTOR3> targets;
    std::vector<float> roll;  // radians
    std::vector<float> fov;   // radians, vertical times kQorFovAspect
};

// Every track has one key per frame; targets only for spot lights.
struct QorLight
{
    std::string name;
    uint8_t spot = 0;  // 0: omni light
    D3DXVECTOR3 color = D3DXVECTOR3(1.0f, 1.0f, 1.0f);
    float nearRange = 0.0f;
    float farRange = 0.0f;
    std::vector<float> intensities;  // only the last counts
    std::vector<D3DXVECTOR3> positions;
    std::vector<D3DXVECTOR3> targets;
};

using QorRecord = std::variant<QorMesh, QorMaterial, QorCamera, QorLight>;

struct QorFile
{
    uint32_t frameCount = 1;
    std::vector<QorRecord> records;
};
