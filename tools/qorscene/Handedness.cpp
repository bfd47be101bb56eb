// The mirror between the editors' right-handed space and the demo's
// left-handed one.
#include "Handedness.h"

D3DXVECTOR3 Handedness::toDemo(const aiVector3D& a_editor)
{
    return D3DXVECTOR3(a_editor.x, a_editor.y, -a_editor.z);
}

aiVector3D Handedness::toEditor(const D3DXVECTOR3& a_demo)
{
    return aiVector3D(a_demo.x, a_demo.y, -a_demo.z);
}

D3DXQUATERNION Handedness::toStoredRotation(const aiQuaternion& a_editor)
{
    return D3DXQUATERNION(a_editor.x, a_editor.y, -a_editor.z, a_editor.w);
}

aiQuaternion Handedness::fromStoredRotation(const D3DXQUATERNION& a_stored)
{
    return aiQuaternion(a_stored.w, a_stored.x, a_stored.y, -a_stored.z);
}
