// "satellite.qor": a communications satellite in low orbit. A gold-foiled
// bus with two wings of three solar panels each (the second wing an instance
// of the first), a chrome dish that sweeps, thrusters, a mast and blinking
// navigation lights; below it the curve of a banded planet turns; stars
// glitter above.
//
// The satellite part runs the scene backwards at 40 frames a
// second and its first camera at 5, and breathes the camera's field of view
// between 0.5 and 1.5 times the exported one. Its fog closes in at about 300
// units, so everything sits within 300 units of the camera. The loop is
// 1600 frames: the planet turns once in 40 seconds.
#include "SatelliteScene.h"

#include "SceneRecipe.h"

#include <math.h>

namespace
{

constexpr uint32_t kFrames = 1601;
constexpr float kPlanetRadius = 500.0f;
const D3DXVECTOR3 kPlanetCentre(0.0f, -600.0f, 0.0f);

// One wing along +x from the bus: a boom, a yoke and three panels.
void wing(MeshBuilder& a_builder)
{
    uint32_t first = a_builder.vertexCount();
    a_builder.cylinder(1.1f, 1.1f, 86.0f, 10, true);
    D3DXMATRIX lay;
    D3DXMatrixRotationZ(&lay, -0.5f * kPi);
    a_builder.transform(first, lay);
    a_builder.box(D3DXVECTOR3(14.0f, -1.0f, -9.0f), D3DXVECTOR3(17.0f, 1.0f, 9.0f));
}

struct Materials
{
    int32_t foil, hull, solar, dish, planet, stars, red, green, exhaust;
};

Materials addMaterials(SceneRecipe& a_recipe)
{
    Materials ids;
    QorMaterial foil = material("foil", D3DXVECTOR3(1.0f, 1.0f, 1.0f), 1.0f, 45.0f);
    foil.textures = {{kQorSlotColour, "foil.jpg"}, {kQorSlotHeight, "foil_height.jpg"}};
    ids.foil = a_recipe.add(foil);
    QorMaterial hull = material("hull", D3DXVECTOR3(0.82f, 0.82f, 0.85f), 0.6f, 30.0f);
    hull.textures = {{kQorSlotColour, "panels.jpg"}, {kQorSlotHeight, "panels_height.jpg"}};
    ids.hull = a_recipe.add(hull);
    QorMaterial solar = material("solar", D3DXVECTOR3(1.0f, 1.0f, 1.0f), 1.0f, 80.0f);
    solar.textures = {{kQorSlotColour, "solar.jpg"}, {kQorSlotHeight, "solar_height.jpg"}};
    ids.solar = a_recipe.add(solar);
    QorMaterial chrome = material("dish", D3DXVECTOR3(0.62f, 0.63f, 0.66f), 0.7f, 70.0f);
    chrome.textures = {{kQorSlotColour, "autogen_cubemap.jpg"},
                       {kQorSlotReflection, "streaks.jpg"}};
    ids.dish = a_recipe.add(chrome);
    QorMaterial planet = material("planet", D3DXVECTOR3(0.78f, 0.78f, 0.8f), 0.12f, 10.0f);
    planet.textures = {{kQorSlotColour, "planet.jpg"}};
    ids.planet = a_recipe.add(planet);
    ids.stars = a_recipe.add(glowMaterial("stars", D3DXVECTOR3(0.6f, 0.6f, 0.62f), "spark.jpg"));
    ids.red = a_recipe.add(glowMaterial("navRed", D3DXVECTOR3(0.75f, 0.3f, 0.25f), ""));
    ids.green = a_recipe.add(glowMaterial("navGreen", D3DXVECTOR3(0.35f, 0.72f, 0.4f), ""));
    ids.exhaust = a_recipe.add(glowMaterial("exhaust", D3DXVECTOR3(0.45f, 0.55f, 0.7f), ""));
    return ids;
}

// The planet, turning once per loop about a tilted axis.
void addPlanet(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    builder.sphere(kPlanetRadius, 96, 56);
    QorAnimation spin;
    spin.translation = {kPlanetCentre};
    spin.rotation = a_recipe.rotations([](float p) {
        return then(turn(D3DXVECTOR3(0, 1, 0), -kTau * p), turn(D3DXVECTOR3(0, 0, 1), 0.35f));
    });
    spin.scale = {D3DXVECTOR3(1, 1, 1)};
    a_recipe.add("planet", a_materials.planet, builder, spin);
}

// The satellite drifts a little and rolls gently over the loop.
QorAnimation swayOf(const SceneRecipe& a_recipe)
{
    QorAnimation sway;
    sway.translation = a_recipe.keys([](float p) {
        return D3DXVECTOR3(3.0f * sinf(kTau * 2.0f * p), 2.0f * sinf(kTau * 3.0f * p), 0.0f);
    });
    sway.rotation = a_recipe.rotations([](float p) {
        return then(turn(D3DXVECTOR3(1, 0, 0), 0.12f * sinf(kTau * 2.0f * p)),
                    turn(D3DXVECTOR3(0, 1, 0), 0.3f * sinf(kTau * p)));
    });
    sway.scale = {D3DXVECTOR3(1, 1, 1)};
    return sway;
}

// Bus: a foil-wrapped body on a panelled service module, with thrusters
// under it and a mast on top.
void addBus(SceneRecipe& a_recipe, const Materials& a_materials, const QorAnimation& a_sway)
{
    MeshBuilder builder;
    builder.box(D3DXVECTOR3(-12, -14, -12), D3DXVECTOR3(12, 14, 12));
    a_recipe.add("bus", a_materials.foil, builder, a_sway);
    builder.box(D3DXVECTOR3(-10, 14, -10), D3DXVECTOR3(10, 20, 10));
    builder.box(D3DXVECTOR3(-14, -22, -14), D3DXVECTOR3(14, -14, 14));
    for (int i = 0; i < 4; ++i)
    {
        const uint32_t first = builder.vertexCount();
        builder.cylinder(3.5f, 1.5f, 6.0f, 12, true);
        D3DXMATRIX flip, move, both;
        D3DXMatrixRotationX(&flip, kPi);
        D3DXMatrixTranslation(&move, i % 2 == 0 ? -8.0f : 8.0f, -22.0f, i < 2 ? -8.0f : 8.0f);
        D3DXMatrixMultiply(&both, &flip, &move);
        builder.transform(first, both);
    }
    const uint32_t first = builder.vertexCount();
    builder.cylinder(0.6f, 0.4f, 26.0f, 8, true);
    D3DXMATRIX move;
    D3DXMatrixTranslation(&move, 6.0f, 20.0f, 6.0f);
    builder.transform(first, move);
    a_recipe.add("serviceModule", a_materials.hull, builder, a_sway);
}

// Wings: the first carries its panels along +x; the second is an instance
// turned half round. Both tilt to follow the sun.
void addWings(SceneRecipe& a_recipe, const Materials& a_materials, const QorAnimation& a_sway)
{
    MeshBuilder builder;
    wing(builder);
    a_recipe.add("boom", a_materials.hull, builder, a_sway);
    for (int panel = 0; panel < 3; ++panel)
    {
        const uint32_t first = builder.vertexCount();
        builder.box(D3DXVECTOR3(-11.0f, -0.5f, -8.5f), D3DXVECTOR3(11.0f, 0.5f, 8.5f));
        D3DXMATRIX move;
        D3DXMatrixTranslation(&move, 30.0f + 23.5f * float(panel), 0.0f, 0.0f);
        builder.transform(first, move);
    }
    auto wingTurn = [&a_recipe, &a_sway](float a_side) {
        QorAnimation result = a_sway;
        result.rotation = a_recipe.rotations([a_side](float p) {
            const D3DXQUATERNION swayTurn =
                then(turn(D3DXVECTOR3(1, 0, 0), 0.12f * sinf(kTau * 2.0f * p)),
                     turn(D3DXVECTOR3(0, 1, 0), 0.3f * sinf(kTau * p)));
            const D3DXQUATERNION tilt = turn(D3DXVECTOR3(1, 0, 0), 0.35f + 0.3f * sinf(kTau * p));
            return then(then(tilt, turn(D3DXVECTOR3(0, 1, 0), a_side)), swayTurn);
        });
        return result;
    };
    const int32_t wingSource = a_recipe.add("wing1", a_materials.solar, builder, wingTurn(0.0f));
    a_recipe.instance("wing2", wingSource, wingTurn(kPi));
}

// The dish: a shallow cone, outside and in, sweeping to and fro.
void addDish(SceneRecipe& a_recipe, const Materials& a_materials)
{
    MeshBuilder builder;
    builder.cylinder(1.5f, 12.0f, 4.5f, 32, false);
    const uint32_t inside = builder.vertexCount();
    builder.cylinder(1.5f, 12.0f, 4.5f, 32, false);
    builder.flip(inside);
    builder.cylinder(0.4f, 0.4f, 10.0f, 6, true);
    const uint32_t horn = builder.vertexCount();
    builder.sphere(1.3f, 10, 6);
    D3DXMATRIX lift;
    D3DXMatrixTranslation(&lift, 0.0f, 10.0f, 0.0f);
    builder.transform(horn, lift);
    QorAnimation sweep;
    sweep.translation = a_recipe.keys([](float p) {
        return D3DXVECTOR3(3.0f * sinf(kTau * 2.0f * p), 2.0f * sinf(kTau * 3.0f * p), 0.0f) +
               D3DXVECTOR3(0, 0, -14);
    });
    sweep.rotation = a_recipe.rotations([](float p) {
        return then(then(turn(D3DXVECTOR3(1, 0, 0), -1.2f + 0.25f * sinf(kTau * 4.0f * p)),
                         turn(D3DXVECTOR3(0, 1, 0), 0.5f * sinf(kTau * 2.0f * p))),
                    turn(D3DXVECTOR3(0, 1, 0), 0.3f * sinf(kTau * p)));
    });
    sweep.scale = {D3DXVECTOR3(1, 1, 1)};
    a_recipe.add("dish", a_materials.dish, builder, sweep);
}

// Exhaust: faint blue glow at the thrusters' mouths.
void addExhaust(SceneRecipe& a_recipe, const Materials& a_materials, const QorAnimation& a_sway)
{
    MeshBuilder builder;
    for (int i = 0; i < 4; ++i)
    {
        const uint32_t first = builder.vertexCount();
        builder.sphere(1.6f, 10, 6);
        D3DXMATRIX move;
        D3DXMatrixTranslation(&move, i % 2 == 0 ? -8.0f : 8.0f, -28.5f, i < 2 ? -8.0f : 8.0f);
        builder.transform(first, move);
    }
    a_recipe.add("exhaust", a_materials.exhaust, builder, a_sway);
}

// Navigation lights: red on one side, green on the other, blinking in turn,
// twenty times per loop. They sit on the bus corners: their meshes are built
// there, so the blink scales them about the bus's centre. Hidden they shrink
// toward it, inside the bus.
void addNavigationLights(SceneRecipe& a_recipe, const Materials& a_materials,
                         const QorAnimation& a_sway)
{
    auto blink = [&a_recipe, &a_sway](float a_offset) {
        QorAnimation result = a_sway;
        result.scale = a_recipe.keys([a_offset](float p) {
            const float wave = fmaxf(0.0f, sinf(kTau * (20.0f * p + a_offset)));
            const float s = 0.15f + 0.85f * wave * wave * wave;
            return D3DXVECTOR3(s, s, s);
        });
        return result;
    };
    const struct
    {
        const char* name;
        int32_t material;
        float x;
        float offset;
    } kLights[] = {{"navRed", a_materials.red, -12.5f, 0.0f},
                   {"navGreen", a_materials.green, 12.5f, 0.5f}};
    for (const auto& light : kLights)
    {
        MeshBuilder builder;
        builder.sphere(1.8f, 10, 6);
        D3DXMATRIX move;
        D3DXMatrixTranslation(&move, light.x, 14.5f, -12.5f);
        builder.transform(0, move);
        a_recipe.add(light.name, light.material, builder, blink(light.offset));
    }
}

// Stars: a dome of points above the planet, some near, most far.
void addStars(SceneRecipe& a_recipe, const Materials& a_materials)
{
    std::vector<D3DXVECTOR3> stars;
    uint32_t seed = 31337u;
    auto random = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1u << 24);
    };
    while (stars.size() < 700)
    {
        const float y = 2.0f * random() - 1.0f;
        if (y < 0.08f)
            continue;
        const float angle = kTau * random();
        const float ring = sqrtf(1.0f - y * y);
        const float radius = 140.0f + 90.0f * random();
        stars.emplace_back(radius * ring * cosf(angle), radius * y, radius * ring * sinf(angle));
    }
    QorAnimation twinkle;
    twinkle.translation = {D3DXVECTOR3(0, 0, 0)};
    twinkle.rotation = {D3DXQUATERNION(0, 0, 0, 1)};
    twinkle.scale = {D3DXVECTOR3(1.3f, 1.3f, 1.3f)};
    a_recipe.sprites("stars", a_materials.stars, stars, twinkle);
}

// The camera circles three times per loop, looking down past the satellite
// to the planet's curve. The part runs it at 5 frames a second, so it drifts
// about a fifth of a turn in a part.
void addCamera(SceneRecipe& a_recipe)
{
    a_recipe.add(a_recipe.camera(
        "Camera01",
        [](float p) {
            const float a = 3.0f * kTau * p + 0.8f;
            return D3DXVECTOR3(112.0f * cosf(a), 28.0f + 12.0f * sinf(kTau * 5.0f * p),
                               112.0f * sinf(a));
        },
        [](float p) { return D3DXVECTOR3(0, -14.0f + 5.0f * sinf(kTau * 5.0f * p), 0); },
        [](float p) { return 0.12f * sinf(kTau * 4.0f * p); }, [](float) { return 1.5f; }));
}

// The sun, warm and strong from one side; two cool lights from the other
// sides, so that the shadowed faces still read; the thrusters' faint blue.
void addLights(SceneRecipe& a_recipe)
{
    a_recipe.add(omni("sun", D3DXVECTOR3(1.15f, 1.08f, 0.95f), 900.0f, 2000.0f,
                      a_recipe.keys([](float) { return D3DXVECTOR3(600.0f, 320.0f, -250.0f); })));
    a_recipe.add(omni("skyshine", D3DXVECTOR3(0.8f, 0.85f, 1.05f), 600.0f, 1200.0f,
                      a_recipe.keys([](float) { return D3DXVECTOR3(-420.0f, 160.0f, 330.0f); })));
    a_recipe.add(omni("earthshine", D3DXVECTOR3(0.55f, 0.62f, 0.75f), 450.0f, 1000.0f,
                      a_recipe.keys([](float) { return D3DXVECTOR3(-150.0f, -60.0f, -540.0f); })));
    a_recipe.add(
        omni("thrusters", D3DXVECTOR3(0.4f, 0.55f, 1.0f), 5.0f, 45.0f, a_recipe.keys([](float p) {
            return D3DXVECTOR3(3.0f * sinf(kTau * 2.0f * p), -34.0f + 2.0f * sinf(kTau * 3.0f * p),
                               0.0f);
        })));
}

}  // namespace

QorFile satelliteScene()
{
    SceneRecipe recipe(kFrames);
    const Materials materials = addMaterials(recipe);
    addPlanet(recipe, materials);
    const QorAnimation sway = swayOf(recipe);
    addBus(recipe, materials, sway);
    addWings(recipe, materials, sway);
    addDish(recipe, materials);
    addExhaust(recipe, materials, sway);
    addNavigationLights(recipe, materials, sway);
    addStars(recipe, materials);
    addCamera(recipe);
    addLights(recipe);
    return recipe.file();
}
