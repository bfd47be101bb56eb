// Renders one shot of a shipped scene exactly as the demo's frame procedure
// does up to the fog (its frame's steps 2 to 8): the application initialised
// on the content folder, the scene loaded through the demo's loader, the
// camera and scene times set, then the geometry pass, the ambient light,
// the scene's omni lights, self-illumination, combine and fog of the
// deferred pipeline, read back as 8-bit RGB at 1280 x 720.
#pragma once

#include "app/Tarvo.h"
#include "core/LauncherSettings.h"

#include <windows.h>

#include <stdint.h>

#include <string>
#include <vector>

class RenderTarget;

// What a part feeds into the frame, with the flashes and the
// noise at rest (B = 1, n = 0).
struct PartLook
{
    float ambient[4];
    float contrast, saturation, brightness;
    float fog[4];
    float fogNear, fogFar;
    float firstLight;  // the first light's intensity, or < 0 to leave it
    float fovScale;    // the camera's m_fovScale
};

struct Shot
{
    std::string scene;  // "hog.qor"
    uint32_t camera;    // index in the scene's cameras
    float cameraTime;   // frames
    float sceneTime;    // frames
    PartLook look;
};

// The look of the part that plays a_scene.
PartLook partLook(const std::string& a_scene);
// A shot in the look of a_scene's part, at a field-of-view scale of
// a_fovScale (0: the part's own).
Shot makeShot(const char* a_scene, uint32_t a_camera, float a_cameraTime, float a_sceneTime,
              float a_fovScale = 0.0f);
// The contact sheet's shots, four per scene, in rows.
std::vector<Shot> contactSheetShots();

class ShotRenderer
{
public:
    static constexpr int32_t kWidth = kFrameWidth;
    static constexpr int32_t kHeight = kFrameHeight;

    ShotRenderer() = default;
    ~ShotRenderer();
    ShotRenderer(const ShotRenderer&) = delete;
    ShotRenderer& operator=(const ShotRenderer&) = delete;

    // The application on the files of a_folder (the archive "tarvo.fs" in
    // it when there is one, else its loose files). False after a message.
    bool init(const std::string& a_folder);
    // kWidth x kHeight x 3 bytes, top row first; empty after a message.
    std::vector<uint8_t> render(const Shot& a_shot);
    // The scene a_name, loaded once.
    Scene* scene(const std::string& a_name);

    Tarvo m_tarvo;

private:
    HWND m_window = nullptr;
    RenderTarget* m_output = nullptr;
};
