// The light volume: fine enough that its flat facets stay outside the round
// fall-off they bound (the inscribed radius of a facet is within 0.5 % of
// the sphere's), coarse enough to cost nothing to draw.
#include "Primitives.h"

#include "scene/format/MeshBuilder.h"

QorFile primitivesScene()
{
    QorMesh volume;
    volume.name = "lightVolume";
    MeshBuilder builder;
    builder.sphere(0.5f, 32, 16);
    builder.finish(volume);
    volume.animation.translation = {D3DXVECTOR3(0.0f, 0.0f, 0.0f)};
    volume.animation.rotation = {D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f)};
    volume.animation.scale = {D3DXVECTOR3(1.0f, 1.0f, 1.0f)};

    QorFile file;
    file.records.push_back(std::move(volume));
    return file;
}
