// "balls.qor": a kinetic sculpture of spheres. A lacquered cluster rests in
// the cradle of a pedestal and turns; six chrome clusters circle it on
// tilted orbits; two swarms of glowing particles spiral round it, one blue
// helix and one amber ring.
//
// The balls part runs the scene backwards at 20 frames a second
// and its first camera both ways at 25, and flickers the first light. The
// loop is 240 frames.
#include "BallsScene.h"

#include "SceneRecipe.h"

#include <math.h>

namespace
{

constexpr uint32_t kFrames = 241;
const D3DXVECTOR3 kCentre(0.0f, 160.0f, 0.0f);
constexpr int kMoons = 6;

// Spheres of a cluster: a_count around a core, each touching the core.
void cluster(MeshBuilder& a_builder, float a_core, int a_count, float a_small, float a_large,
             uint32_t a_seed, uint32_t a_segments)
{
    a_builder.sphere(a_core, a_segments * 2, a_segments);
    const float golden = kPi * (3.0f - sqrtf(5.0f));
    uint32_t seed = a_seed;
    for (int i = 0; i < a_count; ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        const float size = a_small + (a_large - a_small) * float(seed >> 8) / float(1u << 24);
        const float y = 1.0f - 2.0f * (float(i) + 0.5f) / float(a_count);
        const float ring = sqrtf(1.0f - y * y);
        const D3DXVECTOR3 direction(ring * cosf(golden * float(i)), y,
                                    ring * sinf(golden * float(i)));
        const D3DXVECTOR3 place = direction * (a_core + 0.6f * size);
        const uint32_t first = a_builder.vertexCount();
        a_builder.sphere(size, a_segments * 2, a_segments);
        D3DXMATRIX move;
        D3DXMatrixTranslation(&move, place.x, place.y, place.z);
        a_builder.transform(first, move);
    }
}

D3DXVECTOR3 moonPosition(float a_phase, int a_moon)
{
    const float tilt = 0.35f + 0.25f * float(a_moon % 3);
    const float node = kTau * float(a_moon) / float(kMoons);
    const float radius = 175.0f + 25.0f * float(a_moon % 2);
    const float laps = a_moon % 2 == 0 ? 1.0f : -2.0f;
    const float angle = kTau * (laps * a_phase + float(a_moon) / float(kMoons));
    // A circle in the xz plane, tilted about x, turned to its node.
    const D3DXVECTOR3 flat(radius * cosf(angle), 0.0f, radius * sinf(angle));
    const D3DXVECTOR3 tilted(flat.x, flat.z * sinf(tilt), flat.z * cosf(tilt));
    return kCentre + D3DXVECTOR3(tilted.x * cosf(node) - tilted.z * sinf(node), tilted.y,
                                 tilted.x * sinf(node) + tilted.z * cosf(node));
}

struct Materials
{
    int32_t floor, lacquer, chrome, pedestal, cradle, helix, ring;
};

Materials addMaterials(SceneRecipe& a_recipe)
{
    Materials ids;
    QorMaterial floorMaterial = material("stage", D3DXVECTOR3(0.62f, 0.6f, 0.6f), 0.8f, 60.0f);
    floorMaterial.textures = {{kQorSlotColour, "tiles.jpg"},
                              {kQorSlotHeight, "tiles_height.jpg"},
                              {kQorSlotOcclusion, "tiles_occlusion.jpg"}};
    ids.floor = a_recipe.add(floorMaterial);
    ids.lacquer = a_recipe.add(material("lacquer", D3DXVECTOR3(0.86f, 0.56f, 0.5f), 1.0f, 70.0f));
    QorMaterial chrome = material("chrome", D3DXVECTOR3(0.75f, 0.78f, 0.82f), 1.0f, 90.0f);
    chrome.textures = {{kQorSlotColour, "autogen_cubemap.jpg"},
                       {kQorSlotReflection, "streaks.jpg"}};
    ids.chrome = a_recipe.add(chrome);
    QorMaterial pedestal = material("pedestal", D3DXVECTOR3(0.7f, 0.7f, 0.72f), 0.5f, 30.0f);
    pedestal.textures = {{kQorSlotColour, "panels.jpg"}, {kQorSlotHeight, "panels_height.jpg"}};
    ids.pedestal = a_recipe.add(pedestal);
    ids.cradle =
        a_recipe.add(glowMaterial("cradle", D3DXVECTOR3(0.62f, 0.4f, 0.2f), "glowlines.jpg"));
    ids.helix =
        a_recipe.add(glowMaterial("helixSparks", D3DXVECTOR3(0.42f, 0.55f, 0.68f), "spark.jpg"));
    ids.ring =
        a_recipe.add(glowMaterial("ringSparks", D3DXVECTOR3(0.68f, 0.45f, 0.2f), "spark.jpg"));
    return ids;
}

// The stage, falling away beyond the light.
void addFloor(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    builder.plane(2000.0f, 2000.0f, 48, 48, 20.0f);
    plateau(builder, 0, 380.0f, 360.0f);
    a_recipe.add("floor", a_materials.floor, builder, still());
}

// Pedestal and the glowing cradle ring the cluster rests in.
void addPedestal(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder column;
    column.cylinder(44.0f, 22.0f, 72.0f, 28, true);
    a_recipe.add("pedestal", a_materials.pedestal, column, still());
    MeshBuilder cradle;
    cradle.torus(40.0f, 5.0f, 48, 10);
    a_recipe.add("cradle", a_materials.cradle, cradle, still(D3DXVECTOR3(0, 76, 0)));
}

// The big cluster: turning and breathing.
void addCluster(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder berry;
    cluster(berry, 48.0f, 30, 14.0f, 26.0f, 99u, 10);
    QorAnimation breathe;
    breathe.translation = {kCentre};
    breathe.rotation =
        a_recipe.rotations([](float p) { return turn(D3DXVECTOR3(0.2f, 1, 0.1f), -kTau * p); });
    breathe.scale = a_recipe.keys([](float p) {
        const float s = 1.0f + 0.05f * sinf(kTau * 4.0f * p);
        return D3DXVECTOR3(s, s, s);
    });
    a_recipe.add("berry", a_materials.lacquer, berry, breathe);
}

// Six chrome clusters on tilted orbits, tumbling.
void addMoons(SceneRecipe& a_recipe, const Materials& a_materials)
{
    int32_t moonSource = -1;
    for (int moon = 0; moon < kMoons; ++moon)
    {
        QorAnimation orbit;
        orbit.translation = a_recipe.keys([moon](float p) { return moonPosition(p, moon); });
        orbit.rotation = a_recipe.rotations([moon](float p) {
            return turn(D3DXVECTOR3(1, float(moon) * 0.3f, 0.5f), kTau * 2.0f * p);
        });
        const float size = 0.8f + 0.1f * float(moon % 3);
        orbit.scale = {D3DXVECTOR3(size, size, size)};
        const std::string name = "moon" + std::to_string(moon + 1);
        if (moon == 0)
        {
            MeshBuilder small;
            cluster(small, 14.0f, 7, 7.0f, 11.0f, 7u, 8);
            moonSource = a_recipe.add(name, a_materials.chrome, small, orbit);
        }
        else
        {
            a_recipe.instance(name, moonSource, orbit);
        }
    }
}

// Particles: a triple helix climbing round the cluster, and a flat ring.
void addParticles(SceneRecipe& a_recipe, const Materials& a_materials)
{
    std::vector<D3DXVECTOR3> helix;
    for (int strand = 0; strand < 3; ++strand)
    {
        for (int i = 0; i < 140; ++i)
        {
            const float t = float(i) / 140.0f;
            const float angle = kTau * (2.5f * t + float(strand) / 3.0f);
            const float radius = 115.0f + 10.0f * sinf(kTau * 5.0f * t);
            helix.emplace_back(radius * cosf(angle), -110.0f + 220.0f * t, radius * sinf(angle));
        }
    }
    QorAnimation spiral;
    spiral.translation = {kCentre};
    spiral.rotation =
        a_recipe.rotations([](float p) { return turn(D3DXVECTOR3(0, 1, 0), 2.0f * kTau * p); });
    spiral.scale = {D3DXVECTOR3(3.2f, 3.2f, 3.2f)};
    a_recipe.sprites("helix", a_materials.helix, helix, spiral);

    std::vector<D3DXVECTOR3> belt;
    uint32_t seed = 4242u;
    for (int i = 0; i < 360; ++i)
    {
        seed = seed * 1664525u + 1013904223u;
        const float jitter = float(seed >> 8) / float(1u << 24);
        const float angle = kTau * float(i) / 360.0f;
        const float radius = 250.0f + 40.0f * jitter;
        belt.emplace_back(radius * cosf(angle), 8.0f * sinf(angle * 7.0f) + 10.0f * (jitter - 0.5f),
                          radius * sinf(angle));
    }
    QorAnimation beltTurn;
    beltTurn.translation = {kCentre + D3DXVECTOR3(0, -40, 0)};
    beltTurn.rotation = a_recipe.rotations([](float p) {
        return then(turn(D3DXVECTOR3(1, 0, 0), 0.25f), turn(D3DXVECTOR3(0, 1, 0), -kTau * p));
    });
    beltTurn.scale = {D3DXVECTOR3(2.6f, 2.6f, 2.6f)};
    a_recipe.sprites("belt", a_materials.ring, belt, beltTurn);
}

// Cameras: a wide orbit rising and falling, and a slow dolly in front.
void addCameras(SceneRecipe& a_recipe)
{
    a_recipe.add(a_recipe.camera(
        "Camera01",
        [](float p) {
            const float a = kTau * p + 0.3f;
            return D3DXVECTOR3(340.0f * cosf(a), 170.0f + 70.0f * sinf(kTau * 2.0f * p),
                               340.0f * sinf(a));
        },
        [](float p) { return kCentre + D3DXVECTOR3(0, -20.0f + 12.0f * sinf(kTau * 2.0f * p), 0); },
        [](float p) { return 0.08f * sinf(kTau * p); }, [](float) { return 1.55f; }));
    a_recipe.add(a_recipe.camera(
        "Camera02", [](float p) { return D3DXVECTOR3(150.0f * sinf(kTau * p), 60.0f, -300.0f); },
        [](float) { return kCentre; }, [](float) { return 0.0f; }, [](float) { return 1.4f; }));
}

// Lights: a cool key above, magenta and amber circling lower, fills round
// the cluster, and a blue one riding the first chrome cluster.
void addLights(SceneRecipe& a_recipe)
{
    a_recipe.add(
        omni("key", D3DXVECTOR3(0.85f, 0.85f, 0.9f), 250.0f, 700.0f, a_recipe.keys([](float p) {
            const float a = kTau * p;
            return D3DXVECTOR3(160.0f * cosf(a), 360.0f, 160.0f * sinf(a));
        })));
    a_recipe.add(
        omni("magenta", D3DXVECTOR3(0.95f, 0.4f, 0.85f), 120.0f, 480.0f, a_recipe.keys([](float p) {
            const float a = -kTau * p + 1.0f;
            return D3DXVECTOR3(230.0f * cosf(a), 120.0f, 230.0f * sinf(a));
        })));
    a_recipe.add(
        omni("amber", D3DXVECTOR3(1.1f, 0.7f, 0.3f), 80.0f, 320.0f, a_recipe.keys([](float p) {
            const float a = kTau * 2.0f * p + 3.0f;
            return D3DXVECTOR3(130.0f * cosf(a), 30.0f, 130.0f * sinf(a));
        })));
    // Fills a third of a turn apart at the cluster's height, so the side a
    // camera sees is never dark.
    for (int fill = 0; fill < 3; ++fill)
    {
        const D3DXVECTOR3 colours[3] = {
            {0.62f, 0.6f, 0.72f}, {0.72f, 0.6f, 0.55f}, {0.55f, 0.68f, 0.7f}};
        a_recipe.add(omni("fill" + std::to_string(fill + 1), colours[fill], 140.0f, 460.0f,
                          a_recipe.keys([fill](float p) {
                              const float a = kTau * (float(fill) / 3.0f + p);
                              return kCentre +
                                     D3DXVECTOR3(260.0f * cosf(a), 40.0f, 260.0f * sinf(a));
                          })));
    }
    a_recipe.add(
        omni("moonlight", D3DXVECTOR3(0.35f, 0.8f, 1.05f), 40.0f, 240.0f,
             a_recipe.keys([](float p) { return moonPosition(p, 0) + D3DXVECTOR3(0, 25, 0); })));
}

}  // namespace

QorFile ballsScene()
{
    SceneRecipe recipe(kFrames);
    const Materials materials = addMaterials(recipe);
    addFloor(recipe, materials);
    addPedestal(recipe, materials);
    addCluster(recipe, materials);
    addMoons(recipe, materials);
    addParticles(recipe, materials);
    addCameras(recipe);
    addLights(recipe);
    return recipe.file();
}
