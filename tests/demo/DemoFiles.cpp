// The demo's files for tests.
#include "demo/DemoFiles.h"

#include "platform/bass/Mp3TestData.h"
#include "render/TestJpeg.h"
#include "render/TestPrograms.h"
#include "support/ArchiveBuilder.h"
#include "support/SceneFiles.h"

#include <math.h>

#include <utility>

namespace DemoFiles
{

const char* const g_images[] = {"loadbar.jpg", "title1.jpg",   "title2.jpg",   "title3.jpg",
                                "go.jpg",      "jump.jpg",     "step.jpg",     "logo.jpg",
                                "holdit.jpg",  "credits1.jpg", "credits2.jpg", "smnoise.jpg"};
const int g_imageCount = int(sizeof(g_images) / sizeof(g_images[0]));

namespace
{

// A lit room: a floor, a block glowing on it, an omni light over it and
// three cameras around it, all inside walls far enough to hold the parts'
// strongest camera shakes, so that no camera looks into the void.
QorFile room()
{
    QorFile file;
    file.frameCount = 3;
    // The stone glows, so that a camera shaken below the floor or out of
    // the lamp's reach still sees its surroundings through the parts'
    // strong contrast (which turns everything below a third black).
    file.records.push_back(SceneFiles::material("stone", D3DXVECTOR3(0.8f, 0.7f, 0.6f),
                                                D3DXVECTOR3(0.6f, 0.5f, 0.45f)));
    file.records.push_back(
        SceneFiles::material("glow", D3DXVECTOR3(1, 1, 1), D3DXVECTOR3(0.2f, 0.6f, 1.0f)));
    file.records.push_back(
        SceneFiles::box("floor", D3DXVECTOR3(-200, -1, -200), D3DXVECTOR3(200, 0, 200), 0));
    file.records.push_back(
        SceneFiles::box("block", D3DXVECTOR3(-20, 0, -20), D3DXVECTOR3(20, 40, 20), 1));
    QorMesh walls = SceneFiles::box("walls", D3DXVECTOR3(-2500, -2500, -2500),
                                    D3DXVECTOR3(2500, 2500, 2500), 0);
    // Inside out: the faces and their normals turned toward the middle.
    for (size_t i = 0; i < walls.indices.size(); i += 3)
        std::swap(walls.indices[i + 1], walls.indices[i + 2]);
    for (QorVertex& vertex : walls.vertices)
        vertex.normal = -vertex.normal;
    file.records.push_back(walls);
    const char* names[3] = {"Camera01", "Camera02", "Camera03"};
    for (int i = 0; i < 3; ++i)
    {
        const float angle = 2.0f * float(i);
        QorCamera camera =
            SceneFiles::camera(names[i], D3DXVECTOR3(150 * cosf(angle), 90, 150 * sinf(angle)),
                               D3DXVECTOR3(0, 10, 0), 3);
        camera.positions[1].y += 20;  // moving, and back where it started
        file.records.push_back(camera);
    }
    QorLight lamp;
    lamp.name = "lamp";
    lamp.color = D3DXVECTOR3(2.0f, 1.8f, 1.4f);
    lamp.nearRange = 50;
    lamp.farRange = 400;
    lamp.intensities.assign(3, 1.0f);
    lamp.positions.assign(3, D3DXVECTOR3(30, 80, -30));
    file.records.push_back(lamp);
    return file;
}

std::vector<int16_t> beatingTone(double a_seconds)
{
    std::vector<int16_t> samples = Mp3TestData::tone(220.0, a_seconds, 0.2, 2);
    const size_t frames = samples.size() / 2;
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / 44100.0;
        const double hit = fmod(t, 0.25) < 0.02 ? 0.5 * sin(t * 2.0 * 3.14159265 * 4000.0) : 0.0;
        for (size_t channel = 0; channel < 2; ++channel)
            samples[2 * i + channel] = int16_t(samples[2 * i + channel] + int16_t(hit * 20000.0));
    }
    return samples;
}

}  // namespace

void write(double a_seconds)
{
    writeJpeg("null_white.jpg", blockPicture(1, 1, {0xFFFFFF}), JpegKind::Grey);
    writeJpeg("null_grey.jpg", blockPicture(1, 1, {0x808080}), JpegKind::Grey);
    writeJpeg("null_black.jpg", blockPicture(1, 1, {0x000000}), JpegKind::Grey);
    writeJpeg("noise2.jpg", blockPicture(2, 2, {0x102030, 0xF0E0D0, 0x80A040, 0x4080C0}),
              JpegKind::Rgb);
    for (int i = 0; i < g_imageCount; ++i)
        writeJpeg(g_images[i], blockPicture(2, 2, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}),
                  JpegKind::Grey);
    TestPrograms::writeQuadPrograms();
    TestPrograms::writeDeferredPrograms();
    TestPrograms::writeScenePrograms();
    TestPrograms::writeLightPrograms();
    TestPrograms::writeFilterPrograms();
    writeBytes("primitives.qor", SceneFiles::bytes(SceneFiles::primitives()));
    const std::vector<uint8_t> scene = SceneFiles::bytes(room());
    for (const char* name : {"test.qor", "hog.qor", "balls.qor", "blob.qor", "satellite.qor"})
        writeBytes(name, scene);
    writeBytes("KUV-2.mp3", Mp3TestData::encode(beatingTone(a_seconds), 2));
}

}
