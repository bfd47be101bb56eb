// "blob.qor": a living lump of flesh in its nest. The blob breathes (it
// swells unevenly, like lungs) and slowly turns; glowing pores dot its skin;
// five buds swell and shrink as they creep round it; spores drift in a
// green cloud.
//
// The blob part runs the scene at -40, 30 and 20 frames a second
// and its first camera at 20 with a field-of-view scale of 1.5; it flickers
// the first light. The loop is 200 frames.
#include "BlobScene.h"

#include "SceneRecipe.h"

#include <math.h>

namespace
{

constexpr uint32_t kFrames = 201;
const D3DXVECTOR3 kCentre(0.0f, 96.0f, 0.0f);
constexpr float kRadius = 66.0f;
constexpr int kBuds = 5;

// Smooth lumps: a few octaves of crossed sine waves, about -1 to 1.
float lumps(const D3DXVECTOR3& a_point, float a_scale)
{
    const D3DXVECTOR3 p = a_point * a_scale;
    float sum = 0.0f;
    float amplitude = 0.55f;
    float frequency = 1.0f;
    for (int octave = 0; octave < 4; ++octave)
    {
        const float f = frequency;
        sum += amplitude * sinf(f * p.x + 1.3f * float(octave)) * sinf(f * p.y * 1.1f + 0.7f) *
               sinf(f * p.z * 0.9f + 2.1f * float(octave));
        sum +=
            0.5f * amplitude * sinf(f * (p.x + p.y) * 0.8f + 0.5f) * cosf(f * (p.z - p.y) * 1.2f);
        amplitude *= 0.5f;
        frequency *= 2.03f;
    }
    return sum;
}

D3DXVECTOR3 budPosition(float a_phase, int a_bud)
{
    const float angle = kTau * (a_phase + float(a_bud) / float(kBuds));
    const float height = 30.0f * sinf(kTau * (2.0f * a_phase + 0.37f * float(a_bud)));
    const float reach = kRadius + 18.0f + 6.0f * cosf(kTau * 3.0f * a_phase);
    return kCentre + D3DXVECTOR3(reach * cosf(angle), height, reach * sinf(angle));
}

struct Materials
{
    int32_t flesh, ground, nest, pores, spores;
};

Materials addMaterials(SceneRecipe& a_recipe)
{
    Materials ids;
    QorMaterial flesh = material("flesh", D3DXVECTOR3(1.0f, 0.95f, 0.92f), 0.9f, 28.0f);
    flesh.textures = {{kQorSlotColour, "flesh.jpg"}, {kQorSlotHeight, "flesh_height.jpg"}};
    ids.flesh = a_recipe.add(flesh);
    QorMaterial ground = material("ground", D3DXVECTOR3(0.55f, 0.5f, 0.5f), 0.7f, 35.0f);
    ground.textures = {{kQorSlotColour, "flesh.jpg"},
                       {kQorSlotHeight, "flesh_height.jpg"},
                       {kQorSlotOcclusion, "tiles_occlusion.jpg"}};
    ids.ground = a_recipe.add(ground);
    QorMaterial nest = material("nest", D3DXVECTOR3(0.7f, 0.62f, 0.58f), 0.6f, 20.0f);
    nest.textures = {{kQorSlotColour, "flesh.jpg"}, {kQorSlotHeight, "flesh_height.jpg"}};
    ids.nest = a_recipe.add(nest);
    ids.pores = a_recipe.add(glowMaterial("pores", D3DXVECTOR3(0.52f, 0.64f, 0.36f), ""));
    ids.spores = a_recipe.add(glowMaterial("spores", D3DXVECTOR3(0.4f, 0.58f, 0.32f), "spark.jpg"));
    return ids;
}

// The ground, falling away beyond the clearing, and the lumpy nest.
void addNestAndGround(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    builder.plane(1600.0f, 1600.0f, 48, 48, 11.0f);
    plateau(builder, 0, 300.0f, 320.0f);
    a_recipe.add("ground", a_materials.ground, builder, still());

    builder.torus(70.0f, 24.0f, 56, 16);
    builder.displace(0, [](const D3DXVECTOR3& a_point, const D3DXVECTOR3&) {
        return 6.0f * lumps(a_point, 0.06f);
    });
    a_recipe.add("nest", a_materials.nest, builder, still(D3DXVECTOR3(0, 14, 0)));
}

// The blob breathes unevenly and turns once per loop.
void addBlob(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    QorAnimation breath;
    breath.translation = a_recipe.keys(
        [](float p) { return kCentre + D3DXVECTOR3(0, 4.0f * sinf(kTau * 2.0f * p), 0); });
    breath.rotation = a_recipe.rotations([](float p) {
        return then(turn(D3DXVECTOR3(0, 0, 1), 0.15f * sinf(kTau * p)),
                    turn(D3DXVECTOR3(0, 1, 0), kTau * p));
    });
    breath.scale = a_recipe.keys([](float p) {
        const float in = sinf(kTau * 2.0f * p);
        const float lag = sinf(kTau * 2.0f * p - 0.8f);
        return D3DXVECTOR3(1.0f + 0.07f * in, 1.0f + 0.1f * lag, 1.0f + 0.07f * in);
    });
    builder.sphere(kRadius, 72, 44);
    auto skin = [](const D3DXVECTOR3& a_point, const D3DXVECTOR3&) {
        return 13.0f * lumps(a_point, 0.045f);
    };
    builder.displace(0, skin);
    a_recipe.add("blob", a_materials.flesh, builder, breath);

    // Pores: small glowing beads sitting in the skin, riding its breath.
    const float golden = kPi * (3.0f - sqrtf(5.0f));
    for (int i = 0; i < 46; ++i)
    {
        const float y = 1.0f - 2.0f * (float(i) + 0.5f) / 46.0f;
        const float ring = sqrtf(1.0f - y * y);
        const D3DXVECTOR3 direction(ring * cosf(golden * float(i)), y,
                                    ring * sinf(golden * float(i)));
        const D3DXVECTOR3 surface = direction * kRadius;
        const D3DXVECTOR3 place = direction * (kRadius + skin(surface, direction) - 0.5f);
        const uint32_t first = builder.vertexCount();
        builder.sphere(2.2f + 1.2f * float(i % 3), 8, 6);
        D3DXMATRIX move;
        D3DXMatrixTranslation(&move, place.x, place.y, place.z);
        builder.transform(first, move);
    }
    a_recipe.add("pores", a_materials.pores, builder, breath);
}

// Buds creeping round the blob, swelling and shrinking out of phase.
void addBuds(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    int32_t budSource = -1;
    for (int bud = 0; bud < kBuds; ++bud)
    {
        QorAnimation creep;
        creep.translation = a_recipe.keys([bud](float p) { return budPosition(p, bud); });
        creep.rotation = a_recipe.rotations(
            [bud](float p) { return turn(D3DXVECTOR3(1, 1, float(bud)), kTau * p); });
        creep.scale = a_recipe.keys([bud](float p) {
            const float s = 0.75f + 0.35f * sinf(kTau * (2.0f * p + 0.2f * float(bud)));
            return D3DXVECTOR3(s, s * 1.1f, s);
        });
        const std::string name = "bud" + std::to_string(bud + 1);
        if (bud == 0)
        {
            builder.sphere(20.0f, 28, 18);
            builder.displace(0, [](const D3DXVECTOR3& a_point, const D3DXVECTOR3&) {
                return 5.0f * lumps(a_point, 0.15f);
            });
            budSource = a_recipe.add(name, a_materials.flesh, builder, creep);
        }
        else
        {
            a_recipe.instance(name, budSource, creep);
        }
    }
}

// Spores: a loose shell of glowing motes, turning slowly.
void addSpores(SceneRecipe& a_recipe, const Materials& a_materials)
{
    std::vector<D3DXVECTOR3> spores;
    uint32_t seed = 777u;
    auto random = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1u << 24);
    };
    for (int i = 0; i < 260; ++i)
    {
        const float y = 2.0f * random() - 1.0f;
        const float angle = kTau * random();
        const float ring = sqrtf(1.0f - y * y);
        const float radius = 115.0f + 70.0f * random();
        spores.emplace_back(radius * ring * cosf(angle), 0.6f * radius * y + 40.0f,
                            radius * ring * sinf(angle));
    }
    QorAnimation drift;
    drift.translation = {kCentre};
    drift.rotation =
        a_recipe.rotations([](float p) { return turn(D3DXVECTOR3(0.1f, 1, 0), -kTau * p); });
    drift.scale = a_recipe.keys([](float p) {
        const float s = 4.5f + 1.2f * sinf(kTau * 4.0f * p);
        return D3DXVECTOR3(s, s, s);
    });
    a_recipe.sprites("spores", a_materials.spores, spores, drift);
}

// The camera circles the blob once per loop, rising and falling twice.
void addCamera(SceneRecipe& a_recipe)
{
    a_recipe.add(a_recipe.camera(
        "Camera01",
        [](float p) {
            const float a = kTau * p + 2.0f;
            return D3DXVECTOR3(285.0f * cosf(a), 130.0f + 60.0f * sinf(kTau * 2.0f * p),
                               285.0f * sinf(a));
        },
        [](float p) { return kCentre + D3DXVECTOR3(0, -10.0f + 10.0f * sinf(kTau * p), 0); },
        [](float p) { return 0.1f * sinf(kTau * p); }, [](float) { return 1.2f; }));
}

// Lights: a pale key circling above, fills round the blob, a magenta rim,
// a warm glow under it and a teal one riding a bud.
void addLights(SceneRecipe& a_recipe)
{
    a_recipe.add(
        omni("key", D3DXVECTOR3(0.8f, 0.82f, 0.74f), 250.0f, 650.0f, a_recipe.keys([](float p) {
            const float a = kTau * p + 1.0f;
            return D3DXVECTOR3(190.0f * cosf(a), 250.0f, 190.0f * sinf(a));
        })));
    // Fills a third of a turn apart at the blob's height, so whichever way
    // a camera looks at it one of them lights the side it sees.
    for (int fill = 0; fill < 3; ++fill)
    {
        const D3DXVECTOR3 colours[3] = {
            {0.8f, 0.62f, 0.55f}, {0.55f, 0.72f, 0.8f}, {0.75f, 0.7f, 0.5f}};
        a_recipe.add(omni("fill" + std::to_string(fill + 1), colours[fill], 120.0f, 420.0f,
                          a_recipe.keys([fill](float p) {
                              const float a = kTau * (float(fill) / 3.0f - p);
                              return kCentre +
                                     D3DXVECTOR3(240.0f * cosf(a), 20.0f, 240.0f * sinf(a));
                          })));
    }
    a_recipe.add(
        omni("rim", D3DXVECTOR3(0.95f, 0.45f, 0.85f), 150.0f, 450.0f, a_recipe.keys([](float p) {
            const float a = -kTau * p + 3.5f;
            return D3DXVECTOR3(220.0f * cosf(a), 140.0f, 220.0f * sinf(a));
        })));
    a_recipe.add(
        omni("under", D3DXVECTOR3(1.1f, 0.7f, 0.35f), 60.0f, 260.0f, a_recipe.keys([](float p) {
            const float a = kTau * 2.0f * p;
            return D3DXVECTOR3(120.0f * cosf(a), 18.0f, 120.0f * sinf(a));
        })));
    a_recipe.add(
        omni("teal", D3DXVECTOR3(0.35f, 0.85f, 0.9f), 60.0f, 280.0f,
             a_recipe.keys([](float p) { return budPosition(p, 2) + D3DXVECTOR3(0, 30, 0); })));
}

}  // namespace

QorFile blobScene()
{
    SceneRecipe recipe(kFrames);
    const Materials materials = addMaterials(recipe);
    addNestAndGround(recipe, materials);
    addBlob(recipe, materials);
    addBuds(recipe, materials);
    addSpores(recipe, materials);
    addCamera(recipe);
    addLights(recipe);
    return recipe.file();
}
