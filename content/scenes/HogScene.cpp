// "hog.qor": a spiked, armoured machine the size of a car that hovers,
// bobbing and tumbling, over the middle of a tiled arena, its spikes
// breathing out and in, three drones circling it with lights of their own,
// pillars with glowing collars at the edge of the light. The hog keeps to
// the middle: the part runs the cameras forward and the scene backward, so
// nothing the cameras look at may travel.
//
// The hog part plays the scene backwards at 15 and later 30
// frames a second and cycles through its first three cameras every 16
// beats; it flickers the first light. The loop is 180 frames.
#include "HogScene.h"

#include "SceneRecipe.h"

#include <math.h>

namespace
{

constexpr uint32_t kFrames = 181;
constexpr float kHover = 95.0f;
constexpr float kBodyRadius = 40.0f;
constexpr float kSpikeBase = 36.0f;
constexpr float kSpikeLength = 34.0f;
constexpr int kSpikes = 62;

const D3DXVECTOR3 kMiddle(0.0f, kHover, 0.0f);

// The hog's centre: bobbing six times per loop and swaying a little.
D3DXVECTOR3 hogCentre(float a_phase)
{
    return kMiddle + D3DXVECTOR3(8.0f * sinf(kTau * 2.0f * a_phase),
                                 6.0f * sinf(6.0f * kTau * a_phase),
                                 8.0f * cosf(kTau * 3.0f * a_phase));
}

// Tumbling: two turns about a leaning axis per loop, the lean itself
// going once round.
D3DXQUATERNION hogTurn(float a_phase)
{
    return then(turn(D3DXVECTOR3(1, 0, 0), 2.0f * kTau * a_phase),
                turn(D3DXVECTOR3(0, 1, 0), -kTau * a_phase));
}

// Spikes push out on eight beats per loop: a quick swell and a slow return.
float spikeSwell(float a_phase)
{
    const float beat = a_phase * 8.0f - floorf(a_phase * 8.0f);
    return 1.0f + 0.1f * expf(-5.0f * beat) * (1.0f - expf(-60.0f * beat));
}

// Evenly spread directions over a sphere (a Fibonacci spiral).
std::vector<D3DXVECTOR3> spread(int a_count)
{
    std::vector<D3DXVECTOR3> directions;
    const float golden = kPi * (3.0f - sqrtf(5.0f));
    for (int i = 0; i < a_count; ++i)
    {
        const float y = 1.0f - 2.0f * (float(i) + 0.5f) / float(a_count);
        const float ring = sqrtf(1.0f - y * y);
        directions.emplace_back(ring * cosf(golden * float(i)), y, ring * sinf(golden * float(i)));
    }
    return directions;
}

// The matrix that stands +y along a_direction at a_origin.
D3DXMATRIX standAlong(const D3DXVECTOR3& a_direction, const D3DXVECTOR3& a_origin)
{
    D3DXVECTOR3 side = fabsf(a_direction.y) < 0.9f ? D3DXVECTOR3(0, 1, 0) : D3DXVECTOR3(1, 0, 0);
    D3DXVECTOR3 x, z;
    D3DXVec3Cross(&x, &side, &a_direction);
    D3DXVec3Normalize(&x, &x);
    D3DXVec3Cross(&z, &x, &a_direction);
    D3DXMATRIX m(x.x, x.y, x.z, 0, a_direction.x, a_direction.y, a_direction.z, 0, z.x, z.y, z.z, 0,
                 a_origin.x, a_origin.y, a_origin.z, 1);
    return m;
}

struct Materials
{
    int32_t floor, armour, steel, tips, band, droneHull, droneCore, pillar, collar;
};

Materials addMaterials(SceneRecipe& a_recipe)
{
    Materials ids;
    QorMaterial floorMaterial =
        material("arenaFloor", D3DXVECTOR3(0.8f, 0.78f, 0.76f), 0.6f, 40.0f);
    floorMaterial.textures = {{kQorSlotColour, "tiles.jpg"},
                              {kQorSlotHeight, "tiles_height.jpg"},
                              {kQorSlotOcclusion, "tiles_occlusion.jpg"}};
    ids.floor = a_recipe.add(floorMaterial);
    QorMaterial armour = material("armour", D3DXVECTOR3(0.85f, 0.8f, 0.74f), 0.8f, 30.0f);
    armour.textures = {{kQorSlotColour, "panels.jpg"}, {kQorSlotHeight, "panels_height.jpg"}};
    ids.armour = a_recipe.add(armour);
    QorMaterial steel = material("spikeSteel", D3DXVECTOR3(0.7f, 0.72f, 0.78f), 1.0f, 60.0f);
    steel.textures = {{kQorSlotColour, "autogen_cubemap.jpg"}, {kQorSlotReflection, "streaks.jpg"}};
    ids.steel = a_recipe.add(steel);
    ids.tips = a_recipe.add(glowMaterial("spikeTips", D3DXVECTOR3(0.7f, 0.5f, 0.3f), ""));
    ids.band =
        a_recipe.add(glowMaterial("bellyBand", D3DXVECTOR3(0.6f, 0.3f, 0.12f), "glowlines.jpg"));
    QorMaterial droneHull = material("droneHull", D3DXVECTOR3(0.6f, 0.6f, 0.65f), 0.9f, 50.0f);
    droneHull.textures = {{kQorSlotColour, "panels.jpg"}};
    ids.droneHull = a_recipe.add(droneHull);
    ids.droneCore = a_recipe.add(glowMaterial("droneCore", D3DXVECTOR3(0.6f, 0.62f, 0.66f), ""));
    QorMaterial pillar = material("pillar", D3DXVECTOR3(0.7f, 0.7f, 0.72f), 0.4f, 20.0f);
    pillar.textures = {{kQorSlotColour, "panels.jpg"}, {kQorSlotHeight, "panels_height.jpg"}};
    ids.pillar = a_recipe.add(pillar);
    ids.collar =
        a_recipe.add(glowMaterial("collar", D3DXVECTOR3(0.2f, 0.5f, 0.6f), "glowlines.jpg"));
    return ids;
}

// The hog: body, spikes, their glowing tips and the belly band all ride the
// same path and turn.
void addHog(SceneRecipe& a_recipe, const Materials& a_materials)
{
    QorAnimation hog;
    hog.translation = a_recipe.keys(hogCentre);
    hog.rotation = a_recipe.rotations(hogTurn);
    hog.scale = {D3DXVECTOR3(1, 1, 1)};
    QorAnimation swelling = hog;
    swelling.scale = a_recipe.keys([](float a_phase) {
        const float s = spikeSwell(a_phase);
        return D3DXVECTOR3(s, s, s);
    });

    MeshBuilder builder;
    builder.sphere(kBodyRadius, 40, 24);
    a_recipe.add("body", a_materials.armour, builder, hog);

    const std::vector<D3DXVECTOR3> directions = spread(kSpikes);
    for (const D3DXVECTOR3& direction : directions)
    {
        const uint32_t first = builder.vertexCount();
        builder.cylinder(5.5f, 0.0f, kSpikeLength, 10, false);
        builder.transform(first, standAlong(direction, direction * kSpikeBase));
    }
    a_recipe.add("spikes", a_materials.steel, builder, swelling);
    for (const D3DXVECTOR3& direction : directions)
    {
        const uint32_t first = builder.vertexCount();
        builder.sphere(2.6f, 8, 6);
        D3DXMATRIX place;
        const D3DXVECTOR3 tip = direction * (kSpikeBase + kSpikeLength - 1.0f);
        D3DXMatrixTranslation(&place, tip.x, tip.y, tip.z);
        builder.transform(first, place);
    }
    a_recipe.add("spikeTips", a_materials.tips, builder, swelling);
    builder.torus(kBodyRadius + 0.5f, 3.0f, 48, 8);
    a_recipe.add("bellyBand", a_materials.band, builder, hog);
}

// Drone a_drone of three, a third of a lap apart, circling the hog twice per
// loop; each carries a light.
D3DXVECTOR3 dronePosition(float a_phase, int a_drone)
{
    const float angle = kTau * (2.0f * a_phase + float(a_drone) / 3.0f);
    const float lift = 25.0f * sinf(kTau * (3.0f * a_phase + 0.25f * float(a_drone)));
    return kMiddle + D3DXVECTOR3(108.0f * cosf(angle), 10.0f + lift, 108.0f * sinf(angle));
}

// The drones, each a hull ring and a glowing core; the second and third are
// instances of the first.
void addDrones(SceneRecipe& a_recipe, const Materials& a_materials)
{
    int32_t hullSource = -1, coreSource = -1;
    for (int drone = 0; drone < 3; ++drone)
    {
        QorAnimation flight;
        flight.translation =
            a_recipe.keys([&](float a_phase) { return dronePosition(a_phase, drone); });
        flight.rotation = a_recipe.rotations([drone](float a_phase) {
            return then(turn(D3DXVECTOR3(1, 0, 0), 0.5f),
                        turn(D3DXVECTOR3(0, 1, 0), -kTau * (4.0f * a_phase + float(drone) / 3.0f)));
        });
        flight.scale = {D3DXVECTOR3(1, 1, 1)};
        const std::string number = std::to_string(drone + 1);
        if (drone == 0)
        {
            MeshBuilder builder;
            builder.torus(8.0f, 2.4f, 24, 8);
            for (int fin = 0; fin < 3; ++fin)
            {
                const uint32_t first = builder.vertexCount();
                builder.box(D3DXVECTOR3(7.0f, -0.8f, -1.2f), D3DXVECTOR3(15.0f, 0.8f, 1.2f));
                D3DXMATRIX spin;
                D3DXMatrixRotationY(&spin, kTau * float(fin) / 3.0f);
                builder.transform(first, spin);
            }
            hullSource = a_recipe.add("droneHull" + number, a_materials.droneHull, builder, flight);
            builder.sphere(4.0f, 12, 8);
            coreSource = a_recipe.add("droneCore" + number, a_materials.droneCore, builder, flight);
        }
        else
        {
            a_recipe.instance("droneHull" + number, hullSource, flight);
            a_recipe.instance("droneCore" + number, coreSource, flight);
        }
    }
}

// Pillars round the arena at the edge of the light, collars glowing.
void addPillars(SceneRecipe& a_recipe, const Materials& a_materials)
{
    int32_t pillarSource = -1, collarSource = -1;
    for (int i = 0; i < 8; ++i)
    {
        const float angle = kTau * (float(i) + 0.5f) / 8.0f;
        const D3DXVECTOR3 foot(480.0f * cosf(angle), 0.0f, 480.0f * sinf(angle));
        const std::string number = std::to_string(i + 1);
        if (i == 0)
        {
            MeshBuilder column;
            column.cylinder(18.0f, 14.0f, 340.0f, 20, true);
            pillarSource = a_recipe.add("pillar1", a_materials.pillar, column, still(foot));
            MeshBuilder collar;
            collar.torus(20.0f, 3.5f, 32, 8);
            collarSource = a_recipe.add("collar1", a_materials.collar, collar,
                                        still(foot + D3DXVECTOR3(0, 40, 0)));
        }
        else
        {
            a_recipe.instance("pillar" + number, pillarSource, still(foot));
            a_recipe.instance("collar" + number, collarSource, still(foot + D3DXVECTOR3(0, 40, 0)));
        }
    }
}

// Cameras round the middle: a low orbit, a high wide orbit of the arena, a
// close sweep rising and falling.
void addCameras(SceneRecipe& a_recipe)
{
    a_recipe.add(a_recipe.camera(
        "Camera01",
        [](float p) {
            const float a = kTau * p + 2.4f;
            return kMiddle + D3DXVECTOR3(245.0f * cosf(a), -10.0f + 35.0f * sinf(kTau * 2.0f * p),
                                         245.0f * sinf(a));
        },
        [](float) { return kMiddle + D3DXVECTOR3(0, 5, 0); }, [](float) { return 0.0f; },
        [](float) { return 1.55f; }));
    a_recipe.add(a_recipe.camera(
        "Camera02",
        [](float p) {
            const float a = -kTau * p + 1.0f;
            return D3DXVECTOR3(440.0f * cosf(a), 250.0f + 40.0f * sinf(kTau * p), 440.0f * sinf(a));
        },
        [](float) { return kMiddle + D3DXVECTOR3(0, -20, 0); }, [](float) { return 0.0f; },
        [](float) { return 1.6f; }));
    a_recipe.add(a_recipe.camera(
        "Camera03",
        [](float p) {
            const float a = 2.0f * kTau * p;
            return kMiddle + D3DXVECTOR3(170.0f * cosf(a), 45.0f * sinf(kTau * 3.0f * p) - 15.0f,
                                         170.0f * sinf(a));
        },
        [](float) { return kMiddle; }, [](float p) { return 0.15f * sinf(kTau * 2.0f * p); },
        [](float) { return 1.5f; }));
}

// Lights: the first one (the part flickers it) is the warm key above.
void addLights(SceneRecipe& a_recipe)
{
    a_recipe.add(
        omni("key", D3DXVECTOR3(0.9f, 0.82f, 0.7f), 220.0f, 700.0f, a_recipe.keys([](float p) {
            const float a = kTau * p;
            return kMiddle + D3DXVECTOR3(110.0f * cosf(a), 190.0f, 110.0f * sinf(a));
        })));
    a_recipe.add(
        omni("rim", D3DXVECTOR3(0.5f, 0.62f, 0.95f), 200.0f, 650.0f, a_recipe.keys([](float p) {
            const float a = -kTau * p + 2.0f;
            return kMiddle + D3DXVECTOR3(300.0f * cosf(a), 120.0f, 300.0f * sinf(a));
        })));
    const D3DXVECTOR3 droneColours[3] = {
        {1.0f, 0.4f, 0.85f}, {0.4f, 0.85f, 1.05f}, {1.1f, 0.75f, 0.3f}};
    for (int drone = 0; drone < 3; ++drone)
    {
        a_recipe.add(omni("drone" + std::to_string(drone + 1), droneColours[drone], 30.0f, 230.0f,
                          a_recipe.keys([&](float p) { return dronePosition(p, drone); })));
    }
    a_recipe.add(omni(
        "underGlow", D3DXVECTOR3(1.1f, 0.45f, 0.25f), 60.0f, 260.0f, a_recipe.keys([](float p) {
            return D3DXVECTOR3(40.0f * cosf(kTau * 3.0f * p), 14.0f, 40.0f * sinf(kTau * 3.0f * p));
        })));
}

}  // namespace

QorFile hogScene()
{
    SceneRecipe recipe(kFrames);
    const Materials materials = addMaterials(recipe);
    MeshBuilder floor;
    floor.plane(6000.0f, 6000.0f, 24, 24, 60.0f);
    recipe.add("floor", materials.floor, floor, still());
    addHog(recipe, materials);
    addDrones(recipe, materials);
    addPillars(recipe, materials);
    addCameras(recipe);
    addLights(recipe);
    return recipe.file();
}
