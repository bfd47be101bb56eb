// "test.qor": a sculpture room. A chrome ring turns round a pulsing core in
// the middle of a panelled hall; twelve monoliths rise and fall in a wave on
// every beat; perforated screens stand before the side walls; dust glints in
// the air; four coloured lights circle.
//
// The test part plays it most often, at 20 to 40 frames a second,
// with the cameras "Camera01", "Camera02" and "Camera03". The loop is 226
// frames: sixteen beats at 40 frames a second and 170 beats a minute
// (14.12 frames a beat), so the pulses, sixteen per loop, land on the beat
// where the part runs the scene at 40 frames a second.
#include "TestScene.h"

#include "SceneRecipe.h"

#include <math.h>

namespace
{

constexpr uint32_t kFrames = 227;
constexpr float kBeats = 16.0f;
constexpr float kHalfWidth = 450.0f;
constexpr float kHeight = 360.0f;
const D3DXVECTOR3 kCentre(0.0f, 170.0f, 0.0f);
constexpr int kMonoliths = 12;
constexpr float kMonolithRing = 300.0f;

// 1 on the beat, fading within it.
float beatPulse(float a_phase, float a_offset = 0.0f)
{
    float beat = a_phase * kBeats - a_offset;
    beat -= floorf(beat);
    return expf(-6.0f * beat) * (1.0f - expf(-80.0f * beat));
}

float monolithHeight(float a_phase, int a_index)
{
    const float offset = float(a_index) / float(kMonoliths);
    return 70.0f + 120.0f * beatPulse(a_phase, offset) + 30.0f * sinf(kTau * (a_phase + offset));
}

D3DXVECTOR3 monolithFoot(int a_index)
{
    const float angle = kTau * (float(a_index) + 0.5f) / float(kMonoliths);
    return D3DXVECTOR3(kMonolithRing * cosf(angle), 0.0f, kMonolithRing * sinf(angle));
}

// The plane of MeshBuilder stood up as a wall facing the room's centre.
void wall(MeshBuilder& a_builder, float a_yaw, float a_width, float a_height, float a_distance,
          float a_repeat)
{
    const uint32_t first = a_builder.vertexCount();
    a_builder.plane(a_width, a_height, 8, 4, a_repeat);
    D3DXMATRIX stand, yaw, move, both, all;
    D3DXMatrixRotationX(&stand, -0.5f * kPi);
    D3DXMatrixTranslation(&move, 0.0f, 0.5f * a_height, a_distance);
    D3DXMatrixRotationY(&yaw, a_yaw);
    D3DXMatrixMultiply(&both, &stand, &move);
    D3DXMatrixMultiply(&all, &both, &yaw);
    a_builder.transform(first, all);
}

struct Materials
{
    int32_t floor, walls, chrome, core, monolith, cap, halo, screen, dust;
};

Materials addMaterials(SceneRecipe& a_recipe)
{
    Materials ids;
    QorMaterial floorMaterial = material("hallFloor", D3DXVECTOR3(0.7f, 0.7f, 0.72f), 0.7f, 50.0f);
    floorMaterial.textures = {{kQorSlotColour, "tiles.jpg"},
                              {kQorSlotHeight, "tiles_height.jpg"},
                              {kQorSlotOcclusion, "tiles_occlusion.jpg"}};
    ids.floor = a_recipe.add(floorMaterial);
    QorMaterial walls = material("hallWalls", D3DXVECTOR3(0.75f, 0.74f, 0.72f), 0.3f, 20.0f);
    walls.textures = {{kQorSlotColour, "panels.jpg"}, {kQorSlotHeight, "panels_height.jpg"}};
    ids.walls = a_recipe.add(walls);
    QorMaterial chrome = material("chrome", D3DXVECTOR3(0.72f, 0.74f, 0.8f), 1.0f, 80.0f);
    chrome.textures = {{kQorSlotColour, "autogen_cubemap.jpg"},
                       {kQorSlotReflection, "streaks.jpg"}};
    ids.chrome = a_recipe.add(chrome);
    QorMaterial core = material("core", D3DXVECTOR3(0.85f, 0.78f, 0.7f), 0.9f, 40.0f);
    core.textures = {{kQorSlotColour, "panels.jpg"}, {kQorSlotHeight, "panels_height.jpg"}};
    ids.core = a_recipe.add(core);
    QorMaterial monolith = material("monolith", D3DXVECTOR3(0.55f, 0.58f, 0.66f), 0.9f, 60.0f);
    monolith.textures = {{kQorSlotColour, "panels.jpg"}, {kQorSlotReflection, "streaks.jpg"}};
    ids.monolith = a_recipe.add(monolith);
    ids.cap = a_recipe.add(
        glowMaterial("monolithCap", D3DXVECTOR3(0.62f, 0.42f, 0.25f), "glowlines.jpg"));
    ids.halo = a_recipe.add(glowMaterial("halo", D3DXVECTOR3(0.42f, 0.56f, 0.64f), ""));
    QorMaterial screen = material("screen", D3DXVECTOR3(0.8f, 0.78f, 0.75f), 0.5f, 30.0f);
    screen.textures = {{kQorSlotColour, "panels.jpg"}, {kQorSlotOpacity, "grille.jpg"}};
    ids.screen = a_recipe.add(screen);
    ids.dust = a_recipe.add(glowMaterial("dust", D3DXVECTOR3(0.5f, 0.48f, 0.45f), "spark.jpg"));
    return ids;
}

// The hall: a tiled floor, then panelled walls and ceiling.
void addHall(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    builder.plane(2.0f * kHalfWidth, 2.0f * kHalfWidth, 12, 12, 9.0f);
    a_recipe.add("floor", a_materials.floor, builder, still());
    for (int side = 0; side < 4; ++side)
        wall(builder, 0.5f * kPi * float(side), 2.0f * kHalfWidth, kHeight, kHalfWidth, 4.0f);
    {
        const uint32_t first = builder.vertexCount();
        builder.plane(2.0f * kHalfWidth, 2.0f * kHalfWidth, 8, 8, 4.0f);
        D3DXMATRIX over, lift, both;
        D3DXMatrixRotationX(&over, kPi);
        D3DXMatrixTranslation(&lift, 0.0f, kHeight, 0.0f);
        D3DXMatrixMultiply(&both, &over, &lift);
        builder.transform(first, both);
    }
    a_recipe.add("walls", a_materials.walls, builder, still());
}

// The ring turns once per loop about the vertical and rocks a little.
void addRing(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    builder.torus(112.0f, 13.0f, 64, 16);
    QorAnimation ringTurn;
    ringTurn.translation = {kCentre};
    ringTurn.rotation = a_recipe.rotations([](float p) {
        return then(turn(D3DXVECTOR3(1, 0, 0), 0.5f * kPi + 0.2f * sinf(kTau * 2.0f * p)),
                    turn(D3DXVECTOR3(0, 1, 0), kTau * p));
    });
    ringTurn.scale = {D3DXVECTOR3(1, 1, 1)};
    a_recipe.add("ring", a_materials.chrome, builder, ringTurn);
}

// The core swells on every beat; a halo circles it the other way.
void addCore(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    builder.sphere(46.0f, 40, 24);
    QorAnimation pulse;
    pulse.translation = {kCentre};
    pulse.rotation =
        a_recipe.rotations([](float p) { return turn(D3DXVECTOR3(0.3f, 1, 0), -kTau * p); });
    pulse.scale = a_recipe.keys([](float p) {
        const float s = 1.0f + 0.14f * beatPulse(p);
        return D3DXVECTOR3(s, s, s);
    });
    a_recipe.add("core", a_materials.core, builder, pulse);
    builder.torus(66.0f, 1.6f, 64, 6);
    QorAnimation haloTurn;
    haloTurn.translation = {kCentre};
    haloTurn.rotation = a_recipe.rotations([](float p) {
        return then(turn(D3DXVECTOR3(1, 0, 0.4f), 0.9f),
                    turn(D3DXVECTOR3(0, 1, 0), -2.0f * kTau * p));
    });
    haloTurn.scale = pulse.scale;
    a_recipe.add("halo", a_materials.halo, builder, haloTurn);
}

// Monoliths: a unit-high box stretched to each one's height, a glowing
// cap riding on top.
void addMonoliths(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    int32_t monolithSource = -1, capSource = -1;
    for (int i = 0; i < kMonoliths; ++i)
    {
        const D3DXVECTOR3 foot = monolithFoot(i);
        const std::string number = std::to_string(i + 1);
        QorAnimation rise;
        rise.translation = {foot};
        rise.rotation = still(foot, D3DXVECTOR3(1, 1, 1),
                              turn(D3DXVECTOR3(0, 1, 0), -kTau * float(i) / kMonoliths))
                            .rotation;
        rise.scale =
            a_recipe.keys([i](float p) { return D3DXVECTOR3(1.0f, monolithHeight(p, i), 1.0f); });
        QorAnimation ride;
        ride.translation = a_recipe.keys(
            [i, foot](float p) { return foot + D3DXVECTOR3(0, monolithHeight(p, i), 0); });
        ride.rotation = rise.rotation;
        ride.scale = {D3DXVECTOR3(1, 1, 1)};
        if (i == 0)
        {
            builder.box(D3DXVECTOR3(-22, 0, -22), D3DXVECTOR3(22, 1, 22));
            monolithSource = a_recipe.add("monolith" + number, a_materials.monolith, builder, rise);
            builder.box(D3DXVECTOR3(-24, 0, -24), D3DXVECTOR3(24, 5, 24));
            capSource = a_recipe.add("cap" + number, a_materials.cap, builder, ride);
        }
        else
        {
            a_recipe.instance("monolith" + number, monolithSource, rise);
            a_recipe.instance("cap" + number, capSource, ride);
        }
    }
}

// Perforated screens before the side walls.
void addScreens(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    for (int side = 0; side < 2; ++side)
        wall(builder, side == 0 ? 0.5f * kPi : -0.5f * kPi, 420.0f, 260.0f, 395.0f, 2.0f);
    a_recipe.add("screens", a_materials.screen, builder, still());
}

// Dust: glints through the hall, drifting round slowly.
void addDust(SceneRecipe& a_recipe, const Materials& a_materials)
{
    std::vector<D3DXVECTOR3> motes;
    uint32_t seed = 1234567u;
    auto random = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1u << 24);
    };
    for (int i = 0; i < 260; ++i)
    {
        const float angle = kTau * random();
        const float radius = 140.0f + 260.0f * random();
        motes.emplace_back(radius * cosf(angle), 20.0f + 320.0f * random(), radius * sinf(angle));
    }
    QorAnimation drift;
    drift.translation = {D3DXVECTOR3(0, 0, 0)};
    drift.rotation = a_recipe.rotations(
        [](float p) { return turn(D3DXVECTOR3(0, 1, 0), 0.5f * sinf(kTau * p)); });
    drift.scale = {D3DXVECTOR3(2.2f, 2.2f, 2.2f)};
    a_recipe.sprites("dust", a_materials.dust, motes, drift);
}

// Cameras: an orbit inside the monoliths, a low glide between them and
// the ring, a crane.
void addCameras(SceneRecipe& a_recipe)
{
    a_recipe.add(a_recipe.camera(
        "Camera01",
        [](float p) {
            const float a = kTau * p + 0.6f;
            return D3DXVECTOR3(235.0f * cosf(a), 120.0f + 55.0f * sinf(kTau * 2.0f * p),
                               235.0f * sinf(a));
        },
        [](float p) { return kCentre + D3DXVECTOR3(0, -15.0f * sinf(kTau * 2.0f * p), 0); },
        [](float p) { return 0.06f * sinf(kTau * p); }, [](float) { return 1.6f; }));
    a_recipe.add(a_recipe.camera(
        "Camera02",
        [](float p) {
            return D3DXVECTOR3(120.0f * sinf(kTau * p), 55.0f + 25.0f * sinf(2.0f * kTau * p),
                               -235.0f);
        },
        [](float p) {
            return kCentre + D3DXVECTOR3(60.0f * sinf(kTau * p), 10.0f * cosf(kTau * p), 0);
        },
        [](float p) { return -0.1f * cosf(kTau * p); }, [](float) { return 1.5f; }));
    a_recipe.add(a_recipe.camera(
        "Camera03",
        [](float p) {
            const float a = 0.25f * kPi + 0.6f * sinf(kTau * p);
            return D3DXVECTOR3(330.0f * cosf(a), 315.0f + 20.0f * sinf(2.0f * kTau * p),
                               -330.0f * sinf(a));
        },
        [](float) { return D3DXVECTOR3(0.0f, 110.0f, 0.0f); }, [](float) { return 0.0f; },
        [](float) { return 1.65f; }));
}

// Lights: warm white above, red and cyan circling low on opposite sides,
// amber sweeping the walls.
void addLights(SceneRecipe& a_recipe)
{
    a_recipe.add(
        omni("top", D3DXVECTOR3(1.0f, 0.95f, 0.88f), 250.0f, 800.0f, a_recipe.keys([](float p) {
            const float a = kTau * p;
            return D3DXVECTOR3(90.0f * cosf(a), 320.0f, 90.0f * sinf(a));
        })));
    a_recipe.add(
        omni("red", D3DXVECTOR3(1.1f, 0.4f, 0.3f), 120.0f, 520.0f, a_recipe.keys([](float p) {
            const float a = -kTau * p;
            return D3DXVECTOR3(190.0f * cosf(a), 60.0f, 190.0f * sinf(a));
        })));
    a_recipe.add(
        omni("cyan", D3DXVECTOR3(0.3f, 0.8f, 1.1f), 120.0f, 520.0f, a_recipe.keys([](float p) {
            const float a = -kTau * p + kPi;
            return D3DXVECTOR3(190.0f * cosf(a), 60.0f, 190.0f * sinf(a));
        })));
    a_recipe.add(
        omni("amber", D3DXVECTOR3(1.0f, 0.75f, 0.4f), 150.0f, 520.0f, a_recipe.keys([](float p) {
            const float a = 2.0f * kTau * p;
            return D3DXVECTOR3(360.0f * cosf(a), 200.0f + 80.0f * sinf(kTau * p), 360.0f * sinf(a));
        })));
}

}  // namespace

QorFile testScene()
{
    SceneRecipe recipe(kFrames);
    const Materials materials = addMaterials(recipe);
    addHall(recipe, materials);
    addRing(recipe, materials);
    addCore(recipe, materials);
    addMonoliths(recipe, materials);
    addScreens(recipe, materials);
    addDust(recipe, materials);
    addCameras(recipe);
    addLights(recipe);
    return recipe.file();
}
