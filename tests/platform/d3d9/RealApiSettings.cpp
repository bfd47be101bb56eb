// The real Direct3D 9 has no switches of ours: the drawing tests run once.
#include "LayerSetting.h"

std::vector<LayerSetting> layerSettings()
{
    return {{"Direct3D9", nullptr, nullptr}};
}
