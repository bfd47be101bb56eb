// Our layer's settings for the drawing tests: every case runs with the GL
// state cache on and bypassed, so that a state the cache loses shows as a
// wrong picture.
#include "LayerSetting.h"

#include "D3D9Testing.h"

namespace
{

void cache()
{
    D3D9Testing::bypassGlStateCache(false);
}

void bypass()
{
    D3D9Testing::bypassGlStateCache(true);
}

}  // namespace

std::vector<LayerSetting> layerSettings()
{
    return {{"Cached", cache, cache}, {"Bypassed", bypass, cache}};
}
