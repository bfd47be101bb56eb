// Scene files for tests, built from records with the scene-file writer, so
// no test counts bytes by hand.
#pragma once

#include "scene/format/QorFile.h"
#include "scene/format/QorWriter.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace SceneFiles
{

// The bytes of a_file; the writer must accept it. With a_fields, where each
// field went.
std::vector<uint8_t> bytes(const QorFile& a_file, std::vector<QorField>* a_fields = nullptr);
// The field a_name of record a_record (QorField::kHeader for the header);
// the test fails when there is none.
const QorField& field(const std::vector<QorField>& a_fields, size_t a_record, const char* a_name);

// One key per track: at rest at a_position, unrotated, scale a_scale.
QorAnimation still(const D3DXVECTOR3& a_position = D3DXVECTOR3(0.0f, 0.0f, 0.0f),
                   float a_scale = 1.0f);

// A 24-vertex, 36-index box from a_low to a_high with material a_material.
QorMesh box(const char* a_name, const D3DXVECTOR3& a_low, const D3DXVECTOR3& a_high,
            int32_t a_material = -1);

// A material of one colour; a_selfIllum (-1, -1, -1) for none.
QorMaterial material(const char* a_name, const D3DXVECTOR3& a_diffuse,
                     const D3DXVECTOR3& a_selfIllum = D3DXVECTOR3(-1.0f, -1.0f, -1.0f));

// A camera standing still at a_eye looking at a_target for a_frames frames,
// its exported field of view a_fov (radians at 16:9).
QorCamera camera(const char* a_name, const D3DXVECTOR3& a_eye, const D3DXVECTOR3& a_target,
                 uint32_t a_frames = 1, float a_fov = 1.7777778f);

// The light volume scene the application loads at start: one sphere.
QorFile primitives();

}
