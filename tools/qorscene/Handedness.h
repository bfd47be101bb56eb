// Moves points, directions and rotations between an editor's space and the
// demo's. Editors (glTF, and assimp's scenes whatever the source) are
// right-handed with y up; the demo is left-handed with y up, as Direct3D
// is. Mirroring z turns one into the other and shows the same picture
// through each side's camera.
#pragma once

#include <d3dx9.h>

#include <assimp/quaternion.h>
#include <assimp/vector3.h>

class Handedness
{
public:
    // Points and directions (normals and tangents too): z changes sign.
    static D3DXVECTOR3 toDemo(const aiVector3D& a_editor);
    static aiVector3D toEditor(const D3DXVECTOR3& a_demo);

    // A mesh's rotation key as the file stores it, from the node's rotation
    // in the editor, and back. The mirror turns rotation (x, y, z, w) into
    // (-x, -y, z, w): an axis is a pseudo-vector. The mesh then negates w of
    // the key before building its matrix, which rotates by the inverse, so
    // the file keeps the inverse of the mirrored rotation: (x, y, -z, w).
    static D3DXQUATERNION toStoredRotation(const aiQuaternion& a_editor);
    static aiQuaternion fromStoredRotation(const D3DXQUATERNION& a_stored);

    // Triangles keep their corners in the other order: the picture is the
    // same, and the editors' front is counter-clockwise on screen where
    // Direct3D's is clockwise.
    template <typename Index>
    static void flipWinding(Index& a_second, Index& a_third)
    {
        const Index second = a_second;
        a_second = a_third;
        a_third = second;
    }
};
